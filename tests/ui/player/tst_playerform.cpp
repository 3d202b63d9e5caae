#include "cddb/RunningLookups.h"
#include "playback/CdioDriveSet.h"
#include "collection/Collection.h"
#include "player/ControllerEngine.h"
#include "playback/DemoDisc.h"
#include "player/PlayerEntryReceiver.h"
#include "playback/ScriptedDriveSet.h"
#include "ScriptedQuestionPort.h"
#include "collection/Settings.h"
#include "TestHome.h"
#include "ui/player/TPlayerForm.h"
#include "ui/player/TPlaylistList.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenuBar>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// Four tracks of one minute from frame 150.
ScriptedDevice::Disc fourTracks()
{
    return ScriptedDevice::audioDisc({150, 4650, 9150, 13650}, 18150);
}

class PlayerFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings = Settings::defaults(home.path(), QStringLiteral("ann"), QStringLiteral("D"));
        settings.collectionPath = home.file(QStringLiteral("test.obc"));
        drive = &drives.addDrive(u'D');
        collection = std::make_unique<Collection>(settings);
        collection->setQuestionPort(&questions);
        engine = std::make_unique<ControllerEngine>(drives, settings, collection.get());
        engine->setQuestionPort(&questions);
        engine->startup(u'D', false);
        player = std::make_unique<TPlayerForm>(settings);
        player->setQuestionPort(&questions);
        player->setLogin(QStringLiteral("ann"));
        player->setEngine(engine.get());
        player->show();
    }

    void TearDown() override
    {
        player.reset();
        engine.reset();
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

    TestHome home;
    ScriptedQuestionPort questions;
    Settings settings;
    ScriptedDriveSet drives;
    ScriptedDevice *drive = nullptr;
    std::unique_ptr<Collection> collection;
    std::unique_ptr<ControllerEngine> engine;
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
    EXPECT_EQ(questions.asked().at(0).id, 12290);
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
    EXPECT_EQ(questions.asked().at(0).id, 12313);
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

// Each engine owns its device layer, so a second one never takes over the first one's drive.
TEST(ControllerEngine, EachEngineKeepsItsOwnDrive)
{
    TestHome home;
    Settings settings = Settings::defaults(home.path(), QStringLiteral("ann"), QStringLiteral("D"));
    ScriptedDriveSet firstDrives;
    ScriptedDriveSet secondDrives;
    ScriptedDevice &first = firstDrives.addDrive(u'D');
    secondDrives.addDrive(u'E');
    ControllerEngine one(firstDrives, settings, nullptr);
    one.startup(u'D', false);
    ControllerEngine two(secondDrives, settings, nullptr);
    two.startup(u'E', false);
    first.insert(fourTracks());
    two.poll();
    one.poll();
    EXPECT_EQ(one.currentDrive(), u'D');
    EXPECT_EQ(two.currentDrive(), u'E');
    EXPECT_TRUE(one.audioPresent());
    EXPECT_FALSE(two.audioPresent());
    EXPECT_EQ(one.list().size(), 4);
    EXPECT_TRUE(two.list().isEmpty());
    one.shutdown();
    EXPECT_FALSE(one.audioPresent());
    EXPECT_EQ(two.currentDrive(), u'E');
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
    collection.setQuestionPort(&questions);
    ControllerEngine engine(drives, settings, &collection);
    engine.setQuestionPort(&questions);
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
    while (!engine.audioPresent() && waited.elapsed() < 5000) {
        player.driveTick();
        QTest::qWait(50);
    }
    ASSERT_TRUE(engine.audioPresent());
    QTest::qWait(200);
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
