#include "CliRunner.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <gtest/gtest.h>

namespace {

const QString AlbumId = QStringLiteral("1A0203A980001");

QByteArray albumBlock(int flags)
{
    const QByteArray id = AlbumId.toLatin1();
    return "<" + id + ">\r\n [Album]\r\n  ID=" + id +
           "\r\n  TL=Songs\r\n  AR=Band\r\n  FL=" + QByteArray::number(flags) +
           "\r\n [Media]\r\n  MD=65537\r\n [Tracks]\r\n  CT=2\r\n"
           " [Playlists]\r\n  CT=1\r\n  CU=Mine\r\n  PL[1]=Mine\r\n"
           " [Mine]\r\n  CT=1\r\n  ST[1]=Two\r\n  SS[1]=2\r\n  SE[1]=2\r\n"
           "  SS1[1]=procedure On_ItemPlay\\n  StatusMessage('step', 3)\\nendproc\r\n"
           " [Events]\r\n"
           "  AE[1]=procedure Main\\n  Execute('https://example.org/band')\\n  Weblink(1)\\n"
           "endproc\r\n";
}

struct EventCollection
{
    TestHome home;
    QString path = home.file(QStringLiteral("albums.obc"));

    explicit EventCollection(int flags = 0) { writeFile(path, albumBlock(flags)); }

    CliResult fire(const QStringList &arguments, const QByteArray &input = {})
    {
        return runCli(home.path(),
                      QStringList({QStringLiteral("--collection"), path, QStringLiteral("event"),
                                   QStringLiteral("fire")}) +
                          arguments,
                      input);
    }
    QString script(const QString &name, const QByteArray &text)
    {
        const QString file = home.file(name);
        writeFile(file, text);
        return file;
    }
};

} // namespace

TEST(CliEvent, AlbumAndStepScriptsRunWithHostCallsPrinted)
{
    EventCollection c;
    CliResult r = c.fire({"On_AlbumInsert", "--album", AlbumId});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("host: OpenUrl https://example.org/band\nhost: Weblink 1\n"));
    r = c.fire({"On_ItemPlay", "--album", AlbumId, "--step", "1"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("host: StatusMessage step | 3\n"));
    // The stored eject script is empty: the default script runs and does nothing.
    r = c.fire({"On_AlbumEject", "--album", AlbumId});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(c.fire({"On_ItemPlay", "--album", AlbumId, "--step", "2"}).exitCode, 1);
    EXPECT_EQ(c.fire({"On_Nothing", "--album", AlbumId}).exitCode, 2);
}

TEST(CliEvent, ErrorsAndMissingMainEndWithTheirTexts)
{
    EventCollection c;
    const QString failing =
        c.script(QStringLiteral("fail.qs"), "procedure Main\n  StatusMessage('x', 0)\n  Nowhere()\n"
                                            "endproc\n");
    CliResult r = c.fire({"On_TimerPlay", "--script", failing});
    EXPECT_EQ(r.exitCode, 100);
    EXPECT_EQ(r.out, QStringLiteral("host: StatusMessage x | 0\n"));
    EXPECT_TRUE(r.err.endsWith(
        QStringLiteral(" on line 3 of procedure \"MAIN\" for event \"On_TimerPlay\".\n")))
        << r.err.toStdString();

    const QString other = c.script(QStringLiteral("other.qs"), "procedure On_ItemPlay\nendproc\n");
    r = c.fire({"On_TimerStop", "--script", other});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(
        QStringLiteral("No main() procedure found in script for 'On_TimerStop' event.")));
}

TEST(CliEvent, AnImportedAlbumsScriptsWaitUntilAllowedOnce)
{
    // The other user had allowed them; this user has not.
    EventCollection c;
    TestHome otherHome;
    const QString other = otherHome.file(QStringLiteral("other.obc"));
    writeFile(other, albumBlock(8));
    writeFile(c.path, {});
    ASSERT_EQ(
        runCli(c.home.path(), {"--collection", c.path, "collection", "merge", other}).exitCode, 0);

    CliResult r = c.fire({"On_AlbumInsert", "--album", AlbumId}, "no\n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, QStringLiteral("host: AllowScript Band - Songs\n"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("held back")));

    r = c.fire({"On_AlbumInsert", "--album", AlbumId}, "yes\n");
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("host: AllowScript Band - Songs\n"
                                    "host: OpenUrl https://example.org/band\nhost: Weblink 1\n"));

    r = c.fire({"On_ItemPlay", "--album", AlbumId, "--step", "1"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("host: StatusMessage step | 3\n"));
}
