#include "ui/collection/TCollectionForm.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "collection/Collection.h"
#include "collection/Settings.h"
#include "ui/collection/AlbumListModel.h"
#include "ui/collection/AlbumViews.h"
#include "ui/collection/CollectionSearchPage.h"
#include "ui/collection/CollectionStatisticsPage.h"
#include "ui/player/TCursorStack.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

namespace Orbisong {

namespace {

QString chooseCollectionFile(QWidget *parent, const QString &current)
{
    return QFileDialog::getOpenFileName(parent, QObject::tr("Open Orbisong Collection"),
                                        QFileInfo(current).absolutePath(),
                                        QObject::tr("Orbisong Collections (*.obc);;All Files (*)"));
}

} // namespace

TCollectionForm::TCollectionForm(Collection &collection, QuestionPort *questions,
                                 TCursorStack *cursors, QWidget *parent)
    : QWidget(parent, Qt::Window), m_collection(collection), m_questions(questions),
      m_ownCursors(cursors ? nullptr : std::make_unique<TCursorStack>()),
      m_cursors(cursors ? cursors : m_ownCursors.get()), m_pages(new QTabWidget),
      m_general(new CollectionGeneralPage(collection, questions)),
      m_search(new CollectionSearchPage(collection, questions, *m_cursors)),
      m_statistics(new CollectionStatisticsPage(collection, questions, *m_cursors)),
      m_close(new QPushButton(tr("Close"))), m_export(new QPushButton(tr("&Export"))),
      m_print(new QPushButton(tr("&Print"))), m_import(new QPushButton(tr("&Import")))
{
    setObjectName(QStringLiteral("TCollectionForm"));
    setWindowTitle(tr("Collection"));
    m_pages->setObjectName(QStringLiteral("CollectionPages"));
    m_pages->addTab(m_general, tr("General"));
    m_pages->addTab(m_search, tr("Search"));
    m_pages->addTab(m_statistics, tr("Statistics"));
    m_close->setObjectName(QStringLiteral("CloseButton"));
    m_export->setObjectName(QStringLiteral("ExportButton"));
    m_print->setObjectName(QStringLiteral("PrintButton"));
    m_import->setObjectName(QStringLiteral("ImportButton"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_import);
    buttons->addWidget(m_export);
    buttons->addWidget(m_print);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);
    resize(760, 500);

    m_chooser = [this](QWidget *parent) {
        return chooseCollectionFile(parent, m_collection.path());
    };
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_export, &QPushButton::clicked, this, &TCollectionForm::exportRequested);
    connect(m_print, &QPushButton::clicked, this, &TCollectionForm::printRequested);
    connect(m_import, &QPushButton::clicked, this, &TCollectionForm::importCollection);
    connect(m_general, &CollectionGeneralPage::propertiesRequested, this,
            &TCollectionForm::propertiesRequested);
    // The entries deleted meanwhile are freed: their rows go at the end, compared by address
    // only.
    connect(m_general, &CollectionGeneralPage::deletionStarted, this,
            [this] { m_deleting = true; });
    connect(m_general, &CollectionGeneralPage::deletionFinished, this, [this] {
        m_deleting = false;
        const AlbumSet removed = std::exchange(m_removed, {});
        albumsRemoved(removed);
    });
    connect(m_search, &CollectionSearchPage::propertiesRequested, this,
            &TCollectionForm::propertiesRequested);
    connect(m_statistics, &CollectionStatisticsPage::propertiesRequested, this,
            &TCollectionForm::propertiesRequested);
    restoreState();
}

TCollectionForm::~TCollectionForm()
{
    detach();
}

void TCollectionForm::setValueAsker(CollectionGeneralPage::ValueAsker asker)
{
    m_general->setValueAsker(std::move(asker));
}

void TCollectionForm::showEvent(QShowEvent *event)
{
    attach();
    QWidget::showEvent(event);
}

void TCollectionForm::closeEvent(QCloseEvent *event)
{
    storeState();
    detach();
    QWidget::closeEvent(event);
}

void TCollectionForm::attach()
{
    if (m_attached)
        return;
    m_attached = true;
    m_collection.addSink(this);
    m_general->refill();
}

void TCollectionForm::detach()
{
    if (!m_attached)
        return;
    m_attached = false;
    m_collection.removeSink(this);
    m_general->clear();
    m_search->clear();
    m_statistics->clear();
}

void TCollectionForm::restoreState()
{
    const CollectionProperties &state = m_collection.settings().collectionProperties;
    AlbumViews *views = m_general->views();
    for (int column = 0; column < AlbumListModel::ColumnCount; ++column)
        views->setColumnWidth(column, state.columnWidths[std::size_t(column)]);
    views->setStyle(state.listView);
    if (state.splitterPosition >= 2) {
        QSplitter *splitter = m_general->splitter();
        const int left = state.splitterPosition - 2;
        splitter->setSizes({left, qMax(1, width() - left)});
    }
    m_general->setSortOrder(state.sortOrder);
    const int grouping = state.grouping >= 0 && state.grouping <= 4 ? state.grouping : 0;
    m_general->setGrouping(GroupField(grouping));
    m_search->setSearchType(state.searchType);
}

void TCollectionForm::storeState()
{
    CollectionProperties &state = m_collection.settings().collectionProperties;
    const AlbumViews *views = m_general->views();
    for (int column = 0; column < AlbumListModel::ColumnCount; ++column)
        state.columnWidths[std::size_t(column)] = views->columnWidth(column);
    state.listView = views->style();
    state.splitterPosition = m_general->splitter()->sizes().value(0) + 2;
    state.sortOrder = m_general->sortOrder();
    state.grouping = int(m_general->grouping());
    state.searchType = m_search->searchType();
}

void TCollectionForm::importCollection()
{
    const QString path = m_chooser ? m_chooser(this) : QString();
    if (!path.isEmpty())
        importFile(path);
}

void TCollectionForm::importFile(const QString &path)
{
    const QFileInfo chosen(path);
    const QFileInfo current(m_collection.path());
    const QString chosenPath =
        chosen.exists() ? chosen.canonicalFilePath() : chosen.absoluteFilePath();
    const QString currentPath =
        current.exists() ? current.canonicalFilePath() : current.absoluteFilePath();
    if (chosenPath.compare(currentPath, Qt::CaseInsensitive) == 0) {
        askOrDefault(m_questions, Msg::CannotImportCurrentCollection);
        return;
    }
    const BusyCursor busy(*m_cursors);
    // The import replaces albums wholesale: the pages let go of every entry first and take a
    // new snapshot afterwards, instead of following each replaced album.
    m_general->clear();
    m_search->clear();
    m_statistics->clear();
    m_importing = true;
    m_collection.ImportCollection(path);
    m_importing = false;
    m_general->refill();
}

void TCollectionForm::albumsRemoved(const AlbumSet &albums)
{
    m_general->albumsRemoved(albums);
    m_search->albumsRemoved(albums);
    m_statistics->albumsRemoved(albums);
}

void TCollectionForm::albumIndexChanged(const AlbumIndexNode &node, int code, const QVariant &value)
{
    Q_UNUSED(value)
    if (m_importing)
        return;
    switch (code) {
    case ChangeAlbumAdded:
        m_general->albumAdded(node);
        break;
    case ChangeAlbumDeleted:
        if (m_deleting)
            m_removed.insert(&node);
        else
            albumsRemoved({&node});
        break;
    case ChangePlayCount:
        m_statistics->playCountsChanged();
        break;
    default:
        m_general->albumChanged(node, code);
        break;
    }
}

} // namespace Orbisong
