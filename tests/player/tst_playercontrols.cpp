#include "collection/Collection.h"
#include "collection/Settings.h"
#include "playback/ScriptedDriveSet.h"
#include "player/ControllerEngine.h"
#include "player/PlayerDisplay.h"
#include "player/PlayerTransport.h"
#include "player/StepListEditor.h"
#include "ScriptedEngineFixture.h"
#include "TestHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

class Controls : public ScriptedEngineFixture
{
protected:
    void insert()
    {
        drive->insert(fourTracks());
        engine->poll();
        QCoreApplication::processEvents();
        ASSERT_TRUE(engine->audioPresent());
    }
    PlayerDisplay display() { return PlayerDisplay(engine.get(), settings); }
    int currentSerial() { return engine->list().at(engine->currentIndex()).serial(); }
    QList<int> starts()
    {
        QList<int> out;
        for (const TStep &step : std::as_const(engine->list()))
            out.append(step.start);
        return out;
    }
    // A CD audio track file of the disc in the drive for `track`.
    QString trackFile(int track)
    {
        QByteArray bytes(44, '\0');
        bytes.replace(0, 4, "RIFF").replace(8, 8, "CDDAfmt ");
        bytes[22] = char(track);
        const quint32 serial = engine->current().disc.mediaIdentity.toUInt(nullptr, 16);
        for (int i = 0; i < 4; ++i)
            bytes[24 + i] = char((serial >> (8 * i)) & 0xff);
        const QString path = files.filePath(QStringLiteral("Track%1.cda").arg(track));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir files;
};

} // namespace

TEST_F(Controls, DisplayOfTheEmptyPlayer)
{
    const PlayerDisplay empty(nullptr, settings);
    EXPECT_EQ(empty.timeText(), QStringLiteral("00 00:00"));
    EXPECT_EQ(empty.caption(), QStringLiteral("Orbisong 4.0"));
    EXPECT_EQ(empty.summary(), QString());
    EXPECT_EQ(empty.trackOfFrame(5000), 0);
    const PlayerDisplay::Enabled none = empty.enabled();
    EXPECT_FALSE(none.drive || none.audio || none.steps || none.next || none.hasCurrent);

    const PlayerDisplay::Enabled driveOnly = display().enabled();
    EXPECT_TRUE(driveOnly.drive);
    EXPECT_FALSE(driveOnly.audio);
    EXPECT_EQ(display().shownInfoLine(), QString());
}

TEST_F(Controls, DisplayOfADisc)
{
    insert();
    CurrentAlbum &current = engine->current();
    current.album.artist = QStringLiteral("Duo");
    current.album.title = QStringLiteral("Salt");
    current.album.trackTitles[2] = QStringLiteral("Second Song");
    engine->moveToStep(1);
    EXPECT_EQ(display().timeText(), QStringLiteral("02 00:00"));
    EXPECT_EQ(display().summary(), QStringLiteral("04:00 in 4 tracks"));
    EXPECT_EQ(display().infoLine(), QStringLiteral("Second Song"));
    EXPECT_EQ(display().trayTip(display().infoLine()), QStringLiteral("Duo - Salt (Second Song)"));
    EXPECT_EQ(display().trackOfFrame(100), 1) << "before the first track";
    EXPECT_EQ(display().trackOfFrame(9150), 3);
    engine->list()[1].title = QStringLiteral("  Named Step ");
    EXPECT_EQ(display().stepTitle(1), QStringLiteral("Named Step"));
    EXPECT_EQ(display().stepTitle(7), QString());

    settings.SetOptionFlag(_GLOB_OPTION_USEFORMATSTRINGS, true);
    settings.userFormat = QStringLiteral("%N/%C %t");
    EXPECT_EQ(display().caption(), QStringLiteral("Orbisong 4.0.3"));
    EXPECT_EQ(display().infoLine(), QStringLiteral("2/4 Named Step"));
    EXPECT_EQ(display().trayTip(QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(display().trayTip(QString(100, u'a')).size(), 79);
}

TEST_F(Controls, NextIsEnabledUntilTheLastStepUnlessPlayGoesOn)
{
    insert();
    PlayerDisplay::Enabled e = display().enabled();
    EXPECT_TRUE(e.audio && e.steps && e.next && e.hasCurrent);
    EXPECT_FALSE(e.custom) << "the built-in Album playlist";
    engine->moveToStep(3);
    EXPECT_FALSE(display().enabled().next);
    engine->current().album.flags |= AlbumFlagRepeat;
    EXPECT_TRUE(display().enabled().next);
    engine->current().album.flags = 0;
    settings.SetOptionFlag(_GLOB_OPTION_RANDOMORDER, true);
    EXPECT_TRUE(display().enabled().next);
}

TEST_F(Controls, DeletingAndMovingKeepTheCurrentStepPlaying)
{
    insert();
    engine->playStep(2);
    const int serial = currentSerial();
    const int plays = drive->playCount();
    StepListEditor edit(*engine);
    ASSERT_TRUE(edit.deleteStep(0));
    EXPECT_EQ(engine->currentIndex(), 1);
    EXPECT_EQ(currentSerial(), serial);
    EXPECT_EQ(drive->playCount(), plays) << "an earlier step goes without a restart";
    ASSERT_TRUE(edit.moveStep(1, 2));
    EXPECT_EQ(engine->currentIndex(), 2);
    EXPECT_EQ(currentSerial(), serial);
    EXPECT_FALSE(edit.moveStep(0, 3)) << "out of range";
    EXPECT_FALSE(edit.deleteStep(-1));

    // The playing step itself gives its place to the step after it, which plays.
    ASSERT_TRUE(edit.moveStep(2, 0));
    EXPECT_EQ(engine->currentIndex(), 0);
    const int next = engine->list().at(1).serial();
    ASSERT_TRUE(edit.deleteStep(0));
    EXPECT_EQ(engine->list().size(), 2);
    EXPECT_EQ(engine->currentIndex(), 0);
    EXPECT_EQ(currentSerial(), next);
    EXPECT_TRUE(engine->playing());
    EXPECT_EQ(drive->playCount(), plays + 1);
}

TEST_F(Controls, DeletingTheLastPlayingStepStops)
{
    insert();
    engine->playStep(3);
    ASSERT_TRUE(StepListEditor(*engine).deleteStep(3));
    EXPECT_FALSE(engine->playing());
    EXPECT_FALSE(drive->isPlaying());
}

TEST_F(Controls, TrackFilesBecomeWholeTrackSteps)
{
    insert();
    StepListEditor edit(*engine);
    edit.addToFavorites({}, QStringLiteral("ann"));
    edit.switchTo(QStringLiteral("Ann's Favorites"));
    ASSERT_TRUE(engine->list().isEmpty());
    const QString junk = files.filePath(QStringLiteral("junk.cda"));
    QFile(junk).open(QIODevice::WriteOnly);
    EXPECT_EQ(edit.insertTrackFiles({trackFile(3), junk, trackFile(1)}, 0), 2);
    EXPECT_EQ(starts(), QList<int>({9150, 150}));
    EXPECT_EQ(engine->list().at(0).end, 13650);
    EXPECT_EQ(engine->currentIndex(), 0) << "the first step becomes current";
    EXPECT_EQ(edit.insertTrackFiles({trackFile(9)}, 0), 0) << "no such track on the disc";
    EXPECT_EQ(edit.insertTrackFiles({trackFile(4)}, 99), 1);
    EXPECT_EQ(starts(), QList<int>({9150, 150, 13650}));
}

TEST_F(Controls, FavoritesAreCreatedOnceAndFilledFromTheList)
{
    insert();
    StepListEditor edit(*engine);
    ASSERT_TRUE(edit.addToFavorites({3, 1, 9}, QStringLiteral("ann")));
    auto favorites = findPlaylist(engine->current().playlists, QStringLiteral("Ann's Favorites"));
    ASSERT_TRUE(favorites);
    ASSERT_EQ(favorites->steps.size(), 2);
    EXPECT_EQ(favorites->steps.at(0).start, 13650);
    EXPECT_NE(favorites->steps.at(0).serial(), engine->list().at(3).serial()) << "a copy";

    edit.switchTo(QStringLiteral("Ann's Favorites"));
    ASSERT_TRUE(edit.addToFavorites({0}, QStringLiteral("ann")));
    EXPECT_EQ(engine->list().size(), 3) << "the current playlist grows at once";
    int count = 0;
    for (const auto &playlist : std::as_const(engine->current().playlists))
        count += playlist->title == QStringLiteral("Ann's Favorites");
    EXPECT_EQ(count, 1);
}

TEST_F(Controls, ShuffleKeepsThePlayingStep)
{
    insert();
    engine->playStep(1);
    const int serial = currentSerial();
    const int plays = drive->playCount();
    ASSERT_TRUE(StepListEditor(*engine).shuffle());
    EXPECT_EQ(currentSerial(), serial);
    EXPECT_EQ(drive->playCount(), plays);
    QList<int> sorted = starts();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, QList<int>({150, 4650, 9150, 13650}));
}

TEST_F(Controls, PlayPausesAndResumesWherePaused)
{
    insert();
    PlayerTransport transport(*engine);
    transport.togglePlay();
    EXPECT_TRUE(engine->playing());
    EXPECT_EQ(drive->lastPlayFrom(), 150) << "from the step's start";
    drive->advance(75 * 7);
    engine->poll();
    transport.togglePlay();
    EXPECT_FALSE(engine->playing());
    EXPECT_TRUE(engine->paused());
    transport.togglePlay();
    EXPECT_FALSE(engine->paused());
    EXPECT_EQ(drive->lastPlayFrom(), 150 + 75 * 7);
}

TEST_F(Controls, IntroAndRepeatNeedADisc)
{
    PlayerTransport transport(*engine);
    EXPECT_FALSE(transport.setIntro(true));
    EXPECT_FALSE(transport.setRepeat(true));
    insert();
    EXPECT_TRUE(transport.setRepeat(true));
    EXPECT_EQ(engine->current().album.flags, int(AlbumFlagRepeat));
    engine->playStep(1);
    const int plays = drive->playCount();
    EXPECT_TRUE(transport.setIntro(true));
    EXPECT_EQ(engine->current().album.flags, int(AlbumFlagRepeat | AlbumFlagIntro));
    EXPECT_EQ(drive->playCount(), plays + 1) << "the step starts again at its intro";
    EXPECT_TRUE(transport.setIntro(false));
    EXPECT_TRUE(transport.setRepeat(false));
    EXPECT_EQ(engine->current().album.flags, 0);
}

TEST_F(Controls, StartRequestsAndHandOvers)
{
    insert();
    PlayerTransport transport(*engine);
    transport.startRequested(9, 0, false);
    EXPECT_EQ(engine->currentIndex(), 3) << "a step past the end plays the last";
    transport.startRequested(-1, 2, false);
    EXPECT_EQ(engine->currentTrack(), 2);
    transport.startRequested(PlayerTransport::RandomStep, 0, false);
    EXPECT_GE(engine->currentIndex(), 0);
    EXPECT_LT(engine->currentIndex(), 4);
    engine->stop();
    transport.startRequested(-1, 0, true);
    EXPECT_EQ(engine->currentIndex(), 0);
    EXPECT_TRUE(engine->playing());

    drives.addDrive(u'E').insert(fourTracks());
    ASSERT_TRUE(transport.playRequest(u'e', 3));
    EXPECT_EQ(engine->currentDrive(), u'E');
    EXPECT_FALSE(transport.playRequest(u'Q', 0)) << "no such drive";
}
