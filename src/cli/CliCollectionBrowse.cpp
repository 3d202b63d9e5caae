#include "cli/CliCollectionBrowse.h"

#include "collection/AlbumGrouping.h"
#include "collection/AlbumSearch.h"
#include "collection/AlbumSortOrder.h"
#include "collection/AlbumText.h"
#include "collection/Collection.h"
#include "collection/CollectionStatistics.h"
#include "collection/MultilineCodec.h"
#include "collection/Settings.h"

#include <optional>

namespace Orbisong::Cli {

QString collectionBrowseSynopsis()
{
    return QStringLiteral("collection groups --by FIELD | collection sorted [--order LETTERS] "
                          "[--group-by FIELD --member TEXT] | collection search --type N TEXT | "
                          "collection stats albums|tracks|recent [--merge]");
}

QString collectionBrowseDetails()
{
    return QStringLiteral(
        "  groups --by FIELD       one line per value of FIELD (artist, binder, category, owner,\n"
        "                          year) as the collection window orders them: text<TAB>albums\n"
        "  sorted [--order LETTERS] [--group-by FIELD --member TEXT]\n"
        "                          the albums (of one value of FIELD) in the window's order:\n"
        "                          ID<TAB>title<TAB>artist<TAB>category<TAB>year<TAB>owner;\n"
        "                          LETTERS out of A artist, T title, C category, Y year, O owner\n"
        "                          (default ATCYO); TEXT as groups prints it\n"
        "  search --type N TEXT    N: 0 artist, 1 title, 2 any field, 3 track artist, 4 track\n"
        "                          title, 5 track other data; ID<TAB>artist<TAB>title for albums,\n"
        "                          ID<TAB>track<TAB>track text for tracks (notes in their\n"
        "                          one-line form, \\n for a line break)\n"
        "  stats albums|tracks|recent [--merge]\n"
        "                          most played albums, most played tracks, recently played\n"
        "                          albums, largest or newest first: value<TAB>artist<TAB>title\n"
        "                          (track title for tracks; the time as yyyy-MM-dd HH:mm for\n"
        "                          recent);\n"
        "                          tracks with equal titles are added up with --merge or the\n"
        "                          merge option of the settings\n"
        "Each exits with 1 when nothing matches.");
}

namespace {

// "--name VALUE" pairs and "--flag" words after the verb; positional words in `words`.
struct Arguments
{
    QHash<QString, QString> options;
    QStringList flags;
    QStringList words;
};

std::optional<Arguments> parseArguments(const QStringList &args, const QStringList &valued)
{
    Arguments parsed;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &word = args.at(i);
        if (valued.contains(word)) {
            if (i + 1 >= args.size() || parsed.options.contains(word))
                return std::nullopt;
            parsed.options.insert(word, args.at(++i));
        } else if (word.startsWith(QLatin1String("--"))) {
            parsed.flags.append(word);
        } else {
            parsed.words.append(word);
        }
    }
    return parsed;
}

std::optional<GroupField> parseField(const QString &name)
{
    static const QStringList names = {QStringLiteral("artist"), QStringLiteral("binder"),
                                      QStringLiteral("category"), QStringLiteral("owner"),
                                      QStringLiteral("year")};
    const qsizetype index = names.indexOf(name.toLower());
    if (index < 0)
        return std::nullopt;
    return GroupField(index);
}

bool onlyOptions(const Arguments &a, const QStringList &allowed)
{
    for (auto it = a.options.cbegin(); it != a.options.cend(); ++it) {
        if (!allowed.contains(it.key()))
            return false;
    }
    return true;
}

int nothingOrSuccess(qsizetype rows)
{
    return rows > 0 ? Success : NotFound;
}

int groups(Context &c, Collection &collection, const Arguments &a)
{
    const auto field = parseField(a.options.value(QStringLiteral("--by")));
    if (!field || !a.flags.isEmpty() || !a.words.isEmpty() || a.options.size() != 1)
        return c.usage(collectionBrowseSynopsis());
    const QList<GroupMember> members = groupMembers(audioAlbums(collection), *field);
    for (const GroupMember &member : members)
        c.out << member.text << '\t' << member.albumCount << '\n';
    return nothingOrSuccess(members.size());
}

// The member a user names by its shown text, or by a value with the same SortKey.
std::optional<GroupMember> findMember(const QList<GroupMember> &members, const QString &text)
{
    for (const GroupMember &member : members) {
        if (member.text.compare(text, Qt::CaseInsensitive) == 0)
            return member;
    }
    const QString key = SortKey(text, 0);
    for (const GroupMember &member : members) {
        if (member.key.compare(key, Qt::CaseInsensitive) == 0)
            return member;
    }
    return std::nullopt;
}

int sorted(Context &c, Collection &collection, const Arguments &a)
{
    const QString letters =
        a.options.value(QStringLiteral("--order"), QStringLiteral("ATCYO")).toUpper();
    const bool grouped = a.options.contains(QStringLiteral("--group-by"));
    const auto field = parseField(a.options.value(QStringLiteral("--group-by")));
    const AlbumSortOrder order(letters.toLatin1());
    if (!a.flags.isEmpty() || !a.words.isEmpty() || order.letters().size() != letters.size() ||
        !onlyOptions(a, {"--order", "--group-by", "--member"}) ||
        grouped != a.options.contains(QStringLiteral("--member")) || (grouped && !field))
        return c.usage(collectionBrowseSynopsis());
    QList<const AlbumIndexNode *> albums = audioAlbums(collection);
    if (grouped) {
        const auto member =
            findMember(groupMembers(albums, *field), a.options.value(QStringLiteral("--member")));
        if (!member)
            return NotFound;
        albums = albumsOfMember(albums, *field, *member);
    }
    order.sort(albums);
    for (const AlbumIndexNode *album : std::as_const(albums))
        c.out << album->id << '\t' << album->title << '\t' << album->artist << '\t'
              << album->category << '\t' << album->year << '\t' << album->owner << '\n';
    return nothingOrSuccess(albums.size());
}

int search(Context &c, Collection &collection, const Arguments &a)
{
    bool ok = false;
    const int type = a.options.value(QStringLiteral("--type")).toInt(&ok);
    if (!ok || searchTypeCaption(type).isEmpty() || !a.flags.isEmpty() || a.words.size() != 1 ||
        a.options.size() != 1)
        return c.usage(collectionBrowseSynopsis());
    const QList<SearchHit> hits = AlbumSearch(collection).run(type, a.words.first());
    for (const SearchHit &hit : hits) {
        c.out << hit.album->id << '\t';
        if (hit.track == 0)
            c.out << hit.artist << '\t' << hit.title << '\n';
        else
            c.out << hit.track << '\t' << EncodeMultiline(hit.text) << '\n';
    }
    return nothingOrSuccess(hits.size());
}

int stats(Context &c, Collection &collection, const Arguments &a)
{
    const QString kind = a.words.value(0);
    const bool merge = a.flags.contains(QStringLiteral("--merge"));
    if (a.words.size() != 1 || a.flags.size() != (merge ? 1 : 0) || !a.options.isEmpty() ||
        (merge && kind != QLatin1String("tracks")))
        return c.usage(collectionBrowseSynopsis());
    CollectionStatistics statistics(collection);
    QList<StatisticsItem> items;
    if (kind == QLatin1String("albums"))
        items = statistics.mostPlayedAlbums();
    else if (kind == QLatin1String("tracks"))
        items = statistics.mostPlayedTracks(
            merge || collection.settings().GetOptionFlag(_GLOB_OPTION_STATMERGETRACKS));
    else if (kind == QLatin1String("recent"))
        items = statistics.recentlyPlayed();
    else
        return c.usage(collectionBrowseSynopsis());
    for (const StatisticsItem &item : std::as_const(items)) {
        if (kind == QLatin1String("recent"))
            c.out << (item.time.isValid() ? item.time.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                          : QStringLiteral("-"));
        else
            c.out << item.count;
        c.out << '\t' << item.artist << '\t' << item.title << '\n';
    }
    return nothingOrSuccess(items.size());
}

} // namespace

bool isCollectionBrowseVerb(const QString &verb)
{
    return verb == QLatin1String("groups") || verb == QLatin1String("sorted") ||
           verb == QLatin1String("search") || verb == QLatin1String("stats");
}

int runCollectionBrowse(Context &c, Collection &collection)
{
    const QString verb = c.args.value(0);
    const auto a = parseArguments(c.args, {QStringLiteral("--by"), QStringLiteral("--order"),
                                           QStringLiteral("--group-by"), QStringLiteral("--member"),
                                           QStringLiteral("--type")});
    if (!a)
        return c.usage(collectionBrowseSynopsis());
    if (verb == QLatin1String("groups"))
        return groups(c, collection, *a);
    if (verb == QLatin1String("sorted"))
        return sorted(c, collection, *a);
    if (verb == QLatin1String("search"))
        return search(c, collection, *a);
    return stats(c, collection, *a);
}

} // namespace Orbisong::Cli
