// Recognition beyond CDDB from the command line: a disc's CD-Text, MusicBrainz after an empty
// CDDB server, and the MusicBrainz lookup with its list and choice.

#include "CddbPeer.h"
#include "CliRunner.h"
#include "ServicePeer.h"
#include "TestHome.h"

#include "cddb/MusicBrainzDiscId.h"
#include "collection/DiscId.h"
#include "playback/DiscImageWriter.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QByteArray releaseReply(const QStringList &ids, const QString &discId)
{
    QJsonArray releases;
    for (const QString &id : ids) {
        const QJsonArray tracks{QJsonObject{{QStringLiteral("title"), QStringLiteral("Intro")}},
                                QJsonObject{{QStringLiteral("title"), QStringLiteral("Song")}}};
        const QJsonObject medium{
            {QStringLiteral("discs"), QJsonArray{QJsonObject{{QStringLiteral("id"), discId}}}},
            {QStringLiteral("tracks"), tracks}};
        releases.append(
            QJsonObject{{QStringLiteral("id"), id},
                        {QStringLiteral("title"), QStringLiteral("Found Album ") + id.right(1)},
                        {QStringLiteral("date"), QStringLiteral("1999-03-01")},
                        {QStringLiteral("artist-credit"),
                         QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("Mb Band")},
                                                {QStringLiteral("joinphrase"), QString()}}}},
                        {QStringLiteral("media"), QJsonArray{medium}}});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("releases"), releases}}).toJson();
}

class CliMusicBrainz : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writer.addSilentTrack(75 * 10);
        writer.addSilentTrack(75 * 12);
        cue = home.file(QStringLiteral("disc.cue"));
        const QList<int> starts = writer.trackStarts().mid(0, 2);
        albumId = AlbumId(starts, writer.leadOut());
        toc.last = 2;
        toc.leadOut = writer.leadOut();
        toc.offsets = starts;
        discId = MusicBrainzDiscId(toc);
    }
    int set(const QString &section, const QString &name, const QString &value)
    {
        return runCli(home.path(),
                      {QStringLiteral("settings"), QStringLiteral("set"), section, name, value})
            .exitCode;
    }
    QString show()
    {
        return runCli(home.path(), {QStringLiteral("collection"), QStringLiteral("show"), albumId})
            .out;
    }

    TestHome home;
    DiscImageWriter writer;
    QString cue;
    QString albumId;
    DiscToc toc;
    QString discId;
};

} // namespace

TEST_F(CliMusicBrainz, CdTextIsReadWithNoNetwork)
{
    writer.setCdText(QStringLiteral("Text Band"), QStringLiteral("Text Album"),
                     {QStringLiteral("First \"Song\""), QStringLiteral("Second Song")});
    ASSERT_TRUE(writer.write(cue));
    const CliResult result =
        runCli(home.path(), {QStringLiteral("recognise"), cue, QStringLiteral("--no-remote")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(
        result.out,
        QStringLiteral("cd-text\nalbum %1\nartist Text Band\ntitle Text Album\n").arg(albumId));
    const QString album = show();
    EXPECT_TRUE(album.contains(QLatin1String("First 'Song'"), Qt::CaseInsensitive))
        << album.toStdString();
    EXPECT_TRUE(album.contains(QLatin1String("Second Song")));
}

TEST_F(CliMusicBrainz, DiscUnknownToCddbIsFoundOnMusicBrainz)
{
    ASSERT_TRUE(writer.write(cue));
    CddbPeer cddb;
    ASSERT_TRUE(cddb.start());
    ServicePeer musicBrainz;
    ASSERT_TRUE(musicBrainz.startMusicBrainz(
        {{discId, ServicePeer::reply(200, releaseReply({QStringLiteral("rel-1")}, discId))}}));
    ASSERT_EQ(set(QStringLiteral("CDDB"), QStringLiteral("Server"), QStringLiteral("127.0.0.1")),
              0);
    ASSERT_EQ(
        set(QStringLiteral("CDDB"), QStringLiteral("Port"), QString::number(cddb.cddbpPort())), 0);
    ASSERT_EQ(set(QStringLiteral("MusicBrainz"), QStringLiteral("Server"), musicBrainz.url()), 0);
    ASSERT_EQ(runCli(home.path(), {QStringLiteral("settings"), QStringLiteral("flag"),
                                   QStringLiteral("2"), QStringLiteral("on")})
                  .exitCode,
              0);

    const CliResult result = runCli(home.path(), {QStringLiteral("recognise"), cue});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out,
              QStringLiteral("musicbrainz\nalbum %1\nartist Mb Band\ntitle Found Album 1\n")
                  .arg(albumId));
    EXPECT_FALSE(cddb.transcript().isEmpty());
    const QString album = show();
    EXPECT_TRUE(album.contains(QLatin1String("MusicBrainzRelease=rel-1"))) << album.toStdString();
    EXPECT_TRUE(album.contains(QLatin1String("1999")));

    // Preferred, MusicBrainz answers before the CDDB server is asked.
    const int asked = int(cddb.transcript().size());
    ASSERT_EQ(set(QStringLiteral("MusicBrainz"), QStringLiteral("Prefer"), QStringLiteral("1")), 0);
    const CliResult preferred = runCli(home.path(), {QStringLiteral("recognise"), cue});
    EXPECT_TRUE(preferred.out.startsWith(QLatin1String("musicbrainz\n")));
    EXPECT_EQ(cddb.transcript().size(), asked);

    // A busy service is named on stderr, and nothing is found.
    QJsonObject busy = ServicePeer::reply(503, "{}");
    busy.insert(QStringLiteral("retry_after"), 7);
    musicBrainz.setRoutes({{discId, busy}});
    ASSERT_EQ(set(QStringLiteral("MusicBrainz"), QStringLiteral("Prefer"), QStringLiteral("0")), 0);
    runCli(home.path(), {QStringLiteral("collection"), QStringLiteral("delete"), albumId});
    const CliResult refused = runCli(home.path(), {QStringLiteral("recognise"), cue});
    EXPECT_TRUE(refused.err.contains(QLatin1String("busy"))) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QLatin1String("7 seconds")));
}

TEST_F(CliMusicBrainz, LookupListsReleasesAndAppliesTheChosenOne)
{
    ServicePeer musicBrainz;
    ASSERT_TRUE(musicBrainz.startMusicBrainz(
        {{discId,
          ServicePeer::reply(
              200, releaseReply({QStringLiteral("rel-1"), QStringLiteral("rel-2")}, discId))}}));
    QStringList args{QStringLiteral("lookup"),   QStringLiteral("musicbrainz"),
                     QStringLiteral("--server"), musicBrainz.url(),
                     QStringLiteral("--toc"),    QStringLiteral("1"),
                     QStringLiteral("2"),        QString::number(toc.leadOut)};
    for (int offset : toc.offsets)
        args.append(QString::number(offset));
    const CliResult list = runCli(home.path(), args);
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(list.out, QStringLiteral("discid %1\n"
                                       "release rel-1 1999 2 Mb Band / Found Album 1\n"
                                       "release rel-2 1999 2 Mb Band / Found Album 2\n")
                            .arg(discId));
    EXPECT_EQ(show(), QString());

    const CliResult chosen =
        runCli(home.path(), args + QStringList{QStringLiteral("--choose"), QStringLiteral("2")});
    EXPECT_EQ(chosen.exitCode, 0) << chosen.err.toStdString();
    EXPECT_TRUE(chosen.out.endsWith(QStringLiteral("applied %1\n").arg(albumId)));
    EXPECT_TRUE(show().contains(QLatin1String("MusicBrainzRelease=rel-2")));

    musicBrainz.setRoutes({{discId, ServicePeer::reply(200, "{\"releases\": 5}")}});
    const CliResult malformed =
        runCli(home.path(), args + QStringList{QStringLiteral("--choose"), QStringLiteral("1")});
    EXPECT_EQ(malformed.exitCode, 2);
    EXPECT_TRUE(show().contains(QLatin1String("Found Album 2")));
    EXPECT_EQ(runCli(home.path(), {QStringLiteral("lookup"), QStringLiteral("musicbrainz"),
                                   QStringLiteral("--toc"), QStringLiteral("1")})
                  .exitCode,
              2);
}

TEST_F(CliMusicBrainz, CoverFetchStoresThePictureOfTheAlbumsRelease)
{
    const QString picture = home.file(QStringLiteral("front.jpg"));
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(picture, "JPG"));
    ServicePeer covers;
    ASSERT_TRUE(covers.startCover({QStringLiteral("rel-7=") + picture}));
    const QStringList fetch{QStringLiteral("cover"),    QStringLiteral("fetch"),
                            QStringLiteral("--album"),  albumId,
                            QStringLiteral("--server"), covers.url()};
    EXPECT_EQ(runCli(home.path(), fetch).exitCode, 1) << "no album yet";

    writer.setCdText(QStringLiteral("Band"), QStringLiteral("Album"), {});
    ASSERT_TRUE(writer.write(cue));
    ASSERT_EQ(runCli(home.path(), {QStringLiteral("recognise"), cue, QStringLiteral("--no-remote")})
                  .exitCode,
              0);
    const CliResult noRelease = runCli(home.path(), fetch);
    EXPECT_EQ(noRelease.exitCode, 1);
    EXPECT_TRUE(noRelease.err.contains(QLatin1String("release id")));

    ASSERT_EQ(
        runCli(home.path(), {QStringLiteral("collection"), QStringLiteral("set"), albumId,
                             QStringLiteral("custom"), QStringLiteral("MusicBrainzRelease=rel-7")})
            .exitCode,
        0);
    const CliResult fetched = runCli(home.path(), fetch);
    EXPECT_EQ(fetched.exitCode, 0) << fetched.err.toStdString();
    const QString path = fetched.out.trimmed();
    EXPECT_EQ(path, home.path() + QStringLiteral("/covers/") + albumId + QStringLiteral(".jpg"));
    EXPECT_FALSE(QImage(path).isNull());
}
