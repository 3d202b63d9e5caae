#include "collection/AlbumRecord.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "collection/AlbumText.h"
#include "collection/Collection.h"
#include "collection/CurrentAlbum.h"
#include "collection/DiscId.h"
#include "collection/MediaKind.h"
#include "collection/MultilineCodec.h"
#include "collection/Settings.h"
#include "collection/StoredCounts.h"
#include "collection/TCfgFile.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <climits>

namespace Orbisong {

namespace {

const QString Media = QStringLiteral("Media");
const QString Album = QStringLiteral("Album");
const QString Usage = QStringLiteral("Usage");
const QString Tracks = QStringLiteral("Tracks");
const QString Playlists = QStringLiteral("Playlists");
const QString Events = QStringLiteral("Events");
const QString Comments = QStringLiteral("Comments");
const QString WebLink = QStringLiteral("WebLink");

QString key(const char *stem, int n)
{
    return QLatin1String(stem) + QLatin1Char('[') + QString::number(n) + QLatin1Char(']');
}

void notice(Collection &collection, const QString &text)
{
    askOrDefault(collection.questionPort(), Msg::Notice, text);
}

bool isCurrent(Collection &collection, const AlbumInfo &album)
{
    return collection.currentAlbum() && &collection.currentAlbum()->album == &album;
}

void copyIntoNode(AlbumIndexNode &node, const AlbumInfo &album)
{
    node.artist = album.artist;
    node.binder = album.binder;
    node.category = album.category;
    node.flags = album.flags;
    node.owner = album.owner;
    node.title = album.title;
    node.year = album.year;
}

void writeAlbum(TCfgFile &f, const QString &block, int maxRecentInserts, const WebLinkList &links,
                const PlaylistList &playlists, const DiscInfo &disc, const AlbumInfo &album)
{
    f.WriteInteger(block, Media, QStringLiteral("MD"), disc.mediaKind);

    f.WriteString(block, Album, QStringLiteral("ID"), disc.id);
    f.WriteInteger(block, Album, QStringLiteral("NW"), 0);
    f.WriteString(block, Album, QStringLiteral("AR"), album.artist);
    f.WriteString(block, Album, QStringLiteral("BI"), album.binder);
    f.WriteString(block, Album, QStringLiteral("CA"), album.category);
    f.WriteString(block, Album, QStringLiteral("CO"), album.copyright);
    f.WriteInteger(block, Album, QStringLiteral("FL"), album.flags);
    f.WriteString(block, Album, QStringLiteral("IN"), disc.mediaIdentity);
    f.WriteString(block, Album, QStringLiteral("IX"), album.index);
    f.WriteInteger(block, Album, QStringLiteral("LN"), disc.length);
    f.WriteString(block, Album, QStringLiteral("OW"), album.owner);
    f.WriteString(block, Album, QStringLiteral("TL"), album.title);
    f.WriteString(block, Album, QStringLiteral("US"), album.other);
    f.WriteString(block, Album, QStringLiteral("YR"), album.year);
    f.WriteInteger(block, Album, QStringLiteral("RV"), album.revision);
    f.WriteInteger(block, Album, QStringLiteral("SR"), album.source);
    f.WriteString(block, Album, QStringLiteral("CS"),
                  EncodeMultiline(album.customData.join(QLatin1String("\r\n"))));

    f.WriteInteger(block, Usage, QStringLiteral("IC"), album.insertCount);
    f.WriteString(block, Usage, QStringLiteral("FI"), album.firstInsert);
    const qsizetype keep = std::clamp<qsizetype>(maxRecentInserts, 0, album.recentInserts.size());
    const QStringList recent = album.recentInserts.mid(album.recentInserts.size() - keep);
    for (qsizetype i = 0; i < recent.size(); ++i)
        f.WriteString(block, Usage, key("RI", int(i + 1)), recent.at(i));

    const int tracks = qBound(0, disc.trackCount, int(DiscInfo::MaxTracks));
    f.WriteInteger(block, Tracks, QStringLiteral("CT"), tracks);
    for (int n = 1; n <= tracks; ++n) {
        f.WriteString(block, Tracks, key("TT", n), album.trackTitles[std::size_t(n)]);
        f.WriteString(block, Tracks, key("TM", n), album.trackNotes[std::size_t(n)]);
        f.WriteInteger(block, Tracks, key("TL", n), disc.trackLengths[std::size_t(n)]);
        f.WriteInteger(block, Tracks, key("TO", n), disc.trackOffsets[std::size_t(n)]);
        f.WriteInteger(block, Tracks, key("TC", n), album.trackPlayCounts[std::size_t(n)]);
    }

    f.WriteString(block, Playlists, QStringLiteral("CU"), album.currentPlaylist);
    int k = 0;
    for (const std::shared_ptr<TPlaylist> &playlist : playlists) {
        if (playlist->isAlbumPlaylist())
            continue;
        ++k;
        f.WriteString(block, Playlists, key("PL", k), playlist->title);
        f.WriteInteger(block, playlist->title, QStringLiteral("CT"), int(playlist->steps.size()));
        int m = 0;
        for (const TStep &step : playlist->steps) {
            ++m;
            f.WriteString(block, playlist->title, key("ST", m), step.title);
            f.WriteInteger(block, playlist->title, key("SS", m), step.start);
            f.WriteInteger(block, playlist->title, key("SE", m), step.end);
            f.WriteString(block, playlist->title, key("SS1", m), EncodeMultiline(step.script));
        }
    }
    f.WriteInteger(block, Playlists, QStringLiteral("CT"), k);

    f.WriteString(block, Events, key("AE", 1), EncodeMultiline(album.albumEvents[0]));
    f.WriteString(block, Events, key("AE", 2), EncodeMultiline(album.albumEvents[1]));
    f.WriteString(block, Comments, QStringLiteral("TX"), album.comments);

    f.WriteInteger(block, WebLink, QStringLiteral("CT"), int(links.size()));
    for (qsizetype i = 0; i < links.size(); ++i) {
        const int n = int(i + 1);
        f.WriteString(block, WebLink, key("WT", n), links.at(i).title);
        f.WriteString(block, WebLink, key("WU", n), links.at(i).address);
        f.WriteInteger(block, WebLink, key("WF", n), links.at(i).flags);
    }
}

void readSteps(TCfgFile &f, const QString &block, TPlaylist &playlist, const DiscInfo &disc)
{
    const int count = StoredCount(f, block, playlist.title, QStringLiteral("SS"), INT_MAX);
    const int tracks = qBound(0, disc.trackCount, int(DiscInfo::MaxTracks));
    for (int m = 1; m <= count; ++m) {
        const QString title = f.ReadString(block, playlist.title, key("ST", m), {});
        int start = f.ReadInteger(block, playlist.title, key("SS", m), -1);
        int end = f.ReadInteger(block, playlist.title, key("SE", m), -1);
        if (start == -1 || end == -1)
            continue;
        if ((start & TStep::TrackForm) || (end & TStep::TrackForm)) {
            // Track numbers from converted files: the step runs from the start of the first
            // track to the start of the track after the last. Numbers outside the disc
            // cannot be placed and the step is dropped.
            const int first = start & ~TStep::TrackForm;
            const int last = end & ~TStep::TrackForm;
            if (first < 1 || first > tracks || last < 1 || last > tracks)
                continue;
            start = disc.trackOffsets[std::size_t(first)];
            end = disc.trackOffsets[std::size_t(last + 1)];
        }
        TStep step(title, start, end);
        step.script = DecodeMultiline(f.ReadString(block, playlist.title, key("SS1", m), {}));
        playlist.steps.append(step);
    }
}

void readAlbum(TCfgFile &f, const QString &block, WebLinkList &links, AlbumInfo &album,
               PlaylistList &playlists, const DiscInfo &disc)
{
    album.isNew = f.ReadBool(block, Album, QStringLiteral("NW"), true);
    album.artist = f.ReadString(block, Album, QStringLiteral("AR"), {});
    album.binder = f.ReadString(block, Album, QStringLiteral("BI"), {});
    album.category = f.ReadString(block, Album, QStringLiteral("CA"), {});
    album.copyright = f.ReadString(block, Album, QStringLiteral("CO"), {});
    album.flags = f.ReadInteger(block, Album, QStringLiteral("FL"), 0);
    album.index = f.ReadString(block, Album, QStringLiteral("IX"), {});
    album.owner = f.ReadString(block, Album, QStringLiteral("OW"), defaultOwner());
    album.title = f.ReadString(block, Album, QStringLiteral("TL"), {});
    album.other = f.ReadString(block, Album, QStringLiteral("US"), {});
    album.year = f.ReadString(block, Album, QStringLiteral("YR"),
                              QString::number(QDate::currentDate().year()));
    album.revision = f.ReadInteger(block, Album, QStringLiteral("RV"), 1);
    album.source = f.ReadInteger(block, Album, QStringLiteral("SR"), 0);
    const QString custom = DecodeMultiline(f.ReadString(block, Album, QStringLiteral("CS"), {}));
    album.customData = custom.split(QLatin1String("\r\n"), Qt::SkipEmptyParts);

    album.insertCount = f.ReadInteger(block, Usage, QStringLiteral("IC"), 0);
    album.firstInsert = f.ReadString(block, Usage, QStringLiteral("FI"),
                                     usageTimeText(QDateTime::currentDateTime()));

    const int tracks = qBound(0, disc.trackCount, int(DiscInfo::MaxTracks));
    for (int n = 1; n <= AlbumInfo::MaxTracks; ++n) {
        const auto i = std::size_t(n);
        if (n > tracks) {
            album.trackTitles[i].clear();
            album.trackNotes[i].clear();
            album.trackPlayCounts[i] = 0;
            continue;
        }
        album.trackTitles[i] = f.ReadString(block, Tracks, key("TT", n),
                                            QStringLiteral("Track ") + QString::number(n));
        album.trackNotes[i] = f.ReadString(block, Tracks, key("TM", n), {});
        album.trackPlayCounts[i] = f.ReadInteger(block, Tracks, key("TC", n), 0);
    }
    album.currentPlaylist =
        f.ReadString(block, Playlists, QStringLiteral("CU"), QStringLiteral("Album"));
    album.albumEvents[0] = DecodeMultiline(f.ReadString(block, Events, key("AE", 1), {}));
    album.albumEvents[1] = DecodeMultiline(f.ReadString(block, Events, key("AE", 2), {}));
    album.comments = f.ReadString(block, Comments, QStringLiteral("TX"), {});
    album.counted = false;

    album.recentInserts.clear();
    for (int n = 1;; ++n) {
        const QString when = f.ReadString(block, Usage, key("RI", n), {});
        if (when.trimmed().isEmpty())
            break;
        album.recentInserts.append(when);
    }

    links.clear();
    const int linkCount = StoredCount(f, block, WebLink, QStringLiteral("WU"), INT_MAX);
    for (int n = 1; n <= linkCount; ++n) {
        WebLinkItem link;
        link.address = f.ReadString(block, WebLink, key("WU", n), {});
        if (link.address.isEmpty())
            continue;
        link.title = f.ReadString(block, WebLink, key("WT", n), link.address);
        if (link.title.isEmpty())
            link.title = link.address;
        link.flags = f.ReadInteger(block, WebLink, key("WF", n), 0);
        links.append(link);
    }

    // The built-in "Album" playlist comes from the disc, not from the file.
    playlists.removeIf([](const std::shared_ptr<TPlaylist> &p) { return !p->isAlbumPlaylist(); });
    const int playlistCount = StoredCount(f, block, Playlists, QStringLiteral("PL"), INT_MAX);
    for (int k = 1; k <= playlistCount; ++k) {
        const QString title = f.ReadString(block, Playlists, key("PL", k), {}).trimmed();
        if (title.isEmpty())
            continue;
        auto playlist = std::make_shared<TPlaylist>(
            title, f.ReadInteger(block, title, QStringLiteral("FL"), 0));
        readSteps(f, block, *playlist, disc);
        playlists.append(playlist);
    }
}

} // namespace

bool WriteAlbumInfo(Collection &collection, bool removeIfEmpty, const WebLinkList &links,
                    const PlaylistList &playlists, const DiscInfo &disc, const AlbumInfo &album)
{
    const bool empty = album.title.isEmpty() && album.artist.isEmpty() && album.index.isEmpty();
    if (empty && !isCdRomKind(disc.mediaKind)) {
        if (removeIfEmpty && isCurrent(collection, album)) {
            // The disc is still the current one, so the deletion must not be refused for it.
            if (!collection.FindAlbum(disc.id))
                notice(collection,
                       QStringLiteral("WriteAlbumInfo(): Unable to find tree node for album ") +
                           disc.id + QLatin1Char('.'));
            else if (!collection.DeleteAlbum(disc.id, true))
                notice(collection, QStringLiteral("WriteAlbumInfo(): Unable to delete tree node."));
        }
        return false;
    }
    // An audio CD's album is keyed by the ID of its table of contents; anything else in its
    // place came from a table that was never checked.
    if (disc.mediaKind == MediaKindAudioCd && !IsAlbumIdText(disc.id)) {
        notice(collection, QStringLiteral("WriteAlbumInfo(): Not an album ID: ") + disc.id);
        return false;
    }
    collection.OpenCollectionFile();
    TCfgFile *file = collection.file();
    if (!file) {
        collection.CloseCollection();
        return false;
    }
    AlbumIndexNode *node = collection.FindAlbum(disc.id);
    const QString block = node ? node->blockName : disc.id;
    file->EraseBlock(block);
    writeAlbum(*file, block, collection.settings().maxRecentInserts, links, playlists, disc, album);
    if (node) {
        copyIntoNode(*node, album);
        node->mediaKind = disc.mediaKind;
        node->trackCount = qBound(0, disc.trackCount, int(DiscInfo::MaxTracks));
    }
    collection.CloseCollection();
    return true;
}

bool WriteAlbumInfo(Collection &collection, bool removeIfEmpty)
{
    CurrentAlbum *current = collection.currentAlbum();
    if (!current)
        return false;
    return WriteAlbumInfo(collection, removeIfEmpty, current->webLinks, current->playlists,
                          current->disc, current->album);
}

bool ReadAlbumInfo(Collection &collection, WebLinkList &links, AlbumInfo &album,
                   PlaylistList &playlists, const DiscInfo &disc)
{
    collection.OpenCollectionFile();
    AlbumIndexNode *node = collection.FindAlbum(disc.id);
    if (!node)
        node = collection.AddAlbumToIndex(disc.id, disc.id, disc.mediaKind, disc.trackCount, {}, {},
                                          defaultOwner(), {}, {}, {}, 0);
    if (!node) {
        notice(collection, QStringLiteral("ReadAlbumInfo(): Unable to create new tree node."));
        collection.CloseCollection();
        return false;
    }
    const QString block = node->blockName;
    TCfgFile empty(QString{});
    TCfgFile &file = collection.file() ? *collection.file() : empty;
    readAlbum(file, block, links, album, playlists, disc);
    copyIntoNode(*node, album);
    collection.CloseCollection();
    return true;
}

bool ReadAlbumInfo(Collection &collection)
{
    CurrentAlbum *current = collection.currentAlbum();
    if (!current)
        return false;
    return ReadAlbumInfo(collection, current->webLinks, current->album, current->playlists,
                         current->disc);
}

QString usageTimeText(const QDateTime &when)
{
    const QLocale locale = QLocale::system();
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(when.time(), QLocale::ShortFormat);
}

void CountTrackPlay(AlbumInfo &album, int track, const QDateTime &now)
{
    if (track >= 1 && track <= AlbumInfo::MaxTracks)
        ++album.trackPlayCounts[std::size_t(track)];
    if (album.counted)
        return;
    album.recentInserts.append(usageTimeText(now));
    ++album.insertCount;
    album.counted = true;
}

std::shared_ptr<TPlaylist> MakeAlbumPlaylist(const DiscInfo &disc, bool skipBlankTracks)
{
    auto playlist = std::make_shared<TPlaylist>(QStringLiteral("Album"), TPlaylist::FlagAlbum);
    const int tracks = qBound(0, disc.trackCount, int(DiscInfo::MaxTracks));
    for (int n = 1; n <= tracks; ++n) {
        const int start = disc.trackOffsets[std::size_t(n)];
        const int end = disc.trackOffsets[std::size_t(n + 1)];
        if (skipBlankTracks && end - start <= 75)
            continue;
        playlist->steps.append(TStep(QString(), start, end));
    }
    return playlist;
}

} // namespace Orbisong
