#pragma once

#include "collection/AlbumGrouping.h"

#include <QAbstractListModel>

namespace Orbisong {

// The member buttons: one row per distinct value of the grouping field, ordered by key.
class MemberListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit MemberListModel(QObject *parent = nullptr);

    void setMembers(const QList<GroupMember> &members);
    const QList<GroupMember> &members() const { return m_members; }
    const GroupMember *memberAt(int row) const;
    int rowOfKey(const QString &key) const;
    // Adds a member in key order (a value no album has yet); returns its row.
    int addMember(const GroupMember &member);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QList<GroupMember> m_members;
};

} // namespace Orbisong
