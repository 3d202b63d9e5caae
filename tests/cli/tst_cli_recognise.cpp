// "toc" names the media identity, and "recognise" runs the player's recognition stages.

#include "base/AppPaths.h"
#include "CliRunner.h"
#include "collection/DiscId.h"
#include "collection/SettingsStore.h"
#include "playback/DiscImageWriter.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

class CliRecognise : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writer.addSilentTrack(75 * 10);
        writer.addSilentTrack(75 * 12);
        writer.addSilentTrack(75 * 8);
        cue = home.file(QStringLiteral("disc.cue"));
        ASSERT_TRUE(writer.write(cue));
        const QList<int> starts = writer.trackStarts().mid(0, 3);
        albumId = AlbumId(starts, writer.leadOut());
        identity = MediaIdentity(starts, writer.leadOut());
    }
    void write(const QString &path, const QByteArray &text)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void writeLocalEntry()
    {
        const QByteArray id = albumId.left(8).toLower().toLatin1();
        write(home.file(QStringLiteral("cddb/jazz/")) + QString::fromLatin1(id),
              "# xmcd\nDISCID=" + id +
                  "\nDTITLE=Local Band / Local Album\nTTITLE0=a\nTTITLE1=b\nTTITLE2=c\n"
                  "EXTD=\nEXTT0=\nEXTT1=\nEXTT2=\nPLAYORDER=\n");
    }
    CliResult recognise() { return runCli(home.path(), {QStringLiteral("recognise"), cue}); }

    TestHome home;
    DiscImageWriter writer;
    QString cue;
    QString albumId;
    QString identity;
};

} // namespace

TEST_F(CliRecognise, TocNamesTheMediaIdentity)
{
    const CliResult toc = runCli(home.path(), {QStringLiteral("toc"), cue});
    EXPECT_EQ(toc.exitCode, 0);
    EXPECT_TRUE(toc.out.contains(QStringLiteral("\nidentity ") + identity + QLatin1Char('\n')))
        << toc.out.toStdString();
    EXPECT_FALSE(identity.startsWith(QLatin1Char('0')));
    EXPECT_EQ(identity, identity.toUpper());
}

TEST_F(CliRecognise, UnknownDiscIsNotFoundAndLeavesNoAlbum)
{
    const CliResult result =
        runCli(home.path(), {QStringLiteral("recognise"), cue, QStringLiteral("--no-remote")});
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringLiteral("not-found\n"));
    const CliResult list =
        runCli(home.path(), {QStringLiteral("collection"), QStringLiteral("show"), albumId});
    EXPECT_EQ(list.exitCode, 1) << list.out.toStdString();
    EXPECT_EQ(runCli(home.path(), {QStringLiteral("recognise")}).exitCode, 2);
}

TEST_F(CliRecognise, StagesRunInThePlayersOrder)
{
    writeLocalEntry();
    const CliResult local = recognise();
    EXPECT_EQ(local.exitCode, 0) << local.err.toStdString();
    EXPECT_EQ(
        local.out,
        QStringLiteral("local\nalbum %1\nartist Local Band\ntitle Local Album\n").arg(albumId));

    {
        SettingsStore other(AppPaths::settingsFile(), QStringLiteral("Software"));
        const QString key =
            QStringLiteral("GHL Software\\EasyCD\\1.0\\CD Information\\") + identity;
        other.writeString(key, QStringLiteral("cddbID"), albumId.left(8).toLower());
        other.writeString(key, QStringLiteral("Artist"), QStringLiteral("Second Band"));
        other.writeString(key, QStringLiteral("Title"), QStringLiteral("Second Album"));
        ASSERT_TRUE(other.sync());
    }
    const CliResult second = recognise();
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(second.out.startsWith(QStringLiteral("other-player\n")))
        << second.out.toStdString();
    EXPECT_TRUE(second.out.contains(QStringLiteral("artist Second Band\n")));

    write(home.file(QStringLiteral("CDPLAYER.INI")), "[" + identity.toLatin1() +
                                                         "]\r\nEntryType=1\r\nartist=First Band\r\n"
                                                         "title=First Album\r\nnumtracks=3\r\n");
    const CliResult first = recognise();
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.out, QStringLiteral("cdplayer-ini\nalbum %1\nartist First Band\ntitle First "
                                        "Album\n")
                             .arg(albumId));
}
