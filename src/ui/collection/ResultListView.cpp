#include "ui/collection/ResultListView.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "ui/collection/ResultListModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

namespace Orbisong {

ResultListView::ResultListView(ResultListModel *model, QuestionPort *questions, QWidget *parent)
    : QTreeView(parent), m_model(model), m_questions(questions), m_menu(new QMenu(this))
{
    setModel(model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    header()->setStretchLastSection(true);
    header()->setDefaultSectionSize(160);
    setContextMenuPolicy(Qt::CustomContextMenu);
    m_menu->addAction(tr("Information"), this, [this] { showInformation(currentIndex().row()); });
    m_menu->addAction(tr("P&roperties"), this, [this] { requestProperties(currentIndex().row()); });
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (indexAt(pos).isValid())
            m_menu->popup(viewport()->mapToGlobal(pos));
    });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { requestProperties(index.row()); });
}

void ResultListView::showInformation(int row)
{
    const ResultRow *item = m_model->rowAt(row);
    if (!item)
        return;
    QString text = tr("Album: ") + item->title + QLatin1Char('\n') + tr("Artist: ") + item->artist;
    if (item->track > 0)
        text += QLatin1Char('\n') + tr("Track Number: ") + QString::number(item->track);
    askOrDefault(m_questions, Msg::Notice, tr("Information"), text);
}

void ResultListView::requestProperties(int row)
{
    if (const ResultRow *item = m_model->rowAt(row))
        emit propertiesRequested(item->albumId);
}

void ResultListView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        requestProperties(currentIndex().row());
        return;
    }
    QTreeView::keyPressEvent(event);
}

} // namespace Orbisong
