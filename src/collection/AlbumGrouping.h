#pragma once

#include "collection/AlbumIndexNode.h"

#include <QList>
#include <QString>

namespace Orbisong {

class Collection;

// The field the collection window groups its albums by ("member" type).
enum class GroupField { Artist = 0, Binder = 1, Category = 2, Owner = 3, Year = 4 };

// One distinct value of the grouping field: one member button of the window.
struct GroupMember
{
    QString key;  // the value's SortKey; members are told apart by it without regard to case
    QString text; // the field's text of the first album found with it, "(None)" when empty
    int albumCount = 0;
};

// Audio CDs only: CD-ROM entries are never browsed.
bool isAudioAlbum(const AlbumIndexNode &album);
// The audio albums of the index, in index order.
QList<const AlbumIndexNode *> audioAlbums(const Collection &collection);

// The field's raw text.
QString groupValue(const AlbumIndexNode &album, GroupField field);
// The SortKey of the field's text: the artist's with the album's flags, the others' with none.
QString groupKey(const AlbumIndexNode &album, GroupField field);
// One member per distinct key, ordered by key without regard to case.
QList<GroupMember> groupMembers(const QList<const AlbumIndexNode *> &albums, GroupField field);
// The albums whose key equals the member's without regard to case, in the given order.
QList<const AlbumIndexNode *> albumsOfMember(const QList<const AlbumIndexNode *> &albums,
                                             GroupField field, const GroupMember &member);

// The member for a value the user typed ("&New"): trimmed, "(None)" when empty, no albums yet.
GroupMember newGroupMember(const QString &typed);
// The value that puts an album under the member: its text, empty for "(None)".
QString memberValue(const GroupMember &member);

QString groupTypeWord(GroupField field); // "Artist", "Binder", "Category", "Owner", "Year"
QString groupCaption(GroupField field);  // "Artists", "Binders", "Categories", "Owners", "Years"

// Sets that field of a stored album through the collection's single-field setter; returns
// whether the stored album changed.
bool setGroupValue(Collection &collection, const QString &albumId, GroupField field,
                   const QString &value);

} // namespace Orbisong
