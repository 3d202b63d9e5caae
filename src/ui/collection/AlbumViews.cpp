#include "ui/collection/AlbumViews.h"

#include "ui/collection/AlbumListModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QTableView>

#include <algorithm>

namespace Orbisong {

namespace {

constexpr int DesignWidths[AlbumListModel::ColumnCount] = {170, 140, 90, 50, 80};

} // namespace

AlbumViews::AlbumViews(AlbumListModel *model, QWidget *parent)
    : QStackedWidget(parent), m_model(model), m_table(new QTableView), m_list(new QListView)
{
    m_table->setObjectName(QStringLiteral("AlbumTable"));
    m_list->setObjectName(QStringLiteral("AlbumList"));
    m_table->setModel(model);
    m_list->setModel(model);
    m_selection = m_table->selectionModel();
    m_list->setSelectionModel(m_selection);

    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    m_table->setSortingEnabled(false);
    // Fixed row heights: the table never measures 100,000 rows.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionsClickable(true);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (int column = 0; column < AlbumListModel::ColumnCount; ++column)
        m_table->setColumnWidth(column, DesignWidths[column]);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &AlbumViews::headerClicked);

    m_list->setUniformItemSizes(true);
    m_list->setLayoutMode(QListView::Batched);
    m_list->setBatchSize(500);
    m_list->setResizeMode(QListView::Adjust);

    prepare(m_table);
    prepare(m_list);
    addWidget(m_table);
    addWidget(m_list);
    setStyle(Details);
}

void AlbumViews::prepare(QAbstractItemView *view)
{
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setDragEnabled(true);
    view->setDragDropMode(QAbstractItemView::DragOnly);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->installEventFilter(this);
    connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (const AlbumIndexNode *album = m_model->albumAt(index.row()))
            emit albumActivated(album);
    });
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint &pos) {
        emit menuRequested(view->viewport()->mapToGlobal(pos));
    });
}

void AlbumViews::setStyle(int style)
{
    m_style = style >= Details && style <= SmallIcons ? Style(style) : Details;
    switch (m_style) {
    case Details:
        setCurrentWidget(m_table);
        return;
    case List:
        m_list->setViewMode(QListView::ListMode);
        m_list->setFlow(QListView::TopToBottom);
        m_list->setWrapping(true);
        m_list->setIconSize(QSize(16, 16));
        m_list->setGridSize({});
        break;
    case LargeIcons:
        m_list->setViewMode(QListView::IconMode);
        m_list->setIconSize(QSize(32, 32));
        m_list->setGridSize(QSize(96, 72));
        m_list->setMovement(QListView::Static);
        break;
    case SmallIcons:
        m_list->setViewMode(QListView::IconMode);
        m_list->setFlow(QListView::LeftToRight);
        m_list->setIconSize(QSize(16, 16));
        m_list->setGridSize(QSize(160, 22));
        m_list->setMovement(QListView::Static);
        break;
    }
    setCurrentWidget(m_list);
}

QAbstractItemView *AlbumViews::currentView() const
{
    return m_style == Details ? static_cast<QAbstractItemView *>(m_table) : m_list;
}

QList<const AlbumIndexNode *> AlbumViews::selectedAlbums() const
{
    // Ranges, not indexes: the list view selects column 0 only, the table whole rows, and
    // a selection of every row stays one range.
    QList<int> rows;
    const QItemSelection selection = m_selection->selection();
    for (const QItemSelectionRange &range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QList<const AlbumIndexNode *> albums;
    albums.reserve(rows.size());
    for (int row : std::as_const(rows)) {
        if (const AlbumIndexNode *album = m_model->albumAt(row))
            albums.append(album);
    }
    return albums;
}

int AlbumViews::columnWidth(int column) const
{
    return m_table->columnWidth(column);
}

void AlbumViews::setColumnWidth(int column, int width)
{
    if (column >= 0 && column < AlbumListModel::ColumnCount)
        m_table->setColumnWidth(column, width >= 0 ? width : DesignWidths[column]);
}

bool AlbumViews::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QStackedWidget::eventFilter(watched, event);
    auto *view = qobject_cast<QAbstractItemView *>(watched);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key == Qt::Key_Delete) {
        emit deletePressed();
        return true;
    }
    if (view && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        if (const AlbumIndexNode *album = m_model->albumAt(view->currentIndex().row()))
            emit albumActivated(album);
        return true;
    }
    return QStackedWidget::eventFilter(watched, event);
}

} // namespace Orbisong
