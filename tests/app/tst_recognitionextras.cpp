// The player recognising discs beyond CDDB: from the disc's CD-Text with no network, and from
// MusicBrainz after an empty CDDB server, with the release's cover in the album area, the
// properties window and MPRIS; and a picture dropped on the album area.

#include "CddbPeer.h"
#include "ServicePeer.h"
#include "TestHome.h"
#include "TestWindows.h"

#include "app/AlbumWindows.h"
#include "app/RecognitionExtras.h"
#include "app/StartupSequence.h"
#include "cddb/CddbApply.h"
#include "cddb/MusicBrainzDiscId.h"
#include "collection/AlbumCover.h"
#include "collection/SettingsSession.h"
#include "playback/DiscImageWriter.h"
#include "player/DiscRecognizer.h"
#include "player/mpris/MprisControls.h"
#include "player/mpris/MprisPlayerAdaptor.h"
#include "player/PlayerEngine.h"
#include "ui/album/TAlbumPropertiesForm.h"
#include "ui/player/PlayerDetailPanel.h"
#include "ui/player/TPlayerForm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QImage coverPicture()
{
    QImage image(250, 250, QImage::Format_RGB32);
    image.fill(QColor(30, 60, 120));
    QPainter painter(&image);
    painter.setBrush(QColor(240, 190, 60));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(125, 125), 90, 90);
    painter.setBrush(QColor(30, 60, 120));
    painter.drawEllipse(QPoint(125, 125), 20, 20);
    return image;
}

QByteArray oneRelease(const QString &discId)
{
    QJsonArray tracks;
    for (const char *title : {"Morning", "Noon", "Night"})
        tracks.append(QJsonObject{{QStringLiteral("title"), QLatin1String(title)}});
    const QJsonObject medium{
        {QStringLiteral("discs"), QJsonArray{QJsonObject{{QStringLiteral("id"), discId}}}},
        {QStringLiteral("tracks"), tracks}};
    const QJsonObject release{
        {QStringLiteral("id"), QStringLiteral("rel-1")},
        {QStringLiteral("title"), QStringLiteral("Daylight")},
        {QStringLiteral("date"), QStringLiteral("2004")},
        {QStringLiteral("artist-credit"),
         QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("The Hours")},
                                {QStringLiteral("joinphrase"), QString()}}}},
        {QStringLiteral("media"), QJsonArray{medium}}};
    return QJsonDocument(QJsonObject{{QStringLiteral("releases"), QJsonArray{release}}}).toJson();
}

class RecognitionExtrasTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true");
        writer.addSilentTrack(75 * 20);
        writer.addSilentTrack(75 * 30);
        writer.addSilentTrack(75 * 25);
        cue = home.file(QStringLiteral("disc.cue"));
        toc.last = 3;
        toc.leadOut = writer.leadOut();
        toc.offsets = writer.trackStarts().mid(0, 3);
    }

    TestHome home;
    DiscImageWriter writer;
    QString cue;
    DiscToc toc;
};

} // namespace

TEST_F(RecognitionExtrasTest, CdTextNamesTheDiscWithoutAnyLookup)
{
    writer.setCdText(QStringLiteral("Text Band"), QStringLiteral("Text Album"),
                     {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    ASSERT_TRUE(writer.write(cue));
    StartupSequence startup({cue});
    ASSERT_TRUE(startup.start());
    PlayerEngine *engine = startup.player()->engine();
    ASSERT_TRUE(waitFor([&] { return engine->current().album.title == "Text Album"; }));
    EXPECT_EQ(engine->current().album.artist, "Text Band");
    EXPECT_EQ(engine->current().album.source, int(SourceCdText));
    EXPECT_EQ(engine->current().album.trackTitles[2], "B");
}

TEST_F(RecognitionExtrasTest, MusicBrainzReleaseBringsItsCover)
{
    ASSERT_TRUE(writer.write(cue));
    CddbPeer cddb;
    // A server without a welcome message: the greeting window would wait for a person.
    ASSERT_TRUE(cddb.start({QStringLiteral("--motd-status"), QStringLiteral("401")}));
    ServicePeer musicBrainz;
    const QString discId = MusicBrainzDiscId(toc);
    ASSERT_TRUE(
        musicBrainz.startMusicBrainz({{discId, ServicePeer::reply(200, oneRelease(discId))}}));
    const QString pictureFile = home.file(QStringLiteral("front.jpg"));
    ASSERT_TRUE(coverPicture().save(pictureFile, "JPG"));
    ServicePeer covers;
    ASSERT_TRUE(covers.startCover({QStringLiteral("rel-1=") + pictureFile}));
    {
        SettingsSession session;
        Settings &settings = session.settings();
        settings.cddbServer = QStringLiteral("127.0.0.1");
        settings.cddbPort = QString::number(cddb.cddbpPort());
        settings.cddbProtocol = QStringLiteral("CDDBP");
        settings.musicBrainzServer = musicBrainz.url();
        settings.coverArtServer = covers.url();
        settings.SetOptionFlag(_GLOB_OPTION_AUTORCDDB, true);
        settings.SetOptionFlag(_GLOB_OPTION_USEALBWIZ, false);
        settings.SetOptionFlag(_GLOB_OPTION_SHOWTOTD, false);
        settings.startCount = 5; // not a first start: no setup wizard
        ASSERT_TRUE(session.save());
    }

    StartupSequence startup({cue});
    ASSERT_TRUE(startup.start());
    TPlayerForm *player = startup.player();
    PlayerEngine *engine = player->engine();
    ASSERT_TRUE(waitFor([&] { return engine->current().album.title == "Daylight"; }));
    EXPECT_EQ(engine->current().album.artist, "The Hours");
    EXPECT_EQ(engine->current().album.source, int(SourceMusicBrainz));
    EXPECT_EQ(engine->current().album.trackTitles[3], "Night");
    EXPECT_FALSE(cddb.transcript().isEmpty()) << "CDDB is asked first";
    const QString albumId = engine->current().disc.id;
    ASSERT_TRUE(waitFor([&] { return player->detailPanel()->coverShown(); }));
    EXPECT_EQ(AlbumCover::path(albumId),
              home.path() + QStringLiteral("/covers/") + albumId + QStringLiteral(".jpg"));
    EXPECT_EQ(engine->current().album.year, "2004");
    EXPECT_TRUE(
        engine->current().album.customData.contains(QStringLiteral("MusicBrainzRelease=rel-1")));
    player->show();
    QTest::qWait(50);
    saveScreenshot(player, QStringLiteral("player-cover.png"));

    const Settings displaySettings;
    QObject adaptorParent;
    MprisPlayerAdaptor mpris(&adaptorParent, engine, displaySettings, MprisControls{});
    EXPECT_EQ(mpris.metadata().value(QStringLiteral("mpris:artUrl")).toString(),
              QUrl::fromLocalFile(AlbumCover::path(albumId)).toString());

    TAlbumPropertiesForm *form = startup.albumWindows()->showProperties(albumId);
    ASSERT_NE(form, nullptr);
    auto *cover = form->findChild<QLabel *>(QStringLiteral("CoverPicture"));
    ASSERT_NE(cover, nullptr);
    EXPECT_TRUE(cover->isVisible());
    EXPECT_FALSE(cover->pixmap().isNull());
    saveScreenshot(form, QStringLiteral("album-properties-cover.png"));
    form->close();

    // A picture dropped on the album area becomes the cover, whatever its format.
    QImage dropped(64, 64, QImage::Format_RGB32);
    dropped.fill(Qt::red);
    const QString bmp = home.file(QStringLiteral("dropped.bmp"));
    ASSERT_TRUE(dropped.save(bmp, "BMP"));
    ASSERT_TRUE(startup.recognitionExtras()->takeDroppedPicture(bmp));
    const QImage stored(AlbumCover::path(albumId));
    ASSERT_FALSE(stored.isNull());
    EXPECT_EQ(stored.size(), QSize(64, 64));
    EXPECT_FALSE(startup.recognitionExtras()->takeDroppedPicture(cue));

    // The disc of a stored album with a release but no cover fetches the picture again when
    // it arrives; with a cover it asks for nothing.
    const int coverRequests = int(covers.requests().size());
    emit engine->discArrived();
    QTest::qWait(300);
    EXPECT_EQ(covers.requests().size(), coverRequests);
    ASSERT_TRUE(QFile::remove(AlbumCover::path(albumId)));
    emit engine->discArrived();
    EXPECT_TRUE(waitFor([&] { return !AlbumCover::path(albumId).isEmpty(); }));
    EXPECT_EQ(QImage(AlbumCover::path(albumId)).size(), coverPicture().size());
}

TEST_F(RecognitionExtrasTest, TheStopButtonEndsASlowMusicBrainzLookup)
{
    ASSERT_TRUE(writer.write(cue));
    ServicePeer musicBrainz;
    const QString discId = MusicBrainzDiscId(toc);
    ASSERT_TRUE(
        musicBrainz.startMusicBrainz({{discId, ServicePeer::reply(200, oneRelease(discId), 120)}}));
    {
        SettingsSession session;
        Settings &settings = session.settings();
        settings.cddbServer = QStringLiteral("127.0.0.1");
        settings.cddbPort = QStringLiteral("1"); // refused at once
        settings.musicBrainzServer = musicBrainz.url();
        settings.preferMusicBrainz = 1;
        settings.SetOptionFlag(_GLOB_OPTION_AUTORCDDB, true);
        settings.SetOptionFlag(_GLOB_OPTION_USEALBWIZ, false);
        settings.SetOptionFlag(_GLOB_OPTION_SHOWTOTD, false);
        settings.startCount = 5;
        ASSERT_TRUE(session.save());
    }
    StartupSequence startup({cue});
    ASSERT_TRUE(startup.start());
    DiscRecognizer *recognizer = startup.player()->recognizer();
    bool sequenceEnded = false;
    QObject::connect(recognizer, &DiscRecognizer::recognitionFinished,
                     [&](int, int) { sequenceEnded = true; });
    ASSERT_TRUE(waitFor([&] { return !musicBrainz.requests().isEmpty(); }));
    EXPECT_TRUE(recognizer->remoteLookupRunning());
    recognizer->stopRemoteLookups();
    EXPECT_TRUE(waitFor([&] { return !recognizer->remoteLookupRunning(); }));
    // Stopping ends the network work: the CDDB server (which would refuse and show its
    // message) is never asked.
    EXPECT_TRUE(waitFor([&] { return sequenceEnded; }));
    EXPECT_FALSE(recognizer->remoteLookupRunning());
    EXPECT_TRUE(startup.player()->engine()->current().album.title.isEmpty());
}
