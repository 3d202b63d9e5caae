#include "cli/CliCommand.h"

#include "cddb/CddbServerList.h"
#include "cddb/ServerListUpdate.h"
#include "collection/SettingsSession.h"

namespace Orbisong::Cli {

namespace {

const QString Synopsis = QStringLiteral("servers update [--server HOST:PORT] | servers list");
const QString Details = QStringLiteral(
    "  update   asks a CDDB server for its list of sites over CDDBP and stores it as the\n"
    "           server list of --home; prints the resulting list, one server a line:\n"
    "           HOST<TAB>PORT<TAB>PROTOCOL<TAB>DESCRIPTION. Without --server the \"List\n"
    "           Server\" and \"List Port\" settings are asked. A refusal or a failure keeps\n"
    "           the old list, prints the reason on stderr and exits 2\n"
    "  list     prints the stored server list the same way");

void printList(Context &c, const QList<TServerItem> &items)
{
    for (const TServerItem &item : items)
        c.out << item.host << '\t' << item.port << '\t' << item.protocol << '\t' << item.description
              << '\n';
}

int update(Context &c, SettingsSession &session)
{
    Settings &settings = session.settings();
    QString host = settings.cddbListServer;
    QString port = settings.cddbListPort;
    if (c.args.size() == 3 && c.args.at(1) == QLatin1String("--server")) {
        const QString server = c.args.at(2);
        const qsizetype colon = server.lastIndexOf(QLatin1Char(':'));
        if (colon <= 0)
            return c.usage(QStringLiteral("servers update --server HOST:PORT"));
        host = server.left(colon);
        port = server.mid(colon + 1);
    } else if (c.args.size() != 1) {
        return c.usage(Synopsis);
    }
    const ServerListUpdate::Result result = ServerListUpdate::run(host, port);
    if (!result.items) {
        printList(c, CddbServerList::sorted(CddbServerList::parse(settings.cddbServerList)));
        return c.fail(QStringLiteral("the server list was kept: ") + result.errorText);
    }
    const QList<TServerItem> items = CddbServerList::sorted(*result.items);
    settings.cddbServerList = CddbServerList::store(items);
    if (!session.save())
        return c.fail(QStringLiteral("could not write the settings"));
    printList(c, items);
    return Success;
}

int servers(Context &c)
{
    const QString action = c.args.value(0);
    SettingsSession session;
    if (action == QLatin1String("update"))
        return update(c, session);
    if (action == QLatin1String("list") && c.args.size() == 1) {
        printList(c,
                  CddbServerList::sorted(CddbServerList::parse(session.settings().cddbServerList)));
        return Success;
    }
    return c.usage(Synopsis);
}

const Registration registration(QStringLiteral("servers"), Synopsis, servers, Details);

} // namespace

} // namespace Orbisong::Cli
