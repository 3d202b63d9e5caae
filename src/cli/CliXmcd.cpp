#include "cli/CliCommand.h"

#include "cddb/CddbApply.h"
#include "cddb/CddbEntry.h"
#include "cli/CliCddbAlbum.h"
#include "collection/AlbumRecord.h"
#include "collection/DiscId.h"
#include "collection/StoredCounts.h"
#include "collection/StoredText.h"
#include "collection/TCfgFile.h"

#include <QDate>
#include <QFile>

#include <algorithm>
#include <climits>

namespace Orbisong::Cli {

namespace {

const QString Synopsis = QStringLiteral("xmcd apply FILE --album ID --category CAT [--create] | "
                                        "xmcd write ID [--category CAT]");

int apply(Context &c, QStringList args)
{
    QString albumId;
    QString category;
    QString fileName;
    bool create = false;
    while (!args.isEmpty()) {
        const QString word = args.takeFirst();
        if (word == QLatin1String("--create"))
            create = true;
        else if (word == QLatin1String("--album") && !args.isEmpty())
            albumId = args.takeFirst().toUpper();
        else if (word == QLatin1String("--category") && !args.isEmpty())
            category = args.takeFirst();
        else if (fileName.isEmpty())
            fileName = word;
        else
            return c.usage(Synopsis);
    }
    if (fileName.isEmpty())
        return c.usage(Synopsis);
    if (albumId.size() != 13 || !IsCddbDiscId(albumId.left(8)))
        return c.fail(QStringLiteral("--album needs a 13-digit album ID, not '%1'").arg(albumId));
    if (!IsCddbCategory(category) &&
        category.compare(QLatin1String("classica"), Qt::CaseInsensitive) != 0)
        return c.fail(QStringLiteral("not a CDDB category: %1").arg(category));
    QFile file(fileName);
    if (!file.exists()) {
        c.err << "no such file: " << fileName << '\n';
        return NotFound;
    }
    if (!file.open(QIODevice::ReadOnly))
        return c.fail(QStringLiteral("cannot read %1").arg(fileName));
    // A bounded read: the name may be a device that never ends.
    QByteArray bytes;
    while (bytes.size() <= MaxXmcdEntryBytes) {
        const QByteArray chunk = file.read(MaxXmcdEntryBytes + 1 - bytes.size());
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (bytes.size() > MaxXmcdEntryBytes)
        return c.fail(QStringLiteral("%1: not an xmcd entry: larger than %2 bytes")
                          .arg(fileName)
                          .arg(MaxXmcdEntryBytes));
    const QString entry = decodeStoredText(bytes);
    const QString reason = CheckXmcdEntry(entry, albumId.left(8));
    if (!reason.isEmpty())
        return c.fail(QStringLiteral("%1: not an xmcd entry: %2").arg(fileName, reason));

    CddbAlbumSession session(c.collection, c.questions);
    if (!create && !session.collection().FindAlbum(albumId)) {
        c.err << "no album " << albumId << " in the collection (--create makes it)\n";
        return NotFound;
    }
    const bool applied = session.applyEntry(albumId, category, SourceLocalDatabase, entry);
    if (!session.close())
        return c.fail(QStringLiteral("cannot write the collection"));
    return applied ? Success : c.fail(QStringLiteral("the entry was not applied"));
}

int write(Context &c, QStringList args)
{
    QString albumId;
    QString category;
    while (!args.isEmpty()) {
        const QString word = args.takeFirst();
        if (word == QLatin1String("--category") && !args.isEmpty())
            category = args.takeFirst();
        else if (albumId.isEmpty())
            albumId = word.toUpper();
        else
            return c.usage(Synopsis);
    }
    if (albumId.isEmpty())
        return c.usage(Synopsis);
    CddbAlbumSession session(c.collection, c.questions);
    Collection &collection = session.collection();
    const AlbumIndexNode *node = collection.FindAlbum(albumId);
    if (!node || !collection.file()) {
        c.err << "no album " << albumId << '\n';
        return NotFound;
    }
    const QString block = node->blockName;
    TCfgFile &cfg = *collection.file();
    const Settings &settings = session.settings();

    CddbWriteInput in;
    in.discId = albumId.left(8);
    in.artist = cfg.ReadString(block, QStringLiteral("Album"), QStringLiteral("AR"), {});
    in.title = cfg.ReadString(block, QStringLiteral("Album"), QStringLiteral("TL"), {});
    in.revision = cfg.ReadInteger(block, QStringLiteral("Album"), QStringLiteral("RV"), 1);
    in.comments = cfg.ReadString(block, QStringLiteral("Comments"), QStringLiteral("TX"), {});
    in.submitComments = settings.GetOptionFlag(_GLOB_OPTION_SUBMITCOMMENTS);
    in.submitWebLinks = settings.GetOptionFlag(_GLOB_OPTION_SUBMITWEBLINKS);
    const int tracks = DiscIdTrackCount(in.discId);
    QStringList titles, notes, offsets;
    for (int n = 1; n <= tracks; ++n) {
        const QString key = QStringLiteral("[%1]").arg(n);
        titles.append(
            cfg.ReadString(block, QStringLiteral("Tracks"), QStringLiteral("TT") + key, {}));
        notes.append(
            cfg.ReadString(block, QStringLiteral("Tracks"), QStringLiteral("TM") + key, {}));
        offsets.append(
            cfg.ReadString(block, QStringLiteral("Tracks"), QStringLiteral("TO") + key, {}));
    }
    const QChar cr(13);
    in.trackTitles = titles.join(cr);
    in.extendedTrackData = notes.join(cr);
    in.trackOffsets = offsets.join(cr);
    // The last track's start and length come from the file: the end is bounded to a disc.
    const qint64 lastStart = albumId.mid(8).toInt(nullptr, 16);
    const qint64 lastLength = std::clamp(
        cfg.ReadInteger(block, QStringLiteral("Tracks"), QStringLiteral("TL[%1]").arg(tracks), 0),
        0, MaxTocFrame);
    in.discLengthSeconds = int(std::min<qint64>(lastStart + lastLength + 1, MaxTocFrame + 1) / 75);
    QStringList links;
    const int linkCount =
        StoredCount(cfg, block, QStringLiteral("WebLink"), QStringLiteral("WU"), INT_MAX);
    for (int n = 1; n <= linkCount; ++n) {
        const QString key = QStringLiteral("[%1]").arg(n);
        links.append(
            cfg.ReadString(block, QStringLiteral("WebLink"), QStringLiteral("WU") + key, {}) +
            QChar(14) +
            cfg.ReadString(block, QStringLiteral("WebLink"), QStringLiteral("WT") + key, {}) +
            QChar(14) +
            cfg.ReadString(block, QStringLiteral("WebLink"), QStringLiteral("WF") + key, {}));
    }
    in.webLinks = links.join(cr);
    if (!category.isEmpty() && !IsCddbCategory(category))
        return c.fail(QStringLiteral("not a CDDB category: %1").arg(category));
    const QString text = WriteCddbEntry(in, QDate::currentDate().year());
    if (text.isEmpty())
        return c.fail(QStringLiteral("the album ID gives no tracks"));
    c.out << text;
    return Success;
}

int xmcdCommand(Context &c)
{
    QStringList args = c.args;
    const QString verb = args.isEmpty() ? QString() : args.takeFirst();
    if (verb == QLatin1String("apply"))
        return apply(c, args);
    if (verb == QLatin1String("write"))
        return write(c, args);
    return c.usage(Synopsis);
}

const Registration registration(
    QStringLiteral("xmcd"), Synopsis, xmcdCommand,
    QStringLiteral(
        "  apply FILE --album ID --category CAT [--create]\n"
        "      applies the xmcd entry in FILE to album ID (13 digits) under category CAT.\n"
        "      FILE must be an entry for this disc: \"# xmcd\" on its first line, a DISCID\n"
        "      line naming the album's CDDB id (the ID's first 8 digits), a DTITLE line and at\n"
        "      most 1 MiB; else exit 2 and nothing changes. An album not in the collection is\n"
        "      exit 1 unless --create makes it.\n"
        "  write ID [--category CAT]\n"
        "      prints the album as the entry a submission would carry."));

} // namespace

} // namespace Orbisong::Cli
