#include "CliRunner.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <gtest/gtest.h>

namespace {

// More albums than the size at which the collection asks whether to stay in memory.
constexpr int LargeCount = 150;

// Albums of two tracks with distinct disc ids.
QString idOf(int n)
{
    return QStringLiteral("%1").arg(0x100000u + unsigned(n) * 7919u, 6, 16).toUpper() +
           QStringLiteral("0203A98");
}

// A collection large enough to ask its question on every load, since the command line keeps
// no peak count between runs.
struct LargeCollection
{
    TestHome home;
    QString path = home.file(QStringLiteral("large.obc"));

    LargeCollection()
    {
        QByteArray text;
        for (int n = 0; n < LargeCount; ++n) {
            const QByteArray id = idOf(n).toLatin1();
            text += "<" + id + ">\r\n [Album]\r\n  ID=" + id + "\r\n  TL=Title " +
                    QByteArray::number(n) +
                    "\r\n  AR=Artist\r\n [Media]\r\n  MD=65537\r\n"
                    " [Tracks]\r\n  CT=2\r\n";
        }
        writeFile(path, text);
    }

    CliResult run(const QStringList &arguments)
    {
        return runCli(home.path(), QStringList({QStringLiteral("--collection"), path}) + arguments);
    }
};

} // namespace

TEST(CliQuestions, ALargeCollectionIsAnsweredWithoutAWord)
{
    LargeCollection c;
    CliResult r = c.run({"collection", "list"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.count(QLatin1Char('\n')), LargeCount);
    EXPECT_TRUE(r.err.isEmpty()) << qPrintable(r.err);

    r = c.run({"collection", "set", idOf(3), "title", "Renamed"});
    EXPECT_EQ(r.out, "changed\n");
    EXPECT_TRUE(r.err.isEmpty()) << qPrintable(r.err);
    r = c.run({"collection", "show", idOf(3)});
    EXPECT_TRUE(r.out.contains("TL=Renamed"));
    EXPECT_TRUE(r.err.isEmpty()) << qPrintable(r.err);

    // The entry commands open the same collection their own way.
    r = c.run({"xmcd", "write", idOf(3)});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("DTITLE=Artist / Renamed"));
    EXPECT_TRUE(r.err.isEmpty()) << qPrintable(r.err);
    const QString entry = c.home.file(QStringLiteral("entry.txt"));
    writeFile(entry,
              "# xmcd\nDISCID=04018e02\nDTITLE=Some Band / Best Of\nTTITLE0=one\nTTITLE1=two\n");
    r = c.run(
        {"xmcd", "apply", entry, "--album", "04018E0203A98", "--category", "rock", "--create"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.isEmpty()) << qPrintable(r.err);
    EXPECT_TRUE(readFile(c.path).contains("TL=Best Of"));
}

TEST(CliQuestions, ErrorsStillReachStandardError)
{
    LargeCollection c;
    const CliResult r = c.run({"collection", "merge", c.home.file(QStringLiteral("none.obc"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("no such file")) << qPrintable(r.err);

    // A notice of the collection itself is printed, not answered silently.
    TestHome home;
    const CliResult convert =
        runCli(home.path(), {"--collection", home.file("c.obc"), "convert", "--from",
                             TestHome::sourceDir() + "/tests/data/collection/old"});
    EXPECT_EQ(convert.exitCode, 2);
    EXPECT_EQ(convert.err.toStdString(),
              "Some album(s) were not converted. Your collection contained 2 albums that were "
              "created by a very old version of Orbisong and could not be converted. They did "
              "not contain all necessary information. See CONVLOG.TXT for details.\n"
              "2 album files could not be converted\n");
}
