#include "cli/CliCollectionBrowse.h"
#include "cli/CliCollectionRun.h"
#include "cli/CliCommand.h"

#include "collection/Collection.h"
#include "collection/TCfgFile.h"

#include <QFileInfo>

#include <functional>

namespace Orbisong::Cli {

namespace {

const QString Synopsis =
    QStringLiteral("collection list | collection show ID | collection set ID FIELD VALUE | "
                   "collection delete ID [--force] | collection merge FILE | ") +
    collectionBrowseSynopsis();
const QString Fields = QStringLiteral(
    "artist (AR), binder (BI), category (CA), comments (TX), copyright (CO), index (IX),\n"
    "  other (US), owner (OW), title (TL), year (YR), flags (FL), source (SR), revision (RV),\n"
    "  custom (CS), event1, event2, weblinks, weblinks-replace, track-title:N, track-note:N\n"
    "  (N from 1, or -1 for every track)");
const QString Details =
    QStringLiteral("  list                    one line per album: ID<TAB>artist<TAB>title\n"
                   "  show ID                 the album's block as the file holds it\n"
                   "  set ID FIELD VALUE      changes one field; prints changed or unchanged\n"
                   "  delete ID [--force]     deletes an album\n"
                   "  merge FILE              merges another collection file into this one\n"
                   "ID is the 13-digit album ID that list prints. FIELD is one of:\n  ") +
    Fields +
    QStringLiteral(
        "\nIn VALUE, \\r stands for CR (a line break in comments and track-note:N, which also "
        "take \\n) and \\x0e for character 14.\n") +
    collectionBrowseDetails();

// The stored keys a user sees in `collection show`, taken as the field they hold.
QString fieldOfKey(const QString &field)
{
    static const QHash<QString, QString> keys = {
        {QStringLiteral("AR"), QStringLiteral("artist")},
        {QStringLiteral("BI"), QStringLiteral("binder")},
        {QStringLiteral("CA"), QStringLiteral("category")},
        {QStringLiteral("TX"), QStringLiteral("comments")},
        {QStringLiteral("CO"), QStringLiteral("copyright")},
        {QStringLiteral("IX"), QStringLiteral("index")},
        {QStringLiteral("US"), QStringLiteral("other")},
        {QStringLiteral("OW"), QStringLiteral("owner")},
        {QStringLiteral("TL"), QStringLiteral("title")},
        {QStringLiteral("YR"), QStringLiteral("year")},
        {QStringLiteral("FL"), QStringLiteral("flags")},
        {QStringLiteral("SR"), QStringLiteral("source")},
        {QStringLiteral("RV"), QStringLiteral("revision")},
        {QStringLiteral("CS"), QStringLiteral("custom")},
    };
    return keys.value(field.toUpper(), field.toLower());
}

// Blocks of a file to merge that are no album (no 13-digit ID or no media kind); -1 when the
// file cannot be read. `albums` counts the rest.
int strayBlocks(const QString &path, int *albums)
{
    TCfgFile other(path);
    if (!other.load())
        return -1;
    QStringList names;
    other.ReadBlockNames(names);
    *albums = 0;
    for (const QString &block : std::as_const(names)) {
        const bool album =
            other.ReadString(block, QStringLiteral("Album"), QStringLiteral("ID"), {}).size() ==
                13 &&
            other.ReadInteger(block, QStringLiteral("Media"), QStringLiteral("MD"), 0) != 0;
        *albums += album ? 1 : 0;
    }
    return int(names.size()) - *albums;
}

int noAlbum(Context &c, const QString &id)
{
    c.err << "no album " << id << " in the collection\n";
    return NotFound;
}

// VALUE is literal except for the two escapes that carry list separators.
QString unescapeValue(QString value)
{
    value.replace(QLatin1String("\\r"), QString(QChar(13)));
    value.replace(QLatin1String("\\x0e"), QString(QChar(14)));
    return value;
}

bool parseInteger(const QString &text, int *value)
{
    bool ok = false;
    *value = text.trimmed().toInt(&ok);
    return ok;
}

// Runs the named setter; false with `known` cleared when the field is unknown or its value
// does not parse.
bool runSetter(Collection &collection, const QString &id, const QString &field,
               const QString &value, bool *known)
{
    using TextSetter = bool (Collection::*)(const QString &, const QString &);
    static const QHash<QString, TextSetter> textSetters = {
        {QStringLiteral("artist"), &Collection::SetAlbumArtist},
        {QStringLiteral("binder"), &Collection::SetAlbumBinder},
        {QStringLiteral("category"), &Collection::SetAlbumCategory},
        {QStringLiteral("comments"), &Collection::SetAlbumComments},
        {QStringLiteral("copyright"), &Collection::SetAlbumCopyright},
        {QStringLiteral("index"), &Collection::SetAlbumIndex},
        {QStringLiteral("other"), &Collection::SetAlbumOther},
        {QStringLiteral("owner"), &Collection::SetAlbumOwner},
        {QStringLiteral("title"), &Collection::SetAlbumTitle},
        {QStringLiteral("year"), &Collection::SetAlbumYear},
    };
    *known = true;
    // Comments and notes take the stored one-line form, where a line break is "\n".
    const bool escaped =
        field == QLatin1String("comments") || field.startsWith(QLatin1String("track-note:"));
    const QString text = escaped ? QString(value).replace(QChar(13), QLatin1String("\\n")) : value;
    if (const auto setter = textSetters.value(field))
        return (collection.*setter)(id, text);
    int number = 0;
    if (field == QLatin1String("flags") || field == QLatin1String("source") ||
        field == QLatin1String("revision")) {
        if (!parseInteger(value, &number)) {
            *known = false;
            return false;
        }
        if (field == QLatin1String("flags"))
            return collection.SetAlbumFlags(id, number);
        if (field == QLatin1String("source"))
            return collection.SetAlbumSource(id, number);
        return collection.SetAlbumRevision(id, number);
    }
    if (field == QLatin1String("custom")) {
        QString lines = value;
        lines.replace(QLatin1String("\r\n"), QLatin1String("\r"));
        return collection.SetAlbumCustomData(id, lines.split(QLatin1Char('\r')));
    }
    if (field == QLatin1String("event1") || field == QLatin1String("event2"))
        return collection.SetAlbumEvent(id, field.right(1).toInt(), value);
    if (field == QLatin1String("weblinks") || field == QLatin1String("weblinks-replace"))
        return collection.SetAlbumWebLinks(id, value, field.endsWith(QLatin1String("replace")));
    const bool title = field.startsWith(QLatin1String("track-title:"));
    if (title || field.startsWith(QLatin1String("track-note:"))) {
        if (!parseInteger(field.section(QLatin1Char(':'), 1), &number) ||
            (number < 1 && number != -1)) {
            *known = false;
            return false;
        }
        return title ? collection.SetAlbumTrackTitle(id, number, value)
                     : collection.SetAlbumTrackNote(id, number, text);
    }
    *known = false;
    return false;
}

int run(Context &c, Collection &collection)
{
    const QString verb = c.args.value(0);
    const int count = int(c.args.size());
    if (isCollectionBrowseVerb(verb))
        return runCollectionBrowse(c, collection);
    if (verb == QLatin1String("list") && count == 1) {
        for (const AlbumIndexNode *node : collection.albums())
            c.out << node->id << '\t' << node->artist << '\t' << node->title << '\n';
        return Success;
    }
    if (verb == QLatin1String("show") && count == 2) {
        const AlbumIndexNode *node = collection.FindAlbum(c.args.at(1));
        if (!node)
            return noAlbum(c, c.args.at(1));
        collection.OpenCollectionFile();
        if (TCfgFile *file = collection.file())
            c.out << QString::fromUtf8(file->writtenBlock(node->blockName));
        collection.CloseCollection();
        return Success;
    }
    if (verb == QLatin1String("set") && count == 4) {
        const QString id = c.args.at(1);
        if (!collection.FindAlbum(id))
            return noAlbum(c, id);
        bool known = false;
        const QString field = fieldOfKey(c.args.at(2));
        const bool changed = runSetter(collection, id, field, unescapeValue(c.args.at(3)), &known);
        if (!known)
            return c.fail(QStringLiteral("collection set: unknown field or unreadable value: "
                                         "%1 %2\nthe fields are: %3")
                              .arg(c.args.at(2), c.args.at(3), Fields));
        // The verdict waits for the disk: a change that cannot be written is no change.
        if (changed && !collection.flush())
            return c.fail(QStringLiteral("cannot write ") + collection.path() +
                          QStringLiteral(": ") + collection.lastError());
        c.out << (changed ? "changed" : "unchanged") << '\n';
        return Success;
    }
    if (verb == QLatin1String("delete") &&
        (count == 2 || (count == 3 && c.args.at(2) == QLatin1String("--force")))) {
        if (!collection.FindAlbum(c.args.at(1)))
            return noAlbum(c, c.args.at(1));
        if (!collection.DeleteAlbum(c.args.at(1), count == 3))
            return c.fail(QStringLiteral("album %1 was not deleted").arg(c.args.at(1)));
        c.out << "deleted\n";
        return Success;
    }
    if (verb == QLatin1String("merge") && count == 2) {
        const QFileInfo other(c.args.at(1));
        if (!other.exists()) {
            c.err << "no such file: " << c.args.at(1) << '\n';
            return NotFound;
        }
        if (other.canonicalFilePath() == QFileInfo(collection.path()).canonicalFilePath())
            return c.fail(QStringLiteral("cannot merge the collection into itself"));
        int albums = 0;
        const int stray = strayBlocks(other.filePath(), &albums);
        if (stray >= 0 && albums == 0)
            return c.fail(
                QStringLiteral("%1 holds no album; nothing was merged").arg(other.filePath()));
        if (!collection.ImportCollection(other.filePath()))
            return c.fail(QStringLiteral("merge failed: ") + collection.lastError());
        c.out << "albums " << collection.albumCount() << '\n';
        if (stray > 0)
            return c.fail(QStringLiteral("%1 is damaged: %2 of its blocks are no album and "
                                         "were skipped")
                              .arg(other.filePath())
                              .arg(stray));
        return Success;
    }
    return c.usage(Synopsis);
}

int collectionCommand(Context &c)
{
    if (c.args.isEmpty())
        return c.usage(Synopsis);
    // Merging and listing work on a collection that does not exist yet.
    const QString verb = c.args.value(0);
    const bool mayBeMissing = verb == QLatin1String("merge") || verb == QLatin1String("list");
    return runOnCollection(c, mayBeMissing, run);
}

const Registration registration(QStringLiteral("collection"), Synopsis, collectionCommand, Details);

} // namespace

} // namespace Orbisong::Cli
