#include "cli/CliCommand.h"

#include "cddb/CddbApply.h"
#include "cddb/CddbEntry.h"
#include "cddb/CddbSubmission.h"
#include "cli/CliCddbAlbum.h"
#include "collection/StoredText.h"

#include <QDate>
#include <QFile>

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
    if (!collection.FindAlbum(albumId)) {
        c.err << "no album " << albumId << '\n';
        return NotFound;
    }
    const CddbSubmission submission = CddbSubmission::read(collection, albumId, session.settings());
    if (!category.isEmpty() && !IsCddbCategory(category))
        return c.fail(QStringLiteral("not a CDDB category: %1").arg(category));
    const QString text = submission.entry(QDate::currentDate().year());
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
