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

void ResultListModel::removeAlbums(const QSet<const AlbumIndexNode *> &albums)
{
    // An album's rows follow each other: one run per album. Many runs are dropped in one
    // reset, since each removal makes the view lay out all its rows again.
    QList<QPair<int, int>> runs;
    for (int row = 0; row < m_rows.size(); ++row) {
        if (!albums.contains(m_rows.at(row).album))
            continue;
        if (!runs.isEmpty() && runs.last().second == row - 1)
            runs.last().second = row;
        else
            runs.append({row, row});
    }
    if (runs.isEmpty())
        return;
    if (runs.size() > 4) {
        beginResetModel();
        m_rows.removeIf([&albums](const ResultRow &row) { return albums.contains(row.album); });
        endResetModel();
        return;
    }
    for (auto run = runs.crbegin(); run != runs.crend(); ++run) {
        beginRemoveRows({}, run->first, run->second);
        m_rows.remove(run->first, run->second - run->first + 1);
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
