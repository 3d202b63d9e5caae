#include "CliRunner.h"
#include "ExportFixture.h"

#include <gtest/gtest.h>

// The export commands on the collection of --collection, as a script would use them.
TEST(CliExport, WritesEachFormat)
{
    ExportFixture f;
    const QString site = f.home.file(QStringLiteral("site/pages"));
    CliResult html =
        runCli(f.home.path(), {"--collection", f.path, "export", "html", "--to", site});
    ASSERT_EQ(html.exitCode, 0) << html.err.toStdString();
    EXPECT_EQ(html.out, QStringLiteral("5\n"));
    EXPECT_EQ(filesIn(site).size(), 6); // the index and one page per album

    const QString text = f.home.file(QStringLiteral("albums.txt"));
    CliResult ascii =
        runCli(f.home.path(), {"--collection", f.path, "export", "text", "--to", text});
    ASSERT_EQ(ascii.exitCode, 0) << ascii.err.toStdString();
    EXPECT_EQ(readFile(text), readFile(ExportFixture::data(QStringLiteral("golden/albums.txt"))));

    const QString obc = f.home.file(QStringLiteral("albums.obc"));
    CliResult blocks =
        runCli(f.home.path(), {"--collection", f.path, "export", "collection", "--to", obc,
                               "--albums", "5000000000005,2000000000002"});
    EXPECT_EQ(blocks.out, QStringLiteral("2\n"));
    EXPECT_EQ(readFile(obc), readFile(ExportFixture::data(QStringLiteral("golden/albums.obc"))));
}

TEST(CliExport, FailsWithTheMessages)
{
    ExportFixture f;
    const QByteArray before = readFile(f.path);
    CliResult self =
        runCli(f.home.path(), {"--collection", f.path, "export", "collection", "--to", f.path});
    EXPECT_EQ(self.exitCode, 2);
    EXPECT_EQ(readFile(f.path), before);

    CliResult noTemplate =
        runCli(f.home.path(), {"--collection", f.path, "export", "html", "--to",
                               f.home.file("site"), "--template", f.home.file("none.obt")});
    EXPECT_EQ(noTemplate.exitCode, 2);
    EXPECT_TRUE(noTemplate.err.contains(QStringLiteral("You have not selected a template file.")));

    CliResult noPlace =
        runCli(f.home.path(), {"--collection", f.path, "export", "text", "--to", ""});
    EXPECT_EQ(noPlace.exitCode, 2);
    EXPECT_TRUE(noPlace.err.contains(QStringLiteral("You have not specified a location.")));

    EXPECT_EQ(runCli(f.home.path(), {"export", "pdf", "--to", "x"}).exitCode, 2);
    EXPECT_EQ(runCli(f.home.path(), {"export", "text", "--bogus", "x"}).exitCode, 2);
}
