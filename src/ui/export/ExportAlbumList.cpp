#include "ui/export/ExportAlbumList.h"

#include "collection/Collection.h"
#include "ui/collection/AlbumListModel.h"

#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace Orbisong {

ExportAlbumList::ExportAlbumList(const Collection &collection, QWidget *parent)
    : QListWidget(parent), m_collection(collection)
{
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void ExportAlbumList::addAlbums(const QStringList &ids)
{
    for (const QString &id : ids) {
        const AlbumIndexNode *album = m_collection.FindAlbum(id.trimmed());
        if (!album)
            continue;
        auto *item = new QListWidgetItem(album->artist + QStringLiteral(" - ") + album->title);
        item->setData(Qt::UserRole, album->id);
        addItem(item);
    }
}

QStringList ExportAlbumList::albumIds() const
{
    QStringList ids;
    for (int row = 0; row < count(); ++row)
        ids.append(item(row)->data(Qt::UserRole).toString());
    return ids;
}

void ExportAlbumList::setAlbumIds(const QStringList &ids)
{
    clear();
    addAlbums(ids);
}

void ExportAlbumList::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(AlbumListModel::mimeType()))
        event->acceptProposedAction();
}

void ExportAlbumList::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasFormat(AlbumListModel::mimeType()))
        event->acceptProposedAction();
}

void ExportAlbumList::dropEvent(QDropEvent *event)
{
    const QByteArray ids = event->mimeData()->data(AlbumListModel::mimeType());
    addAlbums(QString::fromUtf8(ids).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    event->acceptProposedAction();
}

void ExportAlbumList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Delete) {
        QListWidget::keyPressEvent(event);
        return;
    }
    const QList<QListWidgetItem *> chosen = selectedItems();
    for (QListWidgetItem *item : chosen)
        delete item;
}

} // namespace Orbisong
