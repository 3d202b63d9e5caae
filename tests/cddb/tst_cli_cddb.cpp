#include "CddbPeer.h"
#include "CliRunner.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QByteArray Entry =
    "# Revision: 2\nDISCID=04018e02\nDTITLE=some band / best of\n"
    "TTITLE0=one\nTTITLE1=two\nEXTD=Fine\\nURL: http://x.example \"Home page\"\n"
    "PLAYORDER=\n";

} // namespace

TEST(CliCddb, LocalLookupFillsANewAlbum)
{
    TestHome home;
    const QString db = home.file(QStringLiteral("db"));
    QDir().mkpath(db + QStringLiteral("/rock"));
    QFile entry(db + QStringLiteral("/rock/04018e02"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write(Entry);
    entry.close();
    const QString collection = home.file(QStringLiteral("c.obc"));
    const QStringList base{QStringLiteral("--collection"), collection, QStringLiteral("lookup"),
                           QStringLiteral("local")};

    CliResult r = runCli(home.path(), base + QStringList{QStringLiteral("--album"),
                                                         QStringLiteral("04018E0203A98"),
                                                         QStringLiteral("--path"), db});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("found rock\n"));
    const QByteArray stored = readFile(collection);
    EXPECT_TRUE(stored.contains("AR=Some Band"));
    EXPECT_TRUE(stored.contains("TL=Best Of"));
    EXPECT_TRUE(stored.contains("CA=Rock"));
    EXPECT_TRUE(stored.contains("SR=2"));
    EXPECT_TRUE(stored.contains("RV=3"));
    EXPECT_TRUE(stored.contains("TT[2]=Two"));
    EXPECT_TRUE(stored.contains("WU[1]=http://x.example"));

    r = runCli(home.path(),
               base + QStringList{QStringLiteral("--album"), QStringLiteral("11118E0203A98"),
                                  QStringLiteral("--path"), db});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, QStringLiteral("not found\n"));
    r = runCli(home.path(),
               base + QStringList{QStringLiteral("--album"), QStringLiteral("11118E0203A98"),
                                  QStringLiteral("--path"), db + QStringLiteral("x")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("no database at "))) << qPrintable(r.err);

    // The entry a submission would carry, written back from the album.
    r = runCli(home.path(), {QStringLiteral("--collection"), collection, QStringLiteral("xmcd"),
                             QStringLiteral("write"), QStringLiteral("04018E0203A98")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nDTITLE=Some Band / Best Of\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nTTITLE1=Two\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("# Revision: 3\n")));
}

TEST(CliCddb, RemoteLookupAndFailureText)
{
    TestHome home;
    CddbPeer peer;
    peer.addEntry(QStringLiteral("jazz"), QStringLiteral("04018e02"), Entry);
    ASSERT_TRUE(peer.start());
    const QString collection = home.file(QStringLiteral("c.obc"));
    const QStringList toc{QStringLiteral("--leadout"), QStringLiteral("30000"),
                          QStringLiteral("150"), QStringLiteral("15000")};
    auto remote = [&](const QString &server, const QString &protocol) {
        return runCli(home.path(), QStringList{QStringLiteral("--collection"), collection,
                                               QStringLiteral("lookup"), QStringLiteral("remote"),
                                               QStringLiteral("--server"), server,
                                               QStringLiteral("--protocol"), protocol} +
                                       toc);
    };
    CliResult r =
        remote(QStringLiteral("127.0.0.1:%1").arg(peer.cddbpPort()), QStringLiteral("cddbp"));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("found jazz 04018e02\n"));
    EXPECT_TRUE(readFile(collection).contains("CA=Jazz"));
    EXPECT_TRUE(readFile(collection).contains("TO[2]=15000"));

    r = remote(QStringLiteral("127.0.0.1:%1/~cddb/cddb.cgi").arg(peer.httpPort()),
               QStringLiteral("http"));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("found jazz 04018e02\n"));

    r = runCli(home.path(),
               QStringList{QStringLiteral("--collection"), collection, QStringLiteral("lookup"),
                           QStringLiteral("remote"), QStringLiteral("--server"),
                           QStringLiteral("127.0.0.1:%1").arg(peer.cddbpPort()),
                           QStringLiteral("--protocol"), QStringLiteral("cddbp"),
                           QStringLiteral("--leadout"), QStringLiteral("40000"),
                           QStringLiteral("150")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, QStringLiteral("not found\n"));

    CddbPeer refusing;
    ASSERT_TRUE(refusing.start({QStringLiteral("--greeting"), QStringLiteral("433")}));
    r = remote(QStringLiteral("127.0.0.1:%1").arg(refusing.cddbpPort()), QStringLiteral("cddbp"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, QStringLiteral("failed: Too many users are accessing the CDDB server. The "
                                    "server is overloaded at this time. Please try again later, "
                                    "or choose a different server with --server.\n"));
}

TEST(CliCddb, UntrustedCountsAndTablesOfContentsAreBounded)
{
    TestHome home;
    const QString collection = home.file(QStringLiteral("c.obc"));
    // A last track two thousand million frames long and two thousand million links, of which
    // one is there.
    writeFile(collection, "<04018E0203A98>\r\n [Album]\r\n  ID=04018E0203A98\r\n  TL=t\r\n"
                          " [Tracks]\r\n  CT=2\r\n  TL[2]=2147483647\r\n"
                          " [WebLink]\r\n  CT=2000000000\r\n  WU[1]=http://x.example\r\n");
    CliResult r =
        runCli(home.path(), {QStringLiteral("--collection"), collection, QStringLiteral("xmcd"),
                             QStringLiteral("write"), QStringLiteral("04018E0203A98")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_LT(r.out.size(), 2000);
    EXPECT_TRUE(r.out.contains(QStringLiteral("# Disc length: 6000 seconds\n")));

    // A disc id whose last byte counts 255 tracks writes the 99 a disc can hold.
    writeFile(collection, "<040000FF03A98>\r\n [Album]\r\n  ID=040000FF03A98\r\n  TL=t\r\n");
    r = runCli(home.path(), {QStringLiteral("--collection"), collection, QStringLiteral("xmcd"),
                             QStringLiteral("write"), QStringLiteral("040000FF03A98")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nTTITLE98=")));
    EXPECT_FALSE(r.out.contains(QStringLiteral("\nTTITLE99=")));

    // A lookup never starts from a table of contents that cannot be a disc's.
    const auto lookup = [&](const QStringList &toc) {
        return runCli(home.path(),
                      QStringList{QStringLiteral("--collection"), collection,
                                  QStringLiteral("lookup"), QStringLiteral("remote"),
                                  QStringLiteral("--server"), QStringLiteral("127.0.0.1:9"),
                                  QStringLiteral("--protocol"), QStringLiteral("cddbp")} +
                          toc);
    };
    r = lookup({QStringLiteral("--leadout"), QStringLiteral("2147483647"), QStringLiteral("150")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("not a table of contents: the lead-out 2147483647 is beyond "
                                    "frame 449999\n"));
    r = lookup({QStringLiteral("--leadout"), QStringLiteral("30000"), QStringLiteral("15000"),
                QStringLiteral("150")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("not a table of contents: track 2 does not start after "
                                    "track 1\n"));
}
