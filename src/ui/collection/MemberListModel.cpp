#include "ui/collection/MemberListModel.h"

#include "ui/collection/AlbumListModel.h"

#include <algorithm>

namespace Orbisong {

MemberListModel::MemberListModel(QObject *parent) : QAbstractListModel(parent)
{
}

void MemberListModel::setMembers(const QList<GroupMember> &members)
{
    beginResetModel();
    m_members = members;
    endResetModel();
}

const GroupMember *MemberListModel::memberAt(int row) const
{
    return row >= 0 && row < m_members.size() ? &m_members.at(row) : nullptr;
}

int MemberListModel::rowOfKey(const QString &key) const
{
    for (int row = 0; row < m_members.size(); ++row) {
        if (m_members.at(row).key.compare(key, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

int MemberListModel::addMember(const GroupMember &member)
{
    const int existing = rowOfKey(member.key);
    if (existing >= 0)
        return existing;
    const auto at = std::lower_bound(m_members.cbegin(), m_members.cend(), member.key,
                                     [](const GroupMember &m, const QString &key) {
                                         return m.key.compare(key, Qt::CaseInsensitive) < 0;
                                     });
    const int row = int(at - m_members.cbegin());
    beginInsertRows({}, row, row);
    m_members.insert(row, member);
    endInsertRows();
    return row;
}

int MemberListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_members.size());
}

QVariant MemberListModel::data(const QModelIndex &index, int role) const
{
    const GroupMember *member = memberAt(index.row());
    if (!member)
        return {};
    if (role == Qt::DisplayRole)
        return member->text;
    if (role == Qt::ToolTipRole)
        return QStringLiteral("%1: %2").arg(member->text,
                                            AlbumListModel::countText(member->albumCount));
    return {};
}

Qt::ItemFlags MemberListModel::flags(const QModelIndex &index) const
{
    return QAbstractListModel::flags(index) | Qt::ItemIsDropEnabled;
}

} // namespace Orbisong
