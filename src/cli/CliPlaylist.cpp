#include "cli/CliCollectionRun.h"
#include "cli/CliCommand.h"

#include "base/QuestionPort.h"
#include "collection/AlbumIndexNode.h"
#include "collection/AlbumRecord.h"
#include "collection/Collection.h"
#include "collection/PlaylistRules.h"
#include "collection/TCfgFile.h"

#include <QRandomGenerator>

namespace Orbisong::Cli {

namespace {

const QString Synopsis = QStringLiteral(
    "playlist add --album ID --title T (--tracks N,N,... | --favorites N) [--shuffle-seed S] | "
    "playlist edit --album ID --title T [--rename NEW] [--tracks N,N,...]");
const QString Details = QStringLiteral(
    "  add   makes a custom playlist of whole tracks and makes it the album's current one:\n"
    "        --tracks lists track numbers in play order; --favorites N takes the N most\n"
    "        played tracks (a later track first on equal counts); --shuffle-seed S shuffles\n"
    "        the tracks with the random source seeded by S\n"
    "  edit  changes the playlist titled T: --rename gives it a new title, --tracks replaces\n"
    "        its steps by whole tracks\n"
    "ID is the 13-digit album ID (see `collection list`). A title may not be empty, hold \"]\",\n"
    "be one of ALBUM, USAGE, TRACKS, PLAYLISTS, COMMENTS, WEBLINK, or be used by another\n"
    "playlist of the album (case is ignored); such a title is refused with exit code 2.");

// The stored album: its table of contents as the collection keeps it and its description.
struct StoredAlbum
{
    DiscInfo disc;
    AlbumInfo album;
    PlaylistList playlists;
    WebLinkList links;
};

bool readDisc(Collection &collection, const AlbumIndexNode &node, DiscInfo &disc)
{
    collection.OpenCollectionFile();
    TCfgFile *file = collection.file();
    if (!file) {
        collection.CloseCollection();
        return false;
    }
    const QString block = node.blockName;
    const QString tracks = QStringLiteral("Tracks");
    const auto key = [](const char *stem, int n) {
        return QLatin1String(stem) + QLatin1Char('[') + QString::number(n) + QLatin1Char(']');
    };
    disc.id = node.id.toUpper();
    disc.mediaKind = file->ReadInteger(block, QStringLiteral("Media"), QStringLiteral("MD"), 0);
    disc.mediaIdentity = file->ReadString(block, QStringLiteral("Album"), QStringLiteral("IN"), {});
    disc.length = file->ReadInteger(block, QStringLiteral("Album"), QStringLiteral("LN"), 0);
    disc.trackCount =
        qBound(0, file->ReadInteger(block, tracks, QStringLiteral("CT"), 0), DiscInfo::MaxTracks);
    bool placed = disc.trackCount > 0;
    for (int n = 1; n <= disc.trackCount; ++n) {
        const auto i = std::size_t(n);
        disc.trackOffsets[i] = file->ReadInteger(block, tracks, key("TO", n), -1);
        disc.trackLengths[i] = file->ReadInteger(block, tracks, key("TL", n), -1);
        placed = placed && disc.trackOffsets[i] >= 0 && disc.trackLengths[i] >= 0;
    }
    if (placed) {
        const auto last = std::size_t(disc.trackCount);
        disc.trackOffsets[last + 1] = disc.trackOffsets[last] + disc.trackLengths[last];
    }
    collection.CloseCollection();
    return placed;
}

// "2,5,7": track numbers of the album, in order; empty when one is not a track.
QList<int> parseTracks(const QString &text, int trackCount)
{
    QList<int> tracks;
    for (const QString &part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int track = part.trimmed().toInt(&ok);
        if (!ok || track < 1 || track > trackCount)
            return {};
        tracks.append(track);
    }
    return tracks;
}

// Refuses an unusable title the way the playlist windows do: the message, then exit code 2.
int refuseTitle(Context &c, const PlaylistList &playlists, const QString &title,
                const TPlaylist *self = nullptr)
{
    const int refused = CheckPlaylistTitle(playlists, title, self);
    if (refused)
        c.questions.ask(refused, title.trimmed(), {}, {});
    return refused ? Failure : Success;
}

int addPlaylist(Context &c, StoredAlbum &stored, const QHash<QString, QString> &options)
{
    const QString title = options.value(QStringLiteral("--title"));
    if (refuseTitle(c, stored.playlists, title) != Success)
        return Failure;
    QList<int> tracks;
    if (options.contains(QStringLiteral("--tracks"))) {
        tracks = parseTracks(options.value(QStringLiteral("--tracks")), stored.disc.trackCount);
        if (tracks.isEmpty())
            return c.fail(QStringLiteral("--tracks: track numbers from 1 to %1, separated by "
                                         "commas")
                              .arg(stored.disc.trackCount));
    } else {
        const QList<int> favorites = FavoriteTracks(stored.album, stored.disc.trackCount);
        bool ok = false;
        const int count = options.value(QStringLiteral("--favorites")).toInt(&ok);
        if (favorites.isEmpty())
            return c.fail(QStringLiteral("no track of the album has been played; use --tracks"));
        if (!ok || count < 1 || count > favorites.size())
            return c.fail(
                QStringLiteral("--favorites: a number from 1 to %1").arg(favorites.size()));
        tracks = favorites.mid(0, count);
    }
    if (options.contains(QStringLiteral("--shuffle-seed"))) {
        bool ok = false;
        const quint32 seed = options.value(QStringLiteral("--shuffle-seed")).toUInt(&ok);
        if (!ok)
            return c.fail(QStringLiteral("--shuffle-seed: a number from 0 to 4294967295"));
        QRandomGenerator random(seed);
        ShuffleTracks(tracks, random);
    }
    auto playlist = std::make_shared<TPlaylist>(title.trimmed(), 0);
    for (int track : std::as_const(tracks))
        playlist->steps.append(WholeTrackStep(stored.disc, track));
    stored.playlists.append(playlist);
    stored.album.currentPlaylist = playlist->title;
    QStringList numbers;
    for (int track : std::as_const(tracks))
        numbers.append(QString::number(track));
    c.out << "added " << playlist->title << ": " << numbers.join(QLatin1Char(',')) << '\n';
    return Success;
}

int editPlaylist(Context &c, StoredAlbum &stored, const QHash<QString, QString> &options)
{
    const QString title = options.value(QStringLiteral("--title"));
    const auto playlist = findPlaylist(stored.playlists, title.trimmed());
    if (!playlist || playlist->isAlbumPlaylist()) {
        c.err << "no playlist " << title << " in album " << stored.disc.id << '\n';
        return NotFound;
    }
    QString newTitle = playlist->title;
    if (options.contains(QStringLiteral("--rename"))) {
        newTitle = options.value(QStringLiteral("--rename"));
        if (refuseTitle(c, stored.playlists, newTitle, playlist.get()) != Success)
            return Failure;
        newTitle = newTitle.trimmed();
    }
    if (options.contains(QStringLiteral("--tracks"))) {
        const QList<int> tracks =
            parseTracks(options.value(QStringLiteral("--tracks")), stored.disc.trackCount);
        if (tracks.isEmpty())
            return c.fail(QStringLiteral("--tracks: track numbers from 1 to %1, separated by "
                                         "commas")
                              .arg(stored.disc.trackCount));
        playlist->steps.clear();
        for (int track : tracks)
            playlist->steps.append(WholeTrackStep(stored.disc, track));
    }
    if (stored.album.currentPlaylist.compare(playlist->title, Qt::CaseInsensitive) == 0)
        stored.album.currentPlaylist = newTitle;
    playlist->title = newTitle;
    c.out << "edited " << newTitle << ": " << playlist->steps.size() << " steps\n";
    return Success;
}

int run(Context &c, Collection &collection)
{
    const QString verb = c.args.value(0);
    static const QStringList valued = {
        QStringLiteral("--album"),     QStringLiteral("--title"),
        QStringLiteral("--tracks"),    QStringLiteral("--rename"),
        QStringLiteral("--favorites"), QStringLiteral("--shuffle-seed")};
    QHash<QString, QString> options;
    for (int i = 1; i < c.args.size(); i += 2) {
        if (!valued.contains(c.args.at(i)) || i + 1 >= c.args.size())
            return c.usage(Synopsis);
        options.insert(c.args.at(i), c.args.at(i + 1));
    }
    const bool add = verb == QLatin1String("add");
    const bool chosen = options.contains(QStringLiteral("--tracks")) !=
                        options.contains(QStringLiteral("--favorites"));
    if ((!add && verb != QLatin1String("edit")) || !options.contains(QStringLiteral("--album")) ||
        !options.contains(QStringLiteral("--title")) || (add && !chosen) ||
        (add && options.contains(QStringLiteral("--rename"))) ||
        (!add && (options.contains(QStringLiteral("--favorites")) ||
                  options.contains(QStringLiteral("--shuffle-seed")))))
        return c.usage(Synopsis);

    const QString id = options.value(QStringLiteral("--album"));
    const AlbumIndexNode *node = collection.FindAlbum(id);
    if (!node) {
        c.err << "no album " << id << " in the collection\n";
        return NotFound;
    }
    StoredAlbum stored;
    if (!readDisc(collection, *node, stored.disc))
        return c.fail(QStringLiteral("album %1 holds no track positions").arg(id));
    if (!ReadAlbumInfo(collection, stored.links, stored.album, stored.playlists, stored.disc))
        return c.fail(QStringLiteral("album %1 cannot be read").arg(id));
    const int code = add ? addPlaylist(c, stored, options) : editPlaylist(c, stored, options);
    if (code != Success)
        return code;
    if (!WriteAlbumInfo(collection, false, stored.links, stored.playlists, stored.disc,
                        stored.album))
        return c.fail(QStringLiteral("album %1 was not written: an album with no title, artist "
                                     "or index is not stored")
                          .arg(id));
    return Success;
}

int playlistCommand(Context &c)
{
    if (c.args.isEmpty())
        return c.usage(Synopsis);
    return runOnCollection(c, false, run);
}

const Registration registration(QStringLiteral("playlist"), Synopsis, playlistCommand, Details);

} // namespace

} // namespace Orbisong::Cli
