// orbisong-cli servers: "Update List" against the test CDDB server and the stored list.

#include "CddbPeer.h"
#include "CliRunner.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <gtest/gtest.h>

TEST(CliServers, UpdateStoresThePeersListAndARefusalKeepsIt)
{
    TestHome home;
    writeFile(home.file(QStringLiteral("sites.txt")),
              "z.example cddbp 8880 - N0 W0 Last by name\n"
              "web.example http 80 /~cddb/cddb.cgi N0 W0 Over the web\n"
              "a.example cddbp 888 - N0 W0 First by name\n");
    CddbPeer peer;
    ASSERT_TRUE(
        peer.start({QStringLiteral("--sites-file"), home.file(QStringLiteral("sites.txt"))}));
    const QString server = QStringLiteral("127.0.0.1:%1").arg(peer.cddbpPort());

    CliResult r = runCli(home.path(), {QStringLiteral("servers"), QStringLiteral("update"),
                                       QStringLiteral("--server"), server});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString expected = QStringLiteral("a.example\t888\tCDDBP\tFirst by name\n"
                                            "z.example\t8880\tCDDBP\tLast by name\n"
                                            "web.example/~cddb/cddb.cgi\t80\tHTTP\tOver the web\n");
    EXPECT_EQ(r.out, expected);
    r = runCli(home.path(), {QStringLiteral("servers"), QStringLiteral("list")});
    EXPECT_EQ(r.out, expected);

    CddbPeer refusing;
    ASSERT_TRUE(refusing.start({QStringLiteral("--sites-status"), QStringLiteral("401")}));
    r = runCli(home.path(),
               {QStringLiteral("servers"), QStringLiteral("update"), QStringLiteral("--server"),
                QStringLiteral("127.0.0.1:%1").arg(refusing.cddbpPort())});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("401 No site information available.")));
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(runCli(home.path(), {QStringLiteral("servers"), QStringLiteral("list")}).out,
              expected);

    r = runCli(home.path(), {QStringLiteral("servers"), QStringLiteral("update"),
                             QStringLiteral("--server"), QStringLiteral("nohostport")});
    EXPECT_EQ(r.exitCode, 2);
}
