#pragma once

#include <QAbstractTableModel>
#include <QSet>
#include <QStringList>

namespace Orbisong {

struct AlbumIndexNode;

// One row of a search result or a ranking: the texts shown, and the album and track it
// names.
struct ResultRow
{
    QStringList cells;
    const AlbumIndexNode *album = nullptr;
    QString albumId;
    QString artist;
    QString title; // the album title
    int track = 0; // 0 for albums
};

// The rows of a search result or a ranking under a header of column captions.
class ResultListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ResultListModel(const QStringList &headers, QObject *parent = nullptr);

    void setRows(const QList<ResultRow> &rows);
    const ResultRow *rowAt(int row) const;
    // Drops the rows of albums that leave the index.
    void removeAlbums(const QSet<const AlbumIndexNode *> &albums);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headers;
    QList<ResultRow> m_rows;
};

} // namespace Orbisong
