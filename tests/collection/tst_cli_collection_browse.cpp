#include "CliRunner.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

struct BrowseCli
{
    TestHome home;
    QString path = home.file("browse.obc");

    BrowseCli()
    {
        writeFile(path, readFile(TestHome::sourceDir() + "/tests/data/collection/browse.obc"));
    }

    CliResult run(const QStringList &arguments)
    {
        return runCli(home.path(), QStringList({"--collection", path, "collection"}) + arguments);
    }
};

} // namespace

TEST(CliCollectionBrowse, GroupsAndSortedRows)
{
    BrowseCli b;
    CliResult r = b.run({"groups", "--by", "artist"});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, "The Beatles\t2\nBEE GEES\t1\nPink Floyd\t1\nJohn Smith\t1\n");
    EXPECT_EQ(b.run({"groups", "--by", "binder"}).out, "(None)\t4\nShelf 1\t1\n");

    r = b.run({"sorted"});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, "1000000000001\tAbbey Road\tThe Beatles\tRock\t1969\tAnn\n"
                     "4000000000004\tHelp\tBeatles\trock\t\t\n"
                     "2000000000002\tMain Course\tBEE GEES\tDisco\t1975\tBob\n"
                     "6000000000006\tZebra\tPink Floyd\tPop\t2001\tCy\n"
                     "3000000000003\tA Quiet Night\tJohn Smith\tJazz\t1990\tAnn\n");
    r = b.run({"sorted", "--order", "yo"});
    EXPECT_EQ(r.out.section('\n', 0, 0).left(13), "4000000000004");
    r = b.run({"sorted", "--group-by", "year", "--member", "(None)"});
    EXPECT_EQ(r.out, "4000000000004\tHelp\tBeatles\trock\t\t\n");
    r = b.run({"sorted", "--group-by", "artist", "--member", "beatles", "--order", "T"});
    EXPECT_EQ(r.out.count('\n'), 2);
    EXPECT_EQ(b.run({"sorted", "--group-by", "artist", "--member", "Nobody"}).exitCode, 1);
    EXPECT_EQ(b.run({"sorted", "--order", "AXT"}).exitCode, 2);
    EXPECT_EQ(b.run({"sorted", "--group-by", "artist"}).exitCode, 2);
    EXPECT_EQ(b.run({"groups", "--by", "colour"}).exitCode, 2);
}

TEST(CliCollectionBrowse, SearchRows)
{
    BrowseCli b;
    CliResult r = b.run({"search", "--type", "0", "be"});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, "1000000000001\tThe Beatles\tAbbey Road\n"
                     "2000000000002\tBEE GEES\tMain Course\n"
                     "4000000000004\tBeatles\tHelp\n");
    EXPECT_EQ(b.run({"search", "--type", "5", "LONDON"}).out,
              "1000000000001\t1\tRecorded\\nin London\n");
    EXPECT_EQ(b.run({"search", "--type", "0", " "}).exitCode, 1);
    EXPECT_EQ(b.run({"search", "--type", "2", "sunny"}).exitCode, 1);
    EXPECT_EQ(b.run({"search", "--type", "7", "be"}).exitCode, 2);

    // Custom fields defined in the settings take part in the any-field search.
    ASSERT_EQ(runCli(b.home.path(), {"settings", "set", "Custom Fields", "1", "Mood"}).exitCode, 0);
    EXPECT_EQ(b.run({"search", "--type", "2", "sunny"}).out,
              "1000000000001\tThe Beatles\tAbbey Road\n");
}

TEST(CliCollectionBrowse, StatisticsRows)
{
    BrowseCli b;
    CliResult r = b.run({"stats", "albums"});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, "2\tThe Beatles\tAbbey Road\n1\tBEE GEES\tMain Course\n");
    EXPECT_EQ(b.run({"stats", "tracks", "--merge"}).out,
              "7\tThe Beatles\tIntro\n5\tThe Beatles\tCome Together\n1\tBEE GEES\tJive Talkin'\n");
    EXPECT_EQ(b.run({"stats", "recent"}).out, "2023-03-18 20:00\tThe Beatles\tAbbey Road\n"
                                              "2023-03-16 19:30\tBEE GEES\tMain Course\n"
                                              "2023-03-14 21:15\tThe Beatles\tAbbey Road\n");
    EXPECT_EQ(b.run({"stats", "tracks"}).out.count('\n'), 4);
    // The merge option of the settings merges too.
    ASSERT_EQ(runCli(b.home.path(), {"settings", "flag", "32", "on"}).exitCode, 0);
    EXPECT_EQ(b.run({"stats", "tracks"}).out.count('\n'), 3);
    EXPECT_EQ(b.run({"stats", "albums", "--merge"}).exitCode, 2);

    TestHome empty;
    const QString cdRom = empty.file("cdrom.obc");
    writeFile(cdRom, "<5000000000005>\n [Album]\n  ID=5000000000005\n [Media]\n  MD=65540\n");
    for (const QStringList &verb :
         {QStringList{"stats", "albums"}, {"groups", "--by", "year"}, {"sorted"}}) {
        r = runCli(empty.path(), QStringList({"--collection", cdRom, "collection"}) + verb);
        EXPECT_EQ(r.exitCode, 1) << qPrintable(verb.join(' '));
        EXPECT_TRUE(r.out.isEmpty());
    }
}
