#include "ui/collection/ResultListModel.h"

namespace Orbisong {

ResultListModel::ResultListModel(const QStringList &headers, QObject *parent)
    : QAbstractTableModel(parent), m_headers(headers)
{
}

void ResultListModel::setRows(const QList<ResultRow> &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

const ResultRow *ResultListModel::rowAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? &m_rows.at(row) : nullptr;
}

void ResultListModel::removeAlbum(const AlbumIndexNode *album)
{
    for (int row = int(m_rows.size()) - 1; row >= 0; --row) {
        if (m_rows.at(row).album != album)
            continue;
        beginRemoveRows({}, row, row);
        m_rows.removeAt(row);
        endRemoveRows();
    }
}

int ResultListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ResultListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant ResultListModel::data(const QModelIndex &index, int role) const
{
    const ResultRow *row = rowAt(index.row());
    if (!row || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return row->cells.value(index.column());
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return m_headers.value(section);
}

} // namespace Orbisong
