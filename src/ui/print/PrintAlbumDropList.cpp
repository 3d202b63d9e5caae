#include "ui/print/PrintAlbumDropList.h"

#include "ui/collection/AlbumListModel.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace Orbisong {

PrintAlbumDropList::PrintAlbumDropList(QWidget *parent) : QListWidget(parent)
{
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void PrintAlbumDropList::addAlbums(const QStringList &ids, const QStringList &texts)
{
    const QStringList present = albumIds();
    for (qsizetype i = 0; i < ids.size(); ++i) {
        if (present.contains(ids.at(i), Qt::CaseInsensitive))
            continue;
        auto *item = new QListWidgetItem(texts.value(i, ids.at(i)), this);
        item->setData(Qt::UserRole, ids.at(i));
    }
}

QStringList PrintAlbumDropList::albumIds() const
{
    QStringList ids;
    for (int row = 0; row < count(); ++row)
        ids.append(item(row)->data(Qt::UserRole).toString());
    return ids;
}

void PrintAlbumDropList::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(AlbumListModel::mimeType()))
        event->acceptProposedAction();
}

void PrintAlbumDropList::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasFormat(AlbumListModel::mimeType()))
        event->acceptProposedAction();
}

void PrintAlbumDropList::dropEvent(QDropEvent *event)
{
    const QByteArray data = event->mimeData()->data(AlbumListModel::mimeType());
    const QStringList ids = QString::fromUtf8(data).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (ids.isEmpty())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit albumsDropped(ids);
}

void PrintAlbumDropList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Delete) {
        QListWidget::keyPressEvent(event);
        return;
    }
    qDeleteAll(selectedItems());
}

} // namespace Orbisong
