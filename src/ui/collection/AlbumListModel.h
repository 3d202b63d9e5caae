#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <QSet>

namespace Orbisong {

struct AlbumIndexNode;

// Index entries that have left the index: compared, never read.
using AlbumSet = QSet<const AlbumIndexNode *>;

// The albums of one member as rows of "Title", "Artist", "Category", "Year", "Owner". It
// holds index entries, never copies, so a list of 100,000 albums costs one pointer a row.
class AlbumListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Title, Artist, Category, Year, Owner, ColumnCount };
    // The MIME type of dragged albums: their IDs, one a line.
    static QString mimeType();
    // "No albums", "1 album", "N albums".
    static QString countText(int count);

    explicit AlbumListModel(QObject *parent = nullptr);

    void setAlbums(const QList<const AlbumIndexNode *> &albums);
    const QList<const AlbumIndexNode *> &albums() const { return m_albums; }
    const AlbumIndexNode *albumAt(int row) const;
    int rowOf(const AlbumIndexNode *album) const;
    void insertAlbum(int row, const AlbumIndexNode *album);
    void removeAlbum(const AlbumIndexNode *album);
    // The entry's texts changed in place.
    void refreshAlbum(const AlbumIndexNode *album);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override;

private:
    QList<const AlbumIndexNode *> m_albums;
    QIcon m_icon;
};

} // namespace Orbisong
