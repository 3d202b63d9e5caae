#include "cli/CliCommand.h"

#include "collection/Collection.h"
#include "collection/SettingsSession.h"
#include "collection/TCfgFile.h"

#include <QFileInfo>

#include <functional>

namespace Orbisong::Cli {

namespace {

const QString Synopsis =
    QStringLiteral("collection list | collection show ID | collection set ID FIELD VALUE | "
                   "collection delete ID [--force] | collection merge FILE");

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
    if (const auto setter = textSetters.value(field))
        return (collection.*setter)(id, value);
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
                     : collection.SetAlbumTrackNote(id, number, value);
    }
    *known = false;
    return false;
}

int run(Context &c, Collection &collection)
{
    const QString verb = c.args.value(0);
    const int count = int(c.args.size());
    if (verb == QLatin1String("list") && count == 1) {
        for (const AlbumIndexNode *node : collection.albums())
            c.out << node->id << '\t' << node->artist << '\t' << node->title << '\n';
        return Success;
    }
    if (verb == QLatin1String("show") && count == 2) {
        const AlbumIndexNode *node = collection.FindAlbum(c.args.at(1));
        if (!node)
            return NotFound;
        collection.OpenCollectionFile();
        if (TCfgFile *file = collection.file())
            c.out << QString::fromUtf8(file->writtenBlock(node->blockName));
        collection.CloseCollection();
        return Success;
    }
    if (verb == QLatin1String("set") && count == 4) {
        const QString id = c.args.at(1);
        if (!collection.FindAlbum(id))
            return NotFound;
        bool known = false;
        const bool changed =
            runSetter(collection, id, c.args.at(2), unescapeValue(c.args.at(3)), &known);
        if (!known)
            return c.usage(QStringLiteral("collection set ID FIELD VALUE (unknown field or "
                                          "value: ") +
                           c.args.at(2) + QLatin1Char(')'));
        c.out << (changed ? "changed" : "unchanged") << '\n';
        return Success;
    }
    if (verb == QLatin1String("delete") &&
        (count == 2 || (count == 3 && c.args.at(2) == QLatin1String("--force")))) {
        if (!collection.DeleteAlbum(c.args.at(1), count == 3))
            return NotFound;
        c.out << "deleted\n";
        return Success;
    }
    if (verb == QLatin1String("merge") && count == 2) {
        const QFileInfo other(c.args.at(1));
        if (!other.exists())
            return c.fail(QStringLiteral("no such file: ") + c.args.at(1));
        if (other.canonicalFilePath() == QFileInfo(collection.path()).canonicalFilePath())
            return c.fail(QStringLiteral("cannot merge the collection into itself"));
        if (!collection.ImportCollection(other.filePath()))
            return c.fail(QStringLiteral("merge failed: ") + collection.lastError());
        c.out << "albums " << collection.albumCount() << '\n';
        return Success;
    }
    return c.usage(Synopsis);
}

int collectionCommand(Context &c)
{
    if (c.args.isEmpty())
        return c.usage(Synopsis);
    SettingsSession session;
    Collection collection(session.settings(), c.collection);
    collection.setQuestionPort(&c.questions);
    collection.BuildAlbumIndex();
    if (!QFileInfo::exists(collection.path()) && c.args.value(0) != QLatin1String("merge") &&
        c.args.value(0) != QLatin1String("list"))
        return c.fail(QStringLiteral("no collection file at ") + collection.path());
    const int code = run(c, collection);
    if (!collection.ShutdownCollection())
        return c.fail(QStringLiteral("cannot write ") + collection.path() + QStringLiteral(": ") +
                      collection.lastError());
    return code;
}

const Registration registration(QStringLiteral("collection"), Synopsis, collectionCommand);

} // namespace

} // namespace Orbisong::Cli
