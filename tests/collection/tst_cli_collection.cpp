#include "CliRunner.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// A hand-written collection: LF line ends, a Windows-1252 artist, a lower-case ID and a
// block without an ID.
struct HandWritten
{
    TestHome home;
    QString path = home.file("hand.obc");

    HandWritten()
    {
        QFile::copy(TestHome::sourceDir() + "/tests/data/collection/handwritten.obc", path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    CliResult run(const QStringList &arguments)
    {
        return runCli(home.path(), QStringList({"--collection", path}) + arguments);
    }
};

} // namespace

TEST(CliCollection, ListAndShowHandWrittenFiles)
{
    HandWritten h;
    const CliResult list = h.run({"collection", "list"});
    EXPECT_EQ(list.exitCode, 0) << qPrintable(list.err);
    EXPECT_EQ(list.out, QString::fromUtf8("0a00000000001\tMotörhead\tAce of Spades\n"
                                          "FF00000000002\tCafé Tacvba\tRe\n"));
    EXPECT_FALSE(readFile(h.path).contains("NoId"));

    const CliResult show = h.run({"collection", "show", "0A00000000001"});
    EXPECT_EQ(show.exitCode, 0);
    EXPECT_EQ(show.out, QString::fromUtf8("<0a00000000001>\r\n [Album]\r\n  ID=0a00000000001\r\n"
                                          "  AR=Motörhead\r\n  TL=Ace of Spades\r\n [Media]\r\n"
                                          "  MD=65537\r\n [Tracks]\r\n  CT=2\r\n  TT[1]=Ace\r\n"
                                          "  TT[2]=Love Me Like a Reptile\r\n"));
    EXPECT_EQ(h.run({"collection", "show", "0B00000000001"}).exitCode, 1);
}

TEST(CliCollection, SetDeleteAndMerge)
{
    HandWritten h;
    CliResult r = h.run({"collection", "set", "0a00000000001", "track-title:-1", "One\\rTwo"});
    EXPECT_EQ(r.out, "changed\n");
    r = h.run({"collection", "set", "0A00000000001", "artist", QString::fromUtf8("Motörhead")});
    EXPECT_EQ(r.out, "unchanged\n");
    r = h.run({"collection", "set", "0A00000000001", "weblinks",
               "http://a.example\\x0eHome\\x0e1\\rhttp://b.example"});
    EXPECT_EQ(r.out, "changed\n");
    EXPECT_EQ(h.run({"collection", "set", "0A00000000009", "title", "x"}).exitCode, 1);
    EXPECT_EQ(h.run({"collection", "set", "0A00000000001", "colour", "x"}).exitCode, 2);
    const QByteArray written = readFile(h.path);
    EXPECT_TRUE(written.contains("  TT[1]=One\r\n  TT[2]=Two\r\n"));
    EXPECT_TRUE(written.contains("  WT[1]=Home\r\n  WU[1]=http://a.example\r\n  WF[1]=1\r\n"));
    EXPECT_TRUE(written.contains("  AR=Mot\xC3\xB6rhead\r\n"));

    const QString other = h.home.file("other.obc");
    writeFile(other, "<X>\n[Album]\nID=0C00000000003\nTL=New\n[Media]\nMD=65537\n");
    r = h.run({"collection", "merge", other});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, "albums 3\n");
    EXPECT_EQ(h.run({"collection", "merge", h.path}).exitCode, 2);

    r = h.run({"collection", "delete", "ff00000000002"});
    EXPECT_EQ(r.out, "deleted\n");
    EXPECT_EQ(h.run({"collection", "delete", "ff00000000002"}).exitCode, 1);
    EXPECT_EQ(h.run({"collection", "list"}).out.count('\n'), 2);
}

TEST(CliCollection, ConvertFromAFolder)
{
    TestHome home;
    const CliResult r =
        runCli(home.path(), {"--collection", home.file("c.obc"), "convert", "--from",
                             TestHome::sourceDir() + "/tests/data/collection/old"});
    // Albums left unconverted make the run a failure, with the counts still printed.
    EXPECT_EQ(r.exitCode, 2) << qPrintable(r.err);
    EXPECT_EQ(r.out, "converted 1\nfailed 2\n");
    EXPECT_TRUE(QFile::exists(home.file("CONVLOG.TXT")));
    EXPECT_TRUE(readFile(home.file("c.obc")).startsWith("<04018E0207530>\r\n"));
}

// A process killed while it writes the collection leaves the old file or the new one. The CLI
// announces on stderr when the write begins and ends, so each kill is timed from the start of
// the write, and the test counts the kills that landed before the write ended.
TEST(CliCollection, KilledDuringSaveLeavesOldOrNew)
{
    TestHome home;
    const QString path = home.file("big.obc");
    QByteArray old;
    for (int n = 0; n < 20000; ++n) {
        const QByteArray id = QByteArray::number(0x10000000 + n * 7919, 16).toUpper() + "00096";
        old += "<" + id + ">\r\n [Album]\r\n  ID=" + id + "\r\n  TL=Title " +
               QByteArray::number(n) + "\r\n [Tracks]\r\n  CT=12\r\n";
        for (int t = 1; t <= 12; ++t)
            old += "  TT[" + QByteArray::number(t) + "]=Some track title that is long enough\r\n";
    }
    writeFile(path, old);
    const QString id = "100000000"
                       "0096";
    const QStringList arguments{"--home", home.path(), "--collection", path,     "collection",
                                "set",    id,          "title",        "Renamed"};
    const QString cli = TestHome::program("orbisong-cli");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ORBISONG_ANNOUNCE_WRITES", "1");

    QProcess finish;
    finish.setProcessEnvironment(environment);
    finish.start(cli, arguments);
    ASSERT_TRUE(finish.waitForFinished(60000));
    EXPECT_TRUE(finish.readAllStandardError().contains("write begins\nwrite ends\n"));
    const QByteArray renamed = readFile(path);
    ASSERT_NE(renamed, old);
    writeFile(path, old);

    const int kills = 20;
    int midWrite = 0;
    for (int n = 0; n < kills; ++n) {
        QProcess victim;
        victim.setProcessEnvironment(environment);
        victim.setReadChannel(QProcess::StandardError);
        victim.start(cli, arguments);
        ASSERT_TRUE(victim.waitForStarted());
        QByteArray announced;
        while (!announced.contains("write begins\n") && victim.waitForReadyRead(60000))
            announced += victim.readAllStandardError();
        ASSERT_TRUE(announced.contains("write begins\n")) << "kill " << n;
        QThread::usleep(n * 500);
        victim.kill();
        ASSERT_TRUE(victim.waitForFinished(60000));
        announced += victim.readAllStandardError();
        const QByteArray now = readFile(path);
        ASSERT_TRUE(now == old || now == renamed) << "kill " << n << " at " << n * 500 << " us";
        if (!announced.contains("write ends\n") && now == old)
            ++midWrite;
        writeFile(path, old);
    }
    EXPECT_GE(midWrite, kills / 4) << midWrite << " of " << kills << " kills landed mid-write";
}
