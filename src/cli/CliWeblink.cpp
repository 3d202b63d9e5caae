#include "cli/CliCommand.h"

#include "cli/CliCollectionRun.h"
#include "collection/Collection.h"
#include "collection/CollectionSections.h"
#include "collection/StoredCounts.h"
#include "collection/TCfgFile.h"
#include "player/TBrowserControl.h"

#include <climits>

namespace Orbisong::Cli {

namespace {

const QString Synopsis = QStringLiteral("weblink list --album ID | "
                                        "weblink open --album ID N [--print]");
const QString Details = QStringLiteral(
    "  list --album ID         the album's web links as stored, one a line:\n"
    "                          URL<TAB>title<TAB>browser (first, second or default)\n"
    "  open --album ID N       opens link N (from 1, as listed) in the browser it asks for;\n"
    "                          only http, https and ftp addresses are opened\n"
    "    --print               prints the program and its arguments, tab-separated, instead\n"
    "                          of starting it (xdg-open: the desktop's default browser)");

WebLinkList storedLinks(Collection &collection, const AlbumIndexNode &node)
{
    WebLinkList links;
    TCfgFile &file = *collection.file();
    const QString &section = CollectionSections::WebLink;
    const int count = StoredCount(file, node.blockName, section, QStringLiteral("WU"), INT_MAX);
    for (int n = 1; n <= count; ++n) {
        WebLinkItem link;
        link.address =
            file.ReadString(node.blockName, section, NumberedKey(QStringLiteral("WU"), n), {});
        link.title = file.ReadString(node.blockName, section, NumberedKey(QStringLiteral("WT"), n),
                                     link.address);
        link.flags =
            file.ReadInteger(node.blockName, section, NumberedKey(QStringLiteral("WF"), n), 0);
        links.append(link);
    }
    return links;
}

int run(Context &c)
{
    QStringList args = c.args;
    const QString verb = args.value(0);
    if (verb != QLatin1String("list") && verb != QLatin1String("open"))
        return c.usage(Synopsis);
    args.removeFirst();
    QString albumId;
    QString number;
    bool print = false;
    while (!args.isEmpty()) {
        const QString word = args.takeFirst();
        if (word == QLatin1String("--album") && !args.isEmpty())
            albumId = args.takeFirst().toUpper();
        else if (word == QLatin1String("--print") && verb == QLatin1String("open"))
            print = true;
        else if (number.isEmpty() && verb == QLatin1String("open") && !word.startsWith('-'))
            number = word;
        else
            return c.usage(Synopsis);
    }
    bool numbered = false;
    const int index = number.toInt(&numbered);
    if (albumId.isEmpty() || (verb == QLatin1String("open") && (!numbered || index < 1)))
        return c.usage(Synopsis);

    return runOnCollection(c, false, [&](Context &c, Collection &collection) {
        const AlbumIndexNode *node = collection.FindAlbum(albumId);
        if (!node || !collection.OpenCollectionFile()) {
            c.err << "no album " << albumId << '\n';
            return int(NotFound);
        }
        const WebLinkList links = storedLinks(collection, *node);
        collection.CloseCollection();
        if (verb == QLatin1String("list")) {
            for (const WebLinkItem &link : links)
                c.out << link.address << '\t' << link.title << '\t'
                      << TBrowserControl::choiceName(link.flags) << '\n';
            return links.isEmpty() ? int(NotFound) : int(Success);
        }
        if (index > links.size()) {
            c.err << "album " << albumId << " has " << links.size() << " web links\n";
            return int(NotFound);
        }
        const WebLinkItem &link = links.at(index - 1);
        TBrowserControl browsers(collection.settings());
        browsers.startup();
        const BrowserLaunch launch = browsers.plan(link.address, link.flags);
        if (launch.kind == BrowserLaunch::Refused)
            return c.fail(QStringLiteral("not an http, https or ftp address: ") + link.address);
        if (print) {
            c.out << launch.program;
            for (const QString &argument : launch.arguments)
                c.out << '\t' << argument;
            c.out << '\n';
            return int(Success);
        }
        if (!browsers.openAddress(link.address, link.flags))
            return c.fail(QStringLiteral("the browser did not start: ") + launch.program);
        return int(Success);
    });
}

const Registration registration(QStringLiteral("weblink"), Synopsis, run, Details);

} // namespace

} // namespace Orbisong::Cli
