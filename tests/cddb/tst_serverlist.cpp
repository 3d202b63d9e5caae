// The CDDB server list: its stored form, the reply to "sites", and "Update List" against the
// test CDDB server.

#include "CddbPeer.h"
#include "TestFiles.h"

#include "cddb/CddbLookupSettings.h"
#include "cddb/CddbServerList.h"
#include "cddb/ServerListUpdate.h"
#include "collection/Settings.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QByteArray sitesReply(const QList<QByteArray> &lines)
{
    QByteArray reply = "210 OK, site information follows (until terminating `.')\r\n";
    for (const QByteArray &line : lines)
        reply += line + "\r\n";
    return reply + ".\r\n";
}

QString sitesFile(const QTemporaryDir &dir, const QByteArray &text)
{
    const QString path = dir.filePath(QStringLiteral("sites.txt"));
    writeFile(path, text);
    return path;
}

} // namespace

TEST(ServerList, StoredFormSurvivesSeparatorsInsideFields)
{
    const QList<TServerItem> items = {
        {QStringLiteral("a|b.example"), QStringLiteral("888"), QStringLiteral("CDDBP"),
         QStringLiteral("North `and` South | East")},
        {QStringLiteral("web.example/~cddb/cddb.cgi"), QStringLiteral("80"), QStringLiteral("HTTP"),
         QStringLiteral("Plain")}};
    const QString stored = CddbServerList::store(items);
    EXPECT_EQ(stored.count(QLatin1Char('|')), 1);
    EXPECT_EQ(stored.count(QLatin1Char('`')), 6);
    const QList<TServerItem> back = CddbServerList::parse(stored);
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back.at(0).host, QStringLiteral("a/b.example"));
    EXPECT_EQ(back.at(0).description, QStringLiteral("North 'and' South / East"));
    EXPECT_EQ(back.at(1), items.at(1));
}

TEST(ServerList, OrderAndMatching)
{
    const QList<TServerItem> sorted = CddbServerList::sorted(CddbServerList::parse(
        QStringLiteral("web.example/cgi`80`HTTP`w|b.example`888`CDDBP`b|a.example`8880`CDDBP`a")));
    ASSERT_EQ(sorted.size(), 3);
    EXPECT_EQ(sorted.at(0).host, QStringLiteral("a.example"));
    EXPECT_EQ(sorted.at(1).host, QStringLiteral("b.example"));
    EXPECT_EQ(sorted.at(2).host, QStringLiteral("web.example/cgi"));
    EXPECT_EQ(CddbServerList::indexOf(sorted, QStringLiteral("WEB.example/other"),
                                      QStringLiteral("80"), QStringLiteral("http")),
              2);
    EXPECT_EQ(CddbServerList::indexOf(sorted, QStringLiteral("b.example"), QStringLiteral("80"),
                                      QStringLiteral("CDDBP")),
              -1);
}

TEST(ServerList, SitesReplyBuildsItemsAndSkipsWhatItCannotUse)
{
    const auto items = CddbServerList::fromSitesReply(sitesReply({
        "cddb.example cddbp 888 - N000.00 W000.00 Random US site",
        "www.example http 80 /~cddb/cddb.cgi N000.00 W000.00 Web   site, Europe",
        "short line only",
        "odd.example cddbp 888 - N0 W0 Someone's (unofficial) mirror",
        "",
    }));
    ASSERT_TRUE(items.has_value());
    ASSERT_EQ(items->size(), 2);
    EXPECT_EQ(items->at(0),
              (TServerItem{QStringLiteral("cddb.example"), QStringLiteral("888"),
                           QStringLiteral("CDDBP"), QStringLiteral("Random US site")}));
    EXPECT_EQ(items->at(1),
              (TServerItem{QStringLiteral("www.example/~cddb/cddb.cgi"), QStringLiteral("80"),
                           QStringLiteral("HTTP"), QStringLiteral("Web   site, Europe")}));

    // Nothing to rebuild from: the caller keeps its list.
    EXPECT_FALSE(CddbServerList::fromSitesReply("401 No site information available.\r\n"));
    EXPECT_FALSE(CddbServerList::fromSitesReply(sitesReply({"a b c", "x.example cddbp 888"})));
    EXPECT_FALSE(CddbServerList::fromSitesReply(sitesReply({})));
    EXPECT_FALSE(CddbServerList::fromSitesReply("210 cut short\r\na b c d e f g\r\n"));
    // Separator characters from the server never reach the stored list.
    const auto odd = CddbServerList::fromSitesReply(sitesReply({"a|b cddbp 888 - 0 0 x`y|z"}));
    ASSERT_TRUE(odd.has_value());
    EXPECT_EQ(CddbServerList::parse(CddbServerList::store(*odd)), *odd);
    EXPECT_EQ(odd->at(0).description, QStringLiteral("x'y/z"));
}

TEST(ServerList, LookupSettingsTakeThePortTypedWithTheServer)
{
    Settings settings = Settings::defaults(QStringLiteral("/tmp"), QStringLiteral("ann"), {});
    settings.cddbServer = QStringLiteral("cddb.example:8880");
    settings.cddbPort = QStringLiteral("888");
    CddbLookupSettings lookup = CddbLookupSettings::fromSettings(settings);
    EXPECT_EQ(lookup.host(), QStringLiteral("cddb.example"));
    EXPECT_EQ(lookup.port, 8880);
    settings.cddbServer = QStringLiteral("web.example:8080/~cddb/cddb.cgi");
    settings.cddbProtocol = QStringLiteral("HTTP");
    lookup = CddbLookupSettings::fromSettings(settings);
    EXPECT_EQ(lookup.host(), QStringLiteral("web.example"));
    EXPECT_EQ(lookup.path(), QStringLiteral("/~cddb/cddb.cgi"));
    EXPECT_EQ(lookup.port, 8080);
}

TEST(ServerListUpdate, PeerListFillsAndRefusalKeepsNothing)
{
    QTemporaryDir dir;
    CddbPeer peer;
    ASSERT_TRUE(peer.start(
        {QStringLiteral("--sites-file"), sitesFile(dir, "one.example cddbp 888 - N0 W0 First one\n"
                                                        "two.example http 80 /cgi N0 W0 Second\n"
                                                        "bad line\n")}));
    QStringList statuses;
    const ServerListUpdate::Result result =
        ServerListUpdate::run(QStringLiteral("127.0.0.1"), QString::number(peer.cddbpPort()),
                              [&statuses](const QString &s) { statuses.append(s); });
    EXPECT_TRUE(result.errorText.isEmpty()) << result.errorText.toStdString();
    ASSERT_TRUE(result.items.has_value());
    ASSERT_EQ(result.items->size(), 2);
    EXPECT_EQ(result.items->at(1).host, QStringLiteral("two.example/cgi"));
    EXPECT_EQ(statuses, (QStringList{QStringLiteral("Connecting"), QStringLiteral("Loading"),
                                     QStringLiteral("Closing")}));
    const QStringList transcript = peer.transcript();
    EXPECT_TRUE(transcript.contains(QStringLiteral("proto 3")));
    EXPECT_TRUE(transcript.contains(QStringLiteral("sites")));
    EXPECT_TRUE(transcript.contains(QStringLiteral("quit")));

    CddbPeer refusing;
    ASSERT_TRUE(refusing.start({QStringLiteral("--sites-status"), QStringLiteral("401")}));
    const ServerListUpdate::Result refused =
        ServerListUpdate::run(QStringLiteral("127.0.0.1"), QString::number(refusing.cddbpPort()));
    EXPECT_FALSE(refused.items.has_value());
    EXPECT_EQ(refused.errorText, QStringLiteral("401 No site information available."));

    CddbPeer closed;
    ASSERT_TRUE(closed.start({QStringLiteral("--greeting"), QStringLiteral("432")}));
    const ServerListUpdate::Result unwelcome =
        ServerListUpdate::run(QStringLiteral("127.0.0.1"), QString::number(closed.cddbpPort()));
    EXPECT_FALSE(unwelcome.items.has_value());
    EXPECT_TRUE(unwelcome.errorText.startsWith(QStringLiteral("432")));
}

TEST(ServerListUpdate, RunsOffTheCallingThreadAndReportsBack)
{
    CddbPeer peer;
    ASSERT_TRUE(peer.start());
    ServerListUpdate update;
    QSignalSpy statuses(&update, &ServerListUpdate::statusChanged);
    QSignalSpy finished(&update, &ServerListUpdate::finished);
    ASSERT_TRUE(update.start(QStringLiteral("127.0.0.1"), QString::number(peer.cddbpPort())));
    EXPECT_FALSE(update.start(QStringLiteral("127.0.0.1"), QStringLiteral("1")));
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_FALSE(update.isRunning());
    const auto result = finished.at(0).at(0).value<ServerListUpdate::Result>();
    ASSERT_TRUE(result.items.has_value());
    EXPECT_EQ(result.items->at(0).host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(statuses.size(), 3);

    // A refused connection comes back as a socket error, not as a list.
    ServerListUpdate failing;
    QSignalSpy failed(&failing, &ServerListUpdate::finished);
    ASSERT_TRUE(failing.start(QStringLiteral("127.0.0.1"), QStringLiteral("1")));
    ASSERT_TRUE(failed.wait(30000));
    const auto error = failed.at(0).at(0).value<ServerListUpdate::Result>();
    EXPECT_FALSE(error.items.has_value());
    EXPECT_EQ(error.errorCode, 10061);
}
