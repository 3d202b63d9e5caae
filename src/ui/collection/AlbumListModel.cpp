#include "ui/collection/AlbumListModel.h"

#include "collection/AlbumIndexNode.h"

#include <QMimeData>
#include <QSet>

namespace Orbisong {

QString AlbumListModel::mimeType()
{
    return QStringLiteral("application/x-orbisong-album-ids");
}

QString AlbumListModel::countText(int count)
{
    if (count == 0)
        return tr("No albums");
    if (count == 1)
        return tr("1 album");
    return QString::number(count) + tr(" albums");
}

AlbumListModel::AlbumListModel(QObject *parent)
    : QAbstractTableModel(parent), m_icon(QStringLiteral(":/icons/collection.svg"))
{
}

void AlbumListModel::setAlbums(const QList<const AlbumIndexNode *> &albums)
{
    beginResetModel();
    m_albums = albums;
    endResetModel();
}

const AlbumIndexNode *AlbumListModel::albumAt(int row) const
{
    return row >= 0 && row < m_albums.size() ? m_albums.at(row) : nullptr;
}

int AlbumListModel::rowOf(const AlbumIndexNode *album) const
{
    return int(m_albums.indexOf(album));
}

void AlbumListModel::insertAlbum(int row, const AlbumIndexNode *album)
{
    row = qBound(0, row, int(m_albums.size()));
    beginInsertRows({}, row, row);
    m_albums.insert(row, album);
    endInsertRows();
}

void AlbumListModel::removeAlbum(const AlbumIndexNode *album)
{
    const int row = rowOf(album);
    if (row < 0)
        return;
    beginRemoveRows({}, row, row);
    m_albums.removeAt(row);
    endRemoveRows();
}

void AlbumListModel::refreshAlbum(const AlbumIndexNode *album)
{
    const int row = rowOf(album);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int AlbumListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_albums.size());
}

int AlbumListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AlbumListModel::data(const QModelIndex &index, int role) const
{
    const AlbumIndexNode *album = albumAt(index.row());
    if (!album)
        return {};
    if (role == Qt::DecorationRole && index.column() == Title)
        return m_icon;
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case Title:
        return album->title;
    case Artist:
        return album->artist;
    case Category:
        return album->category;
    case Year:
        return album->year;
    case Owner:
        return album->owner;
    default:
        return {};
    }
}

QVariant AlbumListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const captions[] = {"Title", "Artist", "Category", "Year", "Owner"};
    return section >= 0 && section < ColumnCount ? tr(captions[section]) : QVariant();
}

Qt::ItemFlags AlbumListModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    return index.isValid() ? base | Qt::ItemIsDragEnabled : base;
}

QStringList AlbumListModel::mimeTypes() const
{
    return {mimeType()};
}

QMimeData *AlbumListModel::mimeData(const QModelIndexList &indexes) const
{
    QSet<int> rows;
    QStringList ids;
    for (const QModelIndex &index : indexes) {
        if (const AlbumIndexNode *album = albumAt(index.row());
            album && !rows.contains(index.row())) {
            rows.insert(index.row());
            ids.append(album->id);
        }
    }
    auto *data = new QMimeData;
    data->setData(mimeType(), ids.join(QLatin1Char('\n')).toUtf8());
    return data;
}

Qt::DropActions AlbumListModel::supportedDragActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

} // namespace Orbisong
