#include "collection/AlbumGrouping.h"

#include "collection/AlbumText.h"
#include "collection/Collection.h"
#include "collection/MediaKind.h"

#include <QHash>

#include <algorithm>

namespace Orbisong {

bool isAudioAlbum(const AlbumIndexNode &album)
{
    return (album.mediaKind & MediaKindAudioCd) == MediaKindAudioCd;
}

QList<const AlbumIndexNode *> audioAlbums(const Collection &collection)
{
    QList<const AlbumIndexNode *> audio = collection.albums();
    audio.removeIf([](const AlbumIndexNode *album) { return !isAudioAlbum(*album); });
    return audio;
}

QString groupValue(const AlbumIndexNode &album, GroupField field)
{
    switch (field) {
    case GroupField::Artist:
        return album.artist;
    case GroupField::Binder:
        return album.binder;
    case GroupField::Category:
        return album.category;
    case GroupField::Owner:
        return album.owner;
    case GroupField::Year:
        return album.year;
    }
    return {};
}

QString groupKey(const AlbumIndexNode &album, GroupField field)
{
    return SortKey(groupValue(album, field), field == GroupField::Artist ? album.flags : 0);
}

QList<GroupMember> groupMembers(const QList<const AlbumIndexNode *> &albums, GroupField field)
{
    struct Folded
    {
        QString key; // case-folded, so that plain comparison ignores case
        GroupMember member;
    };
    std::vector<Folded> members;
    QHash<QString, std::size_t> byKey;
    for (const AlbumIndexNode *album : albums) {
        const QString key = groupKey(*album, field);
        const QString folded = key.toCaseFolded();
        const auto found = byKey.constFind(folded);
        if (found != byKey.constEnd()) {
            ++members[*found].member.albumCount;
            continue;
        }
        const QString value = groupValue(*album, field);
        byKey.insert(folded, members.size());
        members.push_back({folded, {key, value.isEmpty() ? QStringLiteral("(None)") : value, 1}});
    }
    std::sort(members.begin(), members.end(),
              [](const Folded &a, const Folded &b) { return a.key < b.key; });
    QList<GroupMember> result;
    result.reserve(qsizetype(members.size()));
    for (Folded &folded : members)
        result.append(std::move(folded.member));
    return result;
}

QList<const AlbumIndexNode *> albumsOfMember(const QList<const AlbumIndexNode *> &albums,
                                             GroupField field, const GroupMember &member)
{
    QList<const AlbumIndexNode *> result;
    for (const AlbumIndexNode *album : albums) {
        if (groupKey(*album, field).compare(member.key, Qt::CaseInsensitive) == 0)
            result.append(album);
    }
    return result;
}

GroupMember newGroupMember(const QString &typed)
{
    const QString value = typed.trimmed();
    if (value.isEmpty())
        return {QString(), QStringLiteral("(None)"), 0};
    return {SortKey(value, 0), value, 0};
}

QString memberValue(const GroupMember &member)
{
    return member.key.isEmpty() ? QString() : member.text;
}

QString groupTypeWord(GroupField field)
{
    switch (field) {
    case GroupField::Artist:
        return QStringLiteral("Artist");
    case GroupField::Binder:
        return QStringLiteral("Binder");
    case GroupField::Category:
        return QStringLiteral("Category");
    case GroupField::Owner:
        return QStringLiteral("Owner");
    case GroupField::Year:
        return QStringLiteral("Year");
    }
    return {};
}

QString groupCaption(GroupField field)
{
    return field == GroupField::Category ? QStringLiteral("Categories")
                                         : groupTypeWord(field) + QLatin1Char('s');
}

bool setGroupValue(Collection &collection, const QString &albumId, GroupField field,
                   const QString &value)
{
    switch (field) {
    case GroupField::Artist:
        return collection.SetAlbumArtist(albumId, value);
    case GroupField::Binder:
        return collection.SetAlbumBinder(albumId, value);
    case GroupField::Category:
        return collection.SetAlbumCategory(albumId, value);
    case GroupField::Owner:
        return collection.SetAlbumOwner(albumId, value);
    case GroupField::Year:
        return collection.SetAlbumYear(albumId, value);
    }
    return false;
}

} // namespace Orbisong
