#include "base/MessageIds.h"
#include "cddb/RunningLookups.h"
#include "collection/Collection.h"
#include "collection/Settings.h"
#include "playback/CdioDriveSet.h"
#include "playback/DemoDisc.h"
#include "playback/ScriptedDriveSet.h"
#include "player/ControllerEngine.h"
#include "player/PlayerEntryReceiver.h"
#include "ScriptedQuestionPort.h"
#include "ScriptedEngineFixture.h"
#include "TestHome.h"
#include "ui/player/TPlayerForm.h"
#include "ui/player/TPlaylistList.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

class PlayerFixture : public ScriptedEngineFixture
{
protected:
    void SetUp() override
    {
        ScriptedEngineFixture::SetUp();
        player = std::make_unique<TPlayerForm>(settings);
        player->setQuestionPort(&questions);
        player->setLogin(QStringLiteral("ann"));
        player->setEngine(engine.get());
        player->show();
    }

    void TearDown() override
    {
        player.reset();
        ScriptedEngineFixture::TearDown();
    }

    void insert(const ScriptedDevice::Disc &disc = fourTracks())
    {
        drive->insert(disc);
        player->driveTick();
        QApplication::processEvents();
    }

    QAbstractButton *button(const char *name)
    {
        return player->findChild<QAbstractButton *>(QString::fromLatin1(name));
    }

    int currentSerial() { return engine->list().at(engine->currentIndex()).serial(); }

    // A local database folder whose only entry is for the CDDB disc id `discId`.
    QString localDatabase(const QString &discId)
    {
        const QString folder = home.file(QStringLiteral("cddb-") + discId);
        QDir(folder).mkpath(QStringLiteral("rock"));
        QFile file(folder + QStringLiteral("/rock/") + discId);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("# xmcd\nDISCID=" + discId.toLatin1() +
                   "\nDTITLE=Local Artist / Local Album\nTTITLE0=a\nTTITLE1=b\nTTITLE2=c\n"
                   "TTITLE3=d\nPLAYORDER=\n");
        return folder;
    }

    // Runs the window's events until `done` holds or ten seconds have passed.
    template <typename Done> bool waitFor(Done done)
    {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < 10000)
            QTest::qWait(20);
        return done();
    }

    ScriptedQuestionPort questions;
    std::unique_ptr<TPlayerForm> player;
};

} // namespace

TEST_F(PlayerFixture, EmptyDriveThenDiscEnablesTransport)
{
    EXPECT_FALSE(button("PlayButton")->isEnabled());
    EXPECT_TRUE(button("EjectButton")->isEnabled());
    EXPECT_EQ(player->findChild<QAbstractButton *>("TimeButton")->text(), "00 00:00");
    insert();
    EXPECT_TRUE(engine->audioPresent());
    EXPECT_TRUE(button("PlayButton")->isEnabled());
    EXPECT_EQ(player->playlistList()->count(), 4);
    EXPECT_EQ(player->findChild<QLabel *>("SummaryLabel")->text(), "04:00 in 4 tracks");
    EXPECT_EQ(player->playlistTabs()->tabText(0), "Album");
    EXPECT_FALSE(button("EditButton")->isEnabled()) << "the built-in playlist is not edited";
    EXPECT_EQ(player->windowTitle(), "Orbisong 4.0");
}

TEST_F(PlayerFixture, KnownDiscComesBackFromTheCollection)
{
    insert();
    ASSERT_TRUE(engine->current().album.isNew);
    engine->current().album.title = QStringLiteral("Night Ferry");
    engine->current().album.artist = QStringLiteral("Ola Berg");
    const QString id = engine->current().disc.id;
    drive->remove();
    player->driveTick();
    EXPECT_FALSE(engine->audioPresent());
    EXPECT_EQ(player->findChild<QLabel *>("TitleLabel")->text(), QString());
    ASSERT_TRUE(collection->ShutdownCollection());

    Collection reopened(settings);
    ControllerEngine again(drives, settings, &reopened);
    again.startup(u'D', false);
    player->setEngine(&again);
    insert();
    EXPECT_EQ(again.current().disc.id, id);
    EXPECT_FALSE(again.current().album.isNew);
    EXPECT_EQ(player->findChild<QLabel *>("TitleLabel")->text(), "Night Ferry");
    player->setEngine(engine.get());
}

TEST_F(PlayerFixture, PlayPauseNextPreviousStop)
{
    insert();
    player->pressPlay();
    EXPECT_TRUE(engine->playing());
    EXPECT_EQ(drive->lastPlayFrom(), 150);
    drive->advance(75 * 5);
    player->driveTick();
    EXPECT_EQ(player->findChild<QAbstractButton *>("TimeButton")->text(), "01 00:05");
    player->pressPlay();
    EXPECT_FALSE(engine->playing());
    EXPECT_TRUE(engine->paused());
    player->pressPlay();
    EXPECT_TRUE(engine->playing());
    EXPECT_EQ(drive->lastPlayFrom(), 150 + 75 * 5) << "resumes where it paused";
    player->pressNext();
    EXPECT_EQ(engine->currentIndex(), 1);
    EXPECT_EQ(drive->lastPlayFrom(), 4650);
    player->pressPrev();
    EXPECT_EQ(engine->currentIndex(), 0);
    player->pressStop();
    EXPECT_FALSE(engine->playing());
    EXPECT_FALSE(drive->isPlaying());
    // The end of a step moves on to the next one.
    player->pressPlay();
    drive->advance(4500);
    player->driveTick();
    EXPECT_EQ(engine->currentIndex(), 1);
    EXPECT_TRUE(engine->playing());
}

TEST_F(PlayerFixture, DeleteAndDragFollowTheCurrentStep)
{
    insert();
    engine->playStep(2);
    const int serial = currentSerial();
    const int plays = drive->playCount();
    player->playlistList()->setCurrentRow(0);
    QTest::keyClick(player->playlistList(), Qt::Key_Delete);
    EXPECT_EQ(engine->list().size(), 3);
    EXPECT_EQ(engine->currentIndex(), 1);
    EXPECT_EQ(currentSerial(), serial);
    EXPECT_EQ(drive->playCount(), plays) << "playback is not interrupted";
    EXPECT_TRUE(engine->playing());

    emit player->playlistList()->rowMoved(1, 0);
    EXPECT_EQ(engine->currentIndex(), 0);
    EXPECT_EQ(currentSerial(), serial);
    EXPECT_EQ(drive->playCount(), plays);

    // Deleting the playing step plays the one now in its place.
    player->playlistList()->setCurrentRow(0);
    QTest::keyClick(player->playlistList(), Qt::Key_Delete);
    EXPECT_EQ(engine->currentIndex(), 0);
    EXPECT_EQ(drive->playCount(), plays + 1);
    EXPECT_EQ(player->playlistList()->currentRow(), 0);
}

TEST_F(PlayerFixture, TabSwitchWritesCustomPlaylistsBackNeverAlbum)
{
    insert();
    player->playlistList()->selectAll();
    QAction *favorites = nullptr;
    for (QAction *menu : player->menuBar()->actions())
        for (QAction *item : menu->menu()->actions())
            if (item->text() == "Add To &Favorites")
                favorites = item;
    ASSERT_NE(favorites, nullptr);
    engine->moveToStep(3);
    favorites->trigger();
    ASSERT_EQ(player->playlistTabs()->count(), 2);
    EXPECT_EQ(player->playlistTabs()->tabText(1), "Ann's Favorites");

    // Delete a row of "Album": the stored Album playlist stays whole.
    player->playlistList()->setCurrentRow(0);
    QTest::keyClick(player->playlistList(), Qt::Key_Delete);
    QTabBar *tabs = player->playlistTabs();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_EQ(engine->currentPlaylist(), "Ann's Favorites");
    EXPECT_EQ(engine->list().size(), 1);
    EXPECT_TRUE(button("EditButton")->isEnabled());
    engine->list().append(engine->list().first());
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_EQ(engine->currentPlaylist(), "Album");
    EXPECT_EQ(engine->list().size(), 4) << "Album is rebuilt from the disc, not written back";
    EXPECT_EQ(findPlaylist(engine->current().playlists, "Ann's Favorites")->steps.size(), 2);
}

TEST_F(PlayerFixture, CloseQueryOnlyWhilePlaying)
{
    insert();
    player->pressPlay();
    questions.answer(2);
    EXPECT_FALSE(player->close());
    ASSERT_EQ(questions.asked().size(), 1);
    EXPECT_EQ(questions.asked().at(0).id, Msg::StillPlaying);
    EXPECT_TRUE(player->isVisible());
    player->pressPlay(); // pause
    EXPECT_TRUE(player->close());
    EXPECT_EQ(questions.asked().size(), 1) << "paused: not asked";
}

TEST_F(PlayerFixture, PlayOnInsertDoesNotPauseAStartRequest)
{
    settings.SetOptionFlag(_GLOB_OPTION_PLAYONINSERT, true);
    player->setStartRequest(-1, 0, true);
    insert();
    EXPECT_TRUE(engine->playing());
    EXPECT_EQ(engine->currentIndex(), 0);
}

TEST_F(PlayerFixture, TimerPlayFiresOnTheNextCheck)
{
    insert();
    QDateTime now(QDate(2026, 3, 14), QTime(20, 0));
    player->setTimerClock([&now] { return now; });
    player->timers().setAfterMinutes(TimerMoments::Play, 0);
    player->driveTick();
    EXPECT_TRUE(engine->playing());
    EXPECT_FALSE(player->timers().isSet(TimerMoments::Play));

    // Timer stop while paused cannot act and warns when asked to.
    settings.SetOptionFlag(_GLOB_OPTION_TIMERWARNING, true);
    player->pressPlay();
    player->setTimerClock([&now] { return now; });
    player->timers().setAfterMinutes(TimerMoments::Stop, 0);
    player->driveTick();
    ASSERT_EQ(questions.asked().size(), 1);
    EXPECT_EQ(questions.asked().at(0).id, Msg::TimerStopFailed);
}

// The local lookup button searches the local files and nothing else, even when new discs are
// also looked up on a server, and says so when the disc is not there.
TEST_F(PlayerFixture, LocalCddbButtonSearchesTheLocalFilesAlone)
{
    PlayerEntryReceiver receiver(engine.get(), collection.get());
    RunningLookups lookups(&receiver, nullptr);
    player->setLookups(&lookups);
    insert();
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    settings.SetOptionFlag(_GLOB_OPTION_AUTORCDDB, true);
    settings.cddbServer = QStringLiteral("127.0.0.1");
    settings.cddbPort = QString::number(server.serverPort());
    settings.cddbProtocol = QStringLiteral("CDDBP");
    const QString discId = engine->current().disc.id.left(8).toLower();
    player->setLocalCddbFolders({localDatabase(QStringLiteral("7f000001"))});

    button("LocalCDDBButton")->click();
    ASSERT_TRUE(waitFor([&] { return !questions.asked().isEmpty(); }));
    EXPECT_EQ(questions.asked().at(0).id, Msg::AlbumNotInCddb);
    QTest::qWait(50);
    EXPECT_EQ(questions.asked().size(), 1);
    EXPECT_FALSE(server.hasPendingConnections()) << "the server is not asked";
    EXPECT_FALSE(player->animationQueue().contains(QStringLiteral("AVI_RCDDB_GET")));
    EXPECT_TRUE(engine->current().album.isNew);

    player->setLocalCddbFolders({localDatabase(discId)});
    button("LocalCDDBButton")->click();
    ASSERT_TRUE(waitFor([&] { return !engine->current().album.isNew; }));
    EXPECT_TRUE(waitFor(
        [&] { return player->findChild<QLabel *>("TitleLabel")->text() == "Local Album"; }));
    EXPECT_EQ(questions.asked().size(), 1) << "a found disc needs no word";
    EXPECT_FALSE(server.hasPendingConnections());
}

TEST_F(PlayerFixture, DriveMenuTexts)
{
    drives.addDrive(u'E');
    settings.SetOptionFlag(_GLOB_OPTION_CHANGERCOMPAT, true);
    settings.SetOptionFlag(_GLOB_OPTION_SHOWALBUMTITLES, true);
    EXPECT_EQ(player->driveMenuTexts(),
              QStringList({"&Refresh", "-", "D: <Drive Empty>", "E: <Unknown>"}))
        << "with changer compatibility other drives are read only on Refresh";
    settings.SetOptionFlag(_GLOB_OPTION_CHANGERCOMPAT, false);
    EXPECT_EQ(player->driveMenuTexts(), QStringList({"D: <Drive Empty>", "E: <Drive Empty>"}));
    insert();
    engine->current().album.title = "Salt & Pepper";
    engine->current().album.artist = "Duo";
    engine->current().album.isNew = false;
    EXPECT_EQ(player->driveMenuTexts().at(0), "D: Salt && Pepper - Duo");
    settings.SetOptionFlag(_GLOB_OPTION_SHOWALBUMTITLES, false);
    EXPECT_EQ(player->driveMenuTexts().at(0), "D: ");
}

TEST_F(PlayerFixture, DraggedHeightSnapsToAStop)
{
    const SizeStops &stops = player->sizeStops();
    const int details = stops.stops[SizeStops::Details].height;
    const int controls = stops.stops[SizeStops::Controls].height;
    player->resize(player->width(), controls + 3);
    player->snapToSizeStop();
    EXPECT_EQ(player->height(), controls);
    player->resize(player->width(), stops.stops[SizeStops::Details].lower + 2);
    player->snapToSizeStop();
    EXPECT_EQ(player->height(), details);
    player->resize(player->width(), 600);
    player->snapToSizeStop();
    EXPECT_EQ(player->height(), 600);
}

TEST_F(PlayerFixture, MiniModeAndBack)
{
    EXPECT_FALSE(player->isMiniMode());
    player->toggleMiniMode();
    EXPECT_TRUE(player->isMiniMode());
    EXPECT_FALSE(player->menuBar()->isVisible());
    player->toggleMiniMode();
    EXPECT_FALSE(player->isMiniMode());
    EXPECT_TRUE(player->menuBar()->isVisible());
}

TEST_F(PlayerFixture, MiniModeShowsOnlyTheMiniRowWithTheSameTime)
{
    insert();
    engine->playStep(1);
    player->driveTick();
    player->toggleMiniMode();
    EXPECT_TRUE(player->findChild<QWidget *>("MiniPanel")->isVisible());
    EXPECT_FALSE(player->findChild<QWidget *>("ControlPanel")->isVisible());
    EXPECT_FALSE(player->findChild<QWidget *>("PlaylistPanel")->isVisible());
    EXPECT_EQ(player->height(), player->sizeStops().stops[SizeStops::Mini].height);
    EXPECT_EQ(button("MiniTimeButton")->text(), button("TimeButton")->text());
    // The mini buttons act as the main ones do.
    QTest::mouseClick(button("MiniNextButton"), Qt::LeftButton);
    EXPECT_EQ(engine->currentIndex(), 2);
    QTest::mouseClick(button("MiniStopButton"), Qt::LeftButton);
    EXPECT_FALSE(engine->playing());
}

// The tray menu's items are enabled as the buttons they stand for, and press them.
TEST_F(PlayerFixture, TrayMenuFollowsTheButtons)
{
    auto *tray = player->findChild<QMenu *>("TrayPopup");
    ASSERT_NE(tray, nullptr);
    auto item = [tray](const char *text) -> QAction * {
        emit tray->aboutToShow();
        for (QAction *action : tray->actions())
            if (action->text() == QLatin1String(text))
                return action;
        return nullptr;
    };
    ASSERT_NE(item("&Play/Pause"), nullptr);
    EXPECT_FALSE(item("&Play/Pause")->isEnabled());
    EXPECT_TRUE(item("&Eject")->isEnabled());
    EXPECT_FALSE(item("&Album Properties")->isEnabled());
    EXPECT_TRUE(item("&Collection")->isEnabled());
    insert();
    EXPECT_TRUE(item("&Play/Pause")->isEnabled());
    EXPECT_TRUE(item("&Album Properties")->isEnabled());
    item("&Play/Pause")->trigger();
    EXPECT_TRUE(engine->playing());
    engine->moveToStep(3);
    EXPECT_FALSE(item("&Next Track")->isEnabled()) << "the last step";
}

TEST_F(PlayerFixture, HintsFollowTheSettingAndShowTheTimerMoment)
{
    EXPECT_EQ(button("PlayButton")->toolTip(), "Start or pause playback");
    settings.SetOptionFlag(_GLOB_OPTION_SHOWHINTS, false);
    TPlayerForm quiet(settings);
    quiet.show();
    EXPECT_TRUE(quiet.findChild<QAbstractButton *>("PlayButton")->toolTip().isEmpty());
    settings.SetOptionFlag(_GLOB_OPTION_SHOWHINTS, true);

    QDateTime now(QDate(2026, 3, 14), QTime(20, 0));
    player->setTimerClock([&now] { return now; });
    ASSERT_TRUE(player->setTimerStop(QDateTime(now.date(), QTime(21, 30))));
    EXPECT_TRUE(button("AutoStopButton")->isChecked());
    EXPECT_TRUE(button("AutoStopButton")->toolTip().startsWith("Timer Stop: "));
    QTest::mouseClick(button("AutoStopButton"), Qt::LeftButton);
    EXPECT_FALSE(player->timers().isSet(TimerMoments::Stop)) << "a second press clears it";
    EXPECT_FALSE(button("AutoStopButton")->isChecked());
    EXPECT_EQ(button("AutoStopButton")->toolTip(), "Timer Stop");
}

// Shows the player on the demo disc, recognised from its local CDDB entry and playing, and
// stores a picture of the window for reviewers.
TEST(PlayerScreenshot, DemoDiscPlaying)
{
    TestHome home;
    ScriptedQuestionPort questions;
    // Rendering the demo disc takes a while: it is kept in the build folder between runs.
    const QString folder = QDir(TestHome::binaryDir()).filePath(QStringLiteral("test-data/demo"));
    QString error;
    const QString cue = ensureDemoDisc(folder, &error);
    ASSERT_FALSE(cue.isEmpty()) << error.toStdString();
    Settings settings = Settings::defaults(home.path(), QStringLiteral("ann"), QStringLiteral("D"));
    settings.collectionPath = home.file(QStringLiteral("demo.obc"));
    settings.SetOptionFlag(_GLOB_OPTION_USEFORMATSTRINGS, true);
    CdioDriveSet drives({}, QStringLiteral("fakesink sync=true"));
    const QChar letter = drives.addImage(cue);
    Collection collection(settings);
    ControllerEngine engine(drives, settings, &collection);
    engine.startup(letter, false);
    TPlayerForm player(settings);
    player.setQuestionPort(&questions);
    PlayerEntryReceiver receiver(&engine, &collection);
    RunningLookups lookups(&receiver, nullptr);
    player.setLookups(&lookups);
    player.setLocalCddbFolders({DemoDisc::cddbFolder(folder)});
    player.setEngine(&engine);
    player.resize(460, 440);
    player.show();
    QElapsedTimer waited;
    waited.start();
    while (!engine.audioPresent() && waited.elapsed() < 30000) {
        player.driveTick();
        QTest::qWait(50);
    }
    ASSERT_TRUE(engine.audioPresent());
    // The local lookup fills the title after the disc is seen.
    waited.restart();
    while (engine.current().album.title != DemoDisc::title() && waited.elapsed() < 30000)
        QTest::qWait(20);
    EXPECT_EQ(engine.current().album.title, DemoDisc::title());
    player.pressPlay();
    player.pressNext();
    QTest::qWait(1200);
    player.driveTick();
    const QString out = QDir(TestHome::binaryDir()).filePath(QStringLiteral("screenshots"));
    QDir().mkpath(out);
    EXPECT_TRUE(player.grab().save(QDir(out).filePath(QStringLiteral("player.png"))));
    player.toggleMiniMode();
    QTest::qWait(50);
    EXPECT_TRUE(player.grab().save(QDir(out).filePath(QStringLiteral("player-mini.png"))));
    player.pressStop();
    engine.shutdown();
}
