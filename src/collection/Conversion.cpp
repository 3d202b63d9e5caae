#include "collection/Conversion.h"

#include "base/AppPaths.h"
#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "collection/AlbumRecord.h"
#include "collection/Collection.h"
#include "collection/ConversionLog.h"
#include "collection/DiscId.h"
#include "collection/MediaKind.h"
#include "collection/MultilineCodec.h"
#include "collection/SettingsStore.h"
#include "collection/WinIniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>

namespace Orbisong {

namespace {

const QString Disc = QStringLiteral("DISC");
const QString Cddb = QStringLiteral("CDDB");

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Minutes in the lowest byte, seconds in the next, frames in the third.
int packedLength(int packed)
{
    return (packed & 0xFF) * 4500 + ((packed >> 8) & 0xFF) * 75 + ((packed >> 16) & 0xFF);
}

// A count stored in an album file: it cannot count more than the file's entries.
int boundedCount(const WinIniFile &file, const QString &section, const QString &key)
{
    return std::clamp(file.readInteger(section, key, 0), 0, file.entryCount());
}

QString hexDigits(quint32 value, int width)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
}

// Copies the collection to "CONVERT.BAK" through a temporary file, so a failed copy never
// replaces an older backup with half a file.
bool backUp(const QString &collectionPath, const QString &backupPath)
{
    QFile source(collectionPath);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QSaveFile backup(backupPath);
    if (!backup.open(QIODevice::WriteOnly))
        return false;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() || backup.write(chunk) != chunk.size()) {
            backup.cancelWriting();
            return false;
        }
    }
    return backup.commit();
}

// Puts the finished file in the place of the old one in one step. No file means the
// conversion stored no album: the collection is then empty.
bool replaceFile(const QString &from, const QString &to)
{
    if (!QFileInfo::exists(from))
        return !QFileInfo::exists(to) || QFile::remove(to);
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace

QStringList previousAlbumFolders(const SettingsStore &previous)
{
    QStringList folders;
    const QString key = QStringLiteral("Search Path");
    const int count = previous.readInteger(key, QStringLiteral("Directory Count"), 0);
    for (int n = 1; n <= count; ++n) {
        const QString folder =
            previous.readString(key, QStringLiteral("Directory ") + QString::number(n), {})
                .trimmed();
        if (!folder.isEmpty())
            folders.append(folder);
    }
    if (folders.isEmpty())
        folders.append(QStringLiteral("C:\\Program Files\\Orbisong\\Album Files"));
    return folders;
}

bool ConvertAlbumFile(Collection &collection, const QString &path, ConversionLog &log)
{
    log.add(QStringLiteral(" START conversion of ") + quoted(path));
    WinIniFile old;
    if (!QFileInfo(path).isFile() || !old.load(path)) {
        log.add(QStringLiteral(" FAILED to find album file ") + quoted(path));
        log.add(QStringLiteral(" FINISH conversion"));
        return false;
    }
    DiscInfo disc;
    AlbumInfo album;
    album.artist = old.readString(Disc, QStringLiteral("artist"), {});
    album.title = old.readString(Disc, QStringLiteral("title"), {});
    const int cddbId = old.readInteger(Disc, QStringLiteral("cddbid"), 0);

    bool converted = false;
    if (cddbId != 0) {
        disc.mediaKind = MediaKindAudioCd;
        disc.id = hexDigits(quint32(cddbId), 8);
        disc.mediaIdentity = old.readString(Disc, QStringLiteral("identity"), {});
        disc.length = old.readInteger(Cddb, QStringLiteral("Length"), 0);
        int tracks = 0;
        while (tracks < DiscInfo::MaxTracks) {
            const int n = tracks + 1;
            const int packed =
                old.readInteger(Disc, QStringLiteral("tracklength") + QString::number(n), -1);
            if (packed == -1)
                break;
            const auto i = std::size_t(n);
            album.source = SourceConverted;
            album.trackTitles[i] =
                old.readString(Disc, QStringLiteral("trackname") + QString::number(n), {});
            // Notes are held escaped; the old ones are plain text.
            album.trackNotes[i] = EncodeMultiline(
                old.readString(Disc, QStringLiteral("trackmisc") + QString::number(n), {}));
            album.trackPlayCounts[i] =
                old.readInteger(Disc, QStringLiteral("trackplaycount") + QString::number(n), 0);
            disc.trackOffsets[i] =
                old.readInteger(Cddb, QStringLiteral("trackframeoffset") + QString::number(n), 0);
            disc.trackLengths[i] = packedLength(packed);
            tracks = n;
        }
        disc.trackCount = tracks;
        const int lastStart = tracks > 0 ? disc.trackOffsets[std::size_t(tracks)] : 0;
        QList<int> starts;
        for (int n = 1; n <= tracks; ++n)
            starts.append(disc.trackOffsets[std::size_t(n)]);
        const qint64 leadOut = qint64(lastStart) + disc.trackLengths[std::size_t(tracks)];
        const QString problem = TocProblem(starts, leadOut);
        if (lastStart != 0 && !problem.isEmpty())
            log.add(QStringLiteral("  FAILED to read the track list: ") + problem);
        if (lastStart != 0 && problem.isEmpty()) {
            disc.trackOffsets[std::size_t(tracks + 1)] = int(leadOut);
            disc.id = (disc.id + hexDigits(quint32(lastStart), 5)).toUpper();
            album.binder.clear();
            album.category = old.readString(Disc, QStringLiteral("category"), {});
            album.copyright = old.readString(Disc, QStringLiteral("copyright"), {});
            album.flags = old.readInteger(Disc, QStringLiteral("flags"), 0);
            album.insertCount = old.readInteger(Disc, QStringLiteral("insertcount"), 0);
            album.owner = old.readString(Disc, QStringLiteral("owner"), {});
            album.other = old.readString(Disc, QStringLiteral("user"), {});
            album.year = old.readString(Disc, QStringLiteral("year"), {});
            album.revision = old.readInteger(Cddb, QStringLiteral("revision"), 0) + 1;
            album.currentPlaylist =
                old.readString(QStringLiteral("PROGRAMS"), QStringLiteral("current"), {});

            // Each line is escaped on its own, so its backslashes survive the decoding.
            const QString comments = QStringLiteral("COMMENTS");
            QStringList lines;
            const int lineCount = boundedCount(old, comments, QStringLiteral("linecount"));
            for (int n = 1; n <= lineCount; ++n)
                lines.append(EncodeMultiline(
                    old.readString(comments, QStringLiteral("line") + QString::number(n), {})));
            album.comments = lines.join(QLatin1String("\\n"));

            PlaylistList playlists;
            const QString programs = QStringLiteral("PROGRAMS");
            const int programCount = boundedCount(old, programs, QStringLiteral("programcount"));
            for (int k = 1; k <= programCount; ++k) {
                const QString title =
                    old.readString(programs, QStringLiteral("program") + QString::number(k), {});
                if (title.isEmpty())
                    continue;
                auto playlist = std::make_shared<TPlaylist>(
                    title, old.readInteger(title, QStringLiteral("flags"), 0));
                const int steps = boundedCount(old, title, QStringLiteral("stepcount"));
                for (int m = 0; m < steps; ++m) {
                    const QString step = QStringLiteral("step") + QString::number(m);
                    const int track =
                        old.readInteger(title, step + QStringLiteral("start"), 0) & 0xFF;
                    if (track == 0)
                        continue;
                    playlist->steps.append(
                        TStep(old.readString(title, step + QStringLiteral("title"), {}),
                              track | TStep::TrackForm, track | TStep::TrackForm));
                }
                playlists.append(playlist);
            }

            WebLinkList links;
            const QString weblink = QStringLiteral("WEBLINK");
            const int defaultLink = old.readInteger(weblink, QStringLiteral("default"), -1);
            const int linkCount = boundedCount(old, weblink, QStringLiteral("count"));
            for (int n = 1; n <= linkCount; ++n) {
                WebLinkItem link;
                link.address =
                    old.readString(weblink, QStringLiteral("url") + QString::number(n), {})
                        .trimmed();
                if (link.address.isEmpty())
                    continue;
                link.title =
                    old.readString(weblink, QStringLiteral("title") + QString::number(n), {})
                        .trimmed();
                if (link.title.isEmpty())
                    link.title = link.address;
                link.flags = n == defaultLink + 1 ? WebLinkDefault : 0;
                links.append(link);
            }
            // An album with no title, artist or index is not stored: it counts as failed.
            converted = WriteAlbumInfo(collection, true, links, playlists, disc, album);
        }
    }
    if (converted)
        log.add(QStringLiteral("  SUCCESSFULLY converted album file."));
    else
        log.add(QStringLiteral("  FAILED to convert \"") + album.artist + QStringLiteral(" / ") +
                album.title +
                QStringLiteral("\". It was created with an old version of Orbisong and "
                               "couldn't be converted."));
    log.add(QStringLiteral(" FINISH conversion"));
    return converted;
}

ConversionResult ConvertCollection(Collection &collection, const QStringList &folders,
                                   ConversionProgress *progress)
{
    ConversionResult result;
    ConversionLog log;
    const QDir data(AppPaths::dataFolder());
    const QString logPath = data.filePath(QStringLiteral("CONVLOG.TXT"));
    log.write(logPath);
    collection.setConverting(true);

    const QString target = collection.path();
    // The new collection is built beside the old one, which stays in place until the new
    // one is complete: a run ended half-way leaves the old collection as it was.
    const QString building = target + QStringLiteral(".converting");
    QFile::remove(building);
    if (QFileInfo::exists(target)) {
        const QString backupPath = data.filePath(QStringLiteral("CONVERT.BAK"));
        // Without a backup the old collection stays where it is and nothing is converted.
        if (!backUp(target, backupPath)) {
            log.add(QStringLiteral("FAILED to back up the collection to ") + quoted(backupPath));
            log.write(logPath);
            collection.setConverting(false);
            return result;
        }
    }
    collection.ShutdownCollection();
    Collection fresh(collection.settings(), building);
    fresh.setQuestionPort(collection.questionPort());
    fresh.setConverting(true);
    fresh.BuildAlbumIndex();
    fresh.OpenCollectionFile();
    log.add(QStringLiteral("START job"));

    QStringList files;
    for (QString folder : folders) {
        if (!QFileInfo(folder).isDir())
            continue;
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        log.add(QStringLiteral(" START searching folder ") + quoted(folder));
        const QStringList names = QDir(folder).entryList(
            {QStringLiteral("*.OBD")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        for (const QString &name : names) {
            log.add(QStringLiteral("  FOUND album file ") + quoted(name));
            files.append(folder + name);
        }
        log.add(QStringLiteral(" FINISH searching folder"));
    }

    if (progress)
        progress->begin(int(files.size()));
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (ConvertAlbumFile(fresh, files.at(i), log))
            ++result.converted;
        else
            ++result.failed;
        if (progress)
            progress->advance(int(i + 1));
    }
    if (progress)
        progress->end();
    result.ran = fresh.ShutdownCollection() && replaceFile(building, target);
    if (!result.ran) {
        log.add(QStringLiteral("FAILED to write the new collection ") + quoted(target));
        QFile::remove(building);
    }
    if (result.ran && result.failed > 0)
        askOrDefault(collection.questionPort(), Msg::AlbumsNotConverted,
                     QString::number(result.failed));
    log.add(QStringLiteral("FINISH job"));
    log.write(logPath);
    collection.setConverting(false);
    return result;
}

bool ConvertConfiguration(SettingsStore &previous, Collection &collection, bool convertSwitch,
                          ConversionProgress *progress)
{
    if (!previous.valueExists(QStringLiteral("Options"), QStringLiteral("Flags 1")))
        return false;
    const QString key = QStringLiteral("Orbisong 4.0");
    const bool firstTime = previous.readInteger(key, QStringLiteral("Converted"), 0) == 0;
    if (!firstTime && !convertSwitch)
        return false;
    // Recorded once the new collection is in place, so that a run that did not get there
    // is run again at the next start.
    if (ConvertCollection(collection, previousAlbumFolders(previous), progress).ran && firstTime) {
        previous.writeInteger(key, QStringLiteral("Converted"), 1);
        previous.sync();
    }
    return true;
}

} // namespace Orbisong
