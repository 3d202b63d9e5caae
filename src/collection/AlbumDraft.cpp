#include "collection/AlbumDraft.h"

#include "collection/AlbumRecord.h"
#include "collection/Collection.h"
#include "collection/CollectionSections.h"
#include "collection/CollectionSink.h"
#include "collection/CurrentAlbum.h"
#include "collection/MultilineCodec.h"
#include "collection/TCfgFile.h"

#include <QLocale>

#include <algorithm>

namespace Orbisong {

namespace {

QString withoutCarriageReturns(const QString &text)
{
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    return plain.trimmed();
}

QString webLinkItems(const WebLinkList &links)
{
    QStringList items;
    for (const WebLinkItem &link : links) {
        items.append(link.address + QChar(14) + link.title + QChar(14) +
                     QString::number(link.flags));
    }
    return items.join(QLatin1Char('\r'));
}

} // namespace

QString AlbumDraft::eventTemplate()
{
    return DecodeMultiline(
        QStringLiteral("procedure Main;\\n  // Enter code for this event here.\\n\\nendproc;"));
}

// Editors hand back LF where the template has CR LF, and may add blank lines around it.
bool AlbumDraft::isEventTemplate(const QString &script)
{
    return withoutCarriageReturns(script) == withoutCarriageReturns(eventTemplate());
}

bool AlbumDraft::load(Collection &collection, const QString &albumId)
{
    m_albumId = albumId.toUpper();
    m_clearAll = false;
    CurrentAlbum *current = collection.currentAlbum();
    m_inDrive = current && current->discPresent &&
                current->disc.id.compare(m_albumId, Qt::CaseInsensitive) == 0;
    if (m_inDrive) {
        takeAlbum(current->album, current->webLinks, current->disc.trackCount);
        return true;
    }
    const AlbumIndexNode *node = collection.FindAlbum(m_albumId);
    if (!node)
        return false;
    DiscInfo disc;
    disc.id = node->id;
    disc.mediaKind = node->mediaKind;
    disc.trackCount = node->trackCount;
    AlbumInfo album;
    WebLinkList links;
    PlaylistList playlists;
    if (!ReadAlbumInfo(collection, links, album, playlists, disc))
        return false;
    takeAlbum(album, links, disc.trackCount);
    return true;
}

void AlbumDraft::takeAlbum(const AlbumInfo &album, const WebLinkList &links, int trackCount)
{
    title = album.title;
    artist = album.artist;
    copyright = album.copyright;
    lastNameFirst = album.flags & AlbumFlagLastNameFirst;
    binder = album.binder;
    category = album.category;
    year = album.year;
    index = album.index;
    owner = album.owner;
    other = album.other;
    revision = album.revision;
    source = album.source;
    customData = album.customData;
    comments = DecodeMultiline(album.comments);
    tracks.clear();
    const int count = qBound(0, trackCount, int(AlbumInfo::MaxTracks));
    for (int n = 1; n <= count; ++n) {
        const auto i = std::size_t(n);
        tracks.append(
            {album.trackTitles[i], DecodeMultiline(album.trackNotes[i]), album.trackPlayCounts[i]});
    }
    webLinks = links;
    events = {album.albumEvents[0], album.albumEvents[1]};
    insertCount = album.insertCount;
    firstInsert = album.firstInsert;
    recentInserts = album.recentInserts;
}

void AlbumDraft::apply(Collection &collection, const QDateTime &now)
{
    const QString &id = m_albumId;
    collection.OpenCollectionFile();
    CurrentAlbum *current = collection.currentAlbum();
    const bool inDrive =
        current && current->discPresent && current->disc.id.compare(id, Qt::CaseInsensitive) == 0;
    int flags = 0;
    if (inDrive)
        flags = current->album.flags;
    else if (const AlbumIndexNode *node = collection.FindAlbum(id))
        flags = node->flags;

    collection.SetAlbumArtist(id, artist);
    collection.SetAlbumBinder(id, binder);
    collection.SetAlbumCategory(id, category);
    collection.SetAlbumComments(id, EncodeMultiline(comments));
    collection.SetAlbumCopyright(id, copyright);
    collection.SetAlbumCustomData(id, customData);
    collection.SetAlbumIndex(id, index);
    collection.SetAlbumOwner(id, owner);
    collection.SetAlbumOther(id, other);
    collection.SetAlbumFlags(id, withLastNameFirst(flags, lastNameFirst));
    collection.SetAlbumRevision(id, revision);
    collection.SetAlbumTitle(id, title);
    collection.SetAlbumYear(id, year);
    collection.SetAlbumTrackTitle(id, -1, trackTitleList(tracks));
    collection.SetAlbumTrackNote(id, -1, trackNoteList(tracks));
    collection.SetAlbumWebLinks(id, webLinkItems(webLinks), true);
    for (int n = 1; n <= EventCount; ++n) {
        const QString &script = events[std::size_t(n - 1)];
        collection.SetAlbumEvent(id, n, isEventTemplate(script) ? QString() : script);
    }
    if (m_clearAll) {
        if (inDrive) {
            AlbumInfo &album = current->album;
            album.trackPlayCounts.fill(0);
            album.recentInserts.clear();
            album.insertCount = 0;
            album.firstInsert = usageTimeText(now);
            collection.notifyCurrentAlbumChanged(ChangePlayCount);
        }
        clearStoredStatistics(collection);
        m_clearAll = false;
    }
    collection.CloseCollection();
    m_inDrive = inDrive;
}

// The stored album loses its play counts and its whole usage history.
void AlbumDraft::clearStoredStatistics(Collection &collection)
{
    const AlbumIndexNode *node = collection.FindAlbum(m_albumId);
    TCfgFile *file = collection.file();
    if (!node || !file)
        return;
    using namespace CollectionSections;
    for (int n = 1; n <= node->trackCount; ++n)
        file->WriteInteger(node->blockName, Tracks, key("TC", n), 0);
    file->EraseSection(node->blockName, QStringLiteral("Usage"));
    collection.notifyIndexChanged(*node, ChangePlayCount, 0);
    collection.notifyAlbumChanged(node->id, ChangePlayCount);
}

QString CustomValue(const QStringList &customData, const QString &name)
{
    const QString prefix = name + QLatin1Char('=');
    for (const QString &line : customData) {
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            return line.mid(prefix.size());
    }
    return {};
}

QString AlbumDraft::customValue(const QString &name) const
{
    return CustomValue(customData, name);
}

void AlbumDraft::setCustomValue(const QString &name, const QString &value)
{
    const QString prefix = name + QLatin1Char('=');
    const auto at = std::find_if(customData.begin(), customData.end(), [&](const QString &line) {
        return line.startsWith(prefix, Qt::CaseInsensitive);
    });
    const QString trimmed = value.trimmed();
    if (at != customData.end()) {
        if (trimmed.isEmpty())
            customData.erase(at);
        else
            *at = prefix + trimmed;
    } else if (!trimmed.isEmpty()) {
        customData.append(prefix + trimmed);
    }
}

QString AlbumDraft::eventText(int n) const
{
    const QString &script = events[std::size_t(n - 1)];
    return script.trimmed().isEmpty() ? eventTemplate() : script;
}

QList<int> AlbumDraft::mostPlayedTracks() const
{
    QList<int> played;
    for (int n = 1; n <= tracks.size(); ++n) {
        if (tracks.at(n - 1).plays > 0)
            played.append(n);
    }
    std::stable_sort(played.begin(), played.end(), [this](int a, int b) {
        return tracks.at(a - 1).plays > tracks.at(b - 1).plays;
    });
    return played;
}

void AlbumDraft::clearStatistics()
{
    for (DraftTrack &track : tracks)
        track.plays = 0;
    recentInserts.clear();
    insertCount = 0;
    m_clearAll = true;
}

QString AlbumDraft::insertTimeText(const QString &stored, const QDateTime &now)
{
    const QLocale locale = QLocale::system();
    const QString format = locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ') +
                           locale.timeFormat(QLocale::ShortFormat);
    QDateTime when = locale.toDateTime(stored, format);
    if (!when.isValid())
        return stored;
    // Two-digit years are read as 19xx; recorded inserts are never that old.
    if (when.date().year() < 1970)
        when = when.addYears(100);
    const QString time = QLocale::c().toString(when.time(), QStringLiteral("h:mm ap"));
    if (when.date() == now.date())
        return time;
    return locale.toString(when.date(), QLocale::LongFormat) + QLatin1Char(' ') + time;
}

} // namespace Orbisong
