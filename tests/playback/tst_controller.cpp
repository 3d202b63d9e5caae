#include "base/MessageIds.h"
#include "collection/AlbumRecord.h"
#include "collection/Collection.h"
#include "collection/Settings.h"
#include "playback/Ob4Ctrl.h"
#include "playback/Ob4Mci.h"
#include "playback/PlayerListener.h"
#include "playback/ScriptedDriveSet.h"
#include "ScriptedQuestionPort.h"
#include "TestHome.h"

#include <gtest/gtest.h>

#include <set>

using namespace Orbisong;

namespace {

// Plays the part of the player window: builds the playlists of a recognised disc and honours
// the start step, as the window's disc-inserted handling does.
class WindowStandIn : public PlayerListener
{
public:
    explicit WindowStandIn(PlaybackContext &context) : m_context(context) {}

    void discInserted() override
    {
        ++inserted;
        if (m_context.state.discIgnored)
            return;
        OB4CTRL_BuildAlbumPlaylist();
        SetCurrentPlaylist(QStringLiteral("Album"));
        PlayerState &s = m_context.state;
        if (s.startStep >= 0) {
            const int step = s.startStep;
            s.startStep = -1;
            OB4CTRL_PlayStep(step);
        }
    }
    void discRemoved(bool audioDisc) override { removed.append(audioDisc); }
    void itemPlay(const TStep &step) override { itemPlays.append(step.start); }
    void trayTooltipsChanged(const QString &previous, const QString &next) override
    {
        previousTip = previous;
        nextTip = next;
    }
    void statisticsChanged() override { ++statistics; }
    void closeWindow() override { ++closed; }

    int inserted = 0;
    int statistics = 0;
    int closed = 0;
    QList<bool> removed;
    QList<int> itemPlays;
    QString previousTip;
    QString nextTip;

private:
    PlaybackContext &m_context;
};

// Three tracks of 20 seconds each.
const QList<int> Starts{150, 1650, 3150};
constexpr int LeadOut = 4650;

class Controller : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_d = &m_drives.addDrive(QLatin1Char('D'));
        m_context.drives = &m_drives;
        m_context.settings = &m_settings;
        m_context.listener = &m_window;
        m_context.questions = &m_questions;
        m_context.state.driveList = m_drives.letters();
        OB4MCI_Startup();
    }
    void TearDown() override { OB4MCI_Shutdown(); }

    void insert(ScriptedDevice &drive, const QList<int> &starts = Starts, int leadOut = LeadOut)
    {
        drive.insert(ScriptedDevice::audioDisc(starts, leadOut));
        ASSERT_EQ(OB4MCI_Poll(), 1);
    }
    // Moves the virtual clock on in drive-timer steps of about 300 ms.
    void run(ScriptedDevice &drive, int frames)
    {
        for (int done = 0; done < frames; done += 22) {
            drive.advance(std::min(22, frames - done));
            OB4MCI_Poll();
        }
    }
    PlaybackContext &context() { return m_context; }
    PlayerState &state() { return m_context.state; }

    ScriptedQuestionPort m_questions;
    ScriptedDriveSet m_drives;
    ScriptedDevice *m_d = nullptr;
    Settings m_settings;
    PlaybackContext m_context;
    const PlaybackScope m_scope{m_context};
    WindowStandIn m_window{m_context};
};

} // namespace

TEST_F(Controller, RecognisedDiscShowsTheAlbumPlaylist)
{
    insert(*m_d);
    EXPECT_EQ(m_window.inserted, 1);
    const DiscInfo &disc = context().current.disc;
    EXPECT_EQ(disc.trackCount, 3);
    EXPECT_EQ(disc.trackOffsets[4], LeadOut);
    EXPECT_EQ(disc.length, LeadOut / 75);
    EXPECT_EQ(disc.mediaKind, DiscKindAudio);
    EXPECT_EQ(disc.id, OB4MCI_GetDiscID());
    EXPECT_EQ(disc.id.size(), 13);
    EXPECT_EQ(context().playlistList.size(), 3);
    EXPECT_EQ(state().currentStepIndex, 0);
    EXPECT_EQ(state().position, 150);
    EXPECT_FALSE(state().playing);
    EXPECT_EQ(m_window.previousTip, QStringLiteral("Jump to previous track"));
    EXPECT_TRUE(m_window.nextTip.startsWith(QLatin1String("Jump to next track (")));
}

TEST_F(Controller, SeamlessAdvanceFiresOnItemPlayWithoutANewPlayCommand)
{
    insert(*m_d);
    OB4CTRL_PlayStep(0);
    EXPECT_TRUE(state().playing);
    EXPECT_EQ(m_d->playCount(), 1);
    EXPECT_EQ(m_window.itemPlays, QList<int>{150});
    run(*m_d, 1500);
    EXPECT_EQ(state().currentStepIndex, 1);
    EXPECT_EQ(m_d->playCount(), 1);
    EXPECT_EQ(m_window.itemPlays, (QList<int>{150, 1650}));
    EXPECT_EQ(OB4MCI_GetTrack(state().position), 2);
    // The track display follows the drive.
    EXPECT_EQ(OB4MCI_GetDisplayTime(0, 1700), 50);
    EXPECT_EQ(OB4MCI_GetDisplayTime(1, 1700), 1450);
    EXPECT_EQ(OB4MCI_GetDisplayTime(2, 1700), 1550);
    EXPECT_EQ(OB4MCI_GetDisplayTime(3, 1700), 2950);
}

TEST_F(Controller, EndOfDiscStopsAtTheFirstStepEvenWhenThePositionReadsMinusOne)
{
    insert(*m_d);
    OB4CTRL_PlayStep(2);
    run(*m_d, 1600);
    EXPECT_FALSE(m_d->isPlaying());
    EXPECT_FALSE(state().playing);
    EXPECT_EQ(state().currentStepIndex, 0);
    EXPECT_EQ(state().position, 150);
}

TEST_F(Controller, RepeatPlaysTheFirstStepAgain)
{
    insert(*m_d);
    context().current.album.flags = AlbumFlagRepeat;
    OB4CTRL_PlayStep(2);
    run(*m_d, 1600);
    EXPECT_TRUE(state().playing);
    EXPECT_EQ(state().currentStepIndex, 0);
    EXPECT_EQ(m_d->lastPlayFrom(), 150);
    EXPECT_EQ(m_d->playCount(), 2);
    // "Next" by hand on the last step without repeat stops on the first step.
    context().current.album.flags = 0;
    OB4CTRL_PlayStep(2);
    OB4CTRL_NextStep();
    EXPECT_FALSE(state().playing);
    EXPECT_EQ(state().currentStepIndex, 0);
}

TEST_F(Controller, IntroRanges)
{
    const TStep threeMinutes(QString(), 1000, 1000 + 3 * 4500);
    IntroRange r = ComputeIntro(threeMinutes, QStringLiteral("0:20"), 0);
    EXPECT_EQ(r.start, 1000);
    EXPECT_EQ(r.end, 2500);
    const TStep thousand(QString(), 500, 1500);
    r = ComputeIntro(thousand, QStringLiteral("0.25"), 1);
    EXPECT_EQ(r.start, 500 + 375);
    EXPECT_EQ(r.end, 500 + 625);
    const IntroRange fraction = ComputeIntro(thousand, QStringLiteral("1/4"), 1);
    EXPECT_EQ(fraction.start, r.start);
    EXPECT_EQ(fraction.end, r.end);
    r = ComputeIntro(thousand, QStringLiteral("0:30"), 2);
    EXPECT_EQ(r.start, 500);
    EXPECT_EQ(r.end, 1500);
    r = ComputeIntro(thousand, QStringLiteral("0:04"), 2);
    EXPECT_EQ(r.start, 1200);
    EXPECT_EQ(r.end, 1500);
    // Values and steps from files are bounded to the step, whatever their size.
    const TStep whole(QString(), -2147483647 - 1, 2147483647);
    for (int placement : {0, 1, 2}) {
        for (const QString &value : {QStringLiteral("99999999:99999999"), QStringLiteral("1e300"),
                                     QStringLiteral("0.5")}) {
            r = ComputeIntro(whole, value, placement);
            EXPECT_LE(whole.start, r.start) << value.toStdString();
            EXPECT_LE(r.start, r.end) << value.toStdString();
            EXPECT_LE(r.end, whole.end) << value.toStdString();
        }
    }
    r = ComputeIntro(thousand, QStringLiteral("35791394:07"), 1);
    EXPECT_EQ(r.start, 500);
    EXPECT_EQ(r.end, 1500);
    // No usable value: the whole step, never a range left from another step.
    for (const QString &value :
         {QStringLiteral("5/4"), QStringLiteral("0:0"), QStringLiteral("x")}) {
        r = ComputeIntro(thousand, value, 1);
        EXPECT_EQ(r.start, 500) << value.toStdString();
        EXPECT_EQ(r.end, 1500) << value.toStdString();
    }
}

TEST_F(Controller, IntroModePlaysOnlyTheIntroOfEachStep)
{
    m_settings.introValue = QStringLiteral("0:02");
    m_settings.introSpec = 0;
    insert(*m_d);
    context().current.album.flags = AlbumFlagIntro;
    OB4CTRL_PlayStep(0);
    EXPECT_EQ(state().introEnd, 300);
    run(*m_d, 150);
    EXPECT_EQ(state().currentStepIndex, 1);
    EXPECT_EQ(m_d->lastPlayFrom(), 1650);
    EXPECT_EQ(m_d->playCount(), 2);
}

TEST_F(Controller, RandomNeverRepeatsTheCurrentStep)
{
    m_settings.SetOptionFlag(_GLOB_OPTION_RANDOMORDER, true);
    insert(*m_d);
    OB4CTRL_PlayStep(0);
    std::set<int> seen;
    for (int i = 0; i < 60; ++i) {
        const int before = state().currentStepIndex;
        OB4CTRL_NextStep();
        EXPECT_NE(state().currentStepIndex, before);
        EXPECT_TRUE(state().playing);
        seen.insert(state().currentStepIndex);
    }
    EXPECT_EQ(seen.size(), 3u);
    // With one step there is no other choice.
    context().playlistList = {copyStep(context().playlistList.first())};
    OB4CTRL_PlayStep(0);
    OB4CTRL_NextStep();
    EXPECT_EQ(state().currentStepIndex, 0);
    EXPECT_TRUE(state().playing);
}

TEST_F(Controller, RelayHandsOverToTheNextDriveWithAnAudioDisc)
{
    ScriptedDevice &e = m_drives.addDrive(QLatin1Char('E'));
    ScriptedDevice &f = m_drives.addDrive(QLatin1Char('F'));
    state().driveList = m_drives.letters();
    m_settings.SetOptionFlag(_GLOB_OPTION_RANDOMDRIVE, true);
    insert(*m_d);
    f.insert(ScriptedDevice::audioDisc({150, 9000}, 20000));
    OB4CTRL_PlayStep(2);
    run(*m_d, 1600);
    // E has no disc, so F takes over and plays its first step once recognised.
    EXPECT_EQ(state().currentDrive, QStringLiteral("F"));
    EXPECT_EQ(m_window.removed, QList<bool>{true});
    EXPECT_EQ(m_window.inserted, 2);
    EXPECT_TRUE(state().playing);
    EXPECT_EQ(f.lastPlayFrom(), 150);
    EXPECT_EQ(state().currentStepIndex, 0);
    EXPECT_EQ(e.playCount(), 0);
}

TEST_F(Controller, MultiDriveRandomSwitchesDrivesAndPlaysARandomStep)
{
    ScriptedDevice &e = m_drives.addDrive(QLatin1Char('E'));
    state().driveList = m_drives.letters();
    state().closeOnEject = true;
    m_settings.SetOptionFlag(_GLOB_OPTION_RANDOMDRIVE, true);
    m_settings.SetOptionFlag(_GLOB_OPTION_RANDOMORDER, true);
    insert(*m_d);
    e.insert(ScriptedDevice::audioDisc({150, 3000, 6000}, 9000));
    OB4CTRL_PlayStep(0);
    for (int i = 0; i < 200 && state().currentDrive == QLatin1String("D"); ++i)
        OB4CTRL_NextStep();
    ASSERT_EQ(state().currentDrive, QStringLiteral("E"));
    EXPECT_FALSE(state().closeOnEject);
    EXPECT_EQ(m_window.closed, 0);
    EXPECT_EQ(state().startStep, PlayerState::RandomStep);
    EXPECT_EQ(OB4MCI_Poll(), 1);
    EXPECT_TRUE(state().playing);
    EXPECT_EQ(e.playCount(), 1);
}

TEST_F(Controller, PauseAndResumeFromTheSavedFrame)
{
    insert(*m_d);
    OB4CTRL_PlayStep(1);
    run(*m_d, 400);
    OB4MCI_StopPlayback();
    state().paused = true;
    const int saved = state().position;
    EXPECT_GT(saved, 1650 + 300);
    EXPECT_FALSE(m_d->isPlaying());
    EXPECT_EQ(OB4MCI_Poll(), 0);
    OB4MCI_StartPlayback();
    EXPECT_EQ(m_d->lastPlayFrom(), saved);
    EXPECT_TRUE(state().playing);
    EXPECT_FALSE(state().paused);
}

TEST_F(Controller, PreviousRestartsOrGoesBack)
{
    insert(*m_d);
    OB4CTRL_PlayStep(1);
    run(*m_d, 100);
    OB4CTRL_PrevStep();
    EXPECT_EQ(state().currentStepIndex, 0);
    OB4CTRL_PlayStep(1);
    run(*m_d, 300);
    OB4CTRL_PrevStep();
    EXPECT_EQ(state().currentStepIndex, 1);
    EXPECT_EQ(m_d->lastPlayFrom(), 1650);
}

TEST_F(Controller, EjectWhilePlayingClearsTheDisc)
{
    insert(*m_d);
    OB4CTRL_PlayStep(0);
    run(*m_d, 100);
    m_d->remove();
    EXPECT_EQ(OB4MCI_Poll(), -1);
    EXPECT_EQ(m_window.removed, QList<bool>{true});
    EXPECT_FALSE(state().playing);
    EXPECT_FALSE(state().discPresent);
    EXPECT_EQ(state().currentStepIndex, -1);
    EXPECT_EQ(state().position, -1);
    EXPECT_EQ(context().current.disc.trackCount, 0);
    EXPECT_TRUE(context().playlistList.isEmpty());
    EXPECT_EQ(m_window.closed, 0);
    // With "/CLOSE" the next eject closes the player.
    state().closeOnEject = true;
    insert(*m_d);
    m_d->remove();
    OB4MCI_Poll();
    EXPECT_EQ(m_window.closed, 1);
}

TEST_F(Controller, PlayedMarkCountsTheTrackAndTheInsertionOnce)
{
    insert(*m_d);
    OB4CTRL_PlayStep(0);
    run(*m_d, 800);
    const AlbumInfo &album = context().current.album;
    EXPECT_EQ(album.trackPlayCounts[1], 1);
    EXPECT_EQ(album.insertCount, 1);
    EXPECT_TRUE(album.counted);
    run(*m_d, 1500);
    EXPECT_EQ(album.trackPlayCounts[2], 1);
    EXPECT_EQ(album.insertCount, 1);
    EXPECT_GE(m_window.statistics, 2);
}

TEST_F(Controller, DiscClassification)
{
    ScriptedDevice::Disc single = ScriptedDevice::audioDisc({150}, 30000);
    single.trackTypeUnsupported = true;
    m_questions.answer(7);
    m_d->insert(single);
    EXPECT_EQ(OB4MCI_Poll(), 1);
    ASSERT_EQ(m_questions.asked().size(), 1);
    EXPECT_EQ(m_questions.asked().first().id, Msg::SingleTrackDisc);
    m_d->remove();
    OB4MCI_Poll();
    m_questions.answer(6);
    m_d->insert(single);
    EXPECT_EQ(OB4MCI_Poll(), 2);
    m_d->remove();
    OB4MCI_Poll();
    m_settings.SetOptionFlag(_GLOB_OPTION_NOSINGLETRACK, true);
    m_d->insert(single);
    EXPECT_EQ(OB4MCI_Poll(), 2);
    EXPECT_EQ(m_questions.asked().size(), 2);
    m_d->remove();
    OB4MCI_Poll();
    // A label in any case counts; an ignored disc is never played.
    ScriptedDevice::Disc data = ScriptedDevice::audioDisc({150, 3000}, 6000);
    data.dataTracks = {1};
    data.label = QStringLiteral("AUDIO CD");
    m_d->insert(data);
    EXPECT_EQ(OB4MCI_Poll(), 1);
    m_d->remove();
    OB4MCI_Poll();
    data.label = QStringLiteral("BACKUP");
    m_d->insert(data);
    EXPECT_EQ(OB4MCI_Poll(), 2);
    OB4CTRL_PlayStep(0);
    EXPECT_EQ(m_d->playCount(), 0);
}

// Faults of the old design that must stay mended.
TEST_F(Controller, MendedFaults)
{
    // A drive can be chosen after a start-up that opened none.
    OB4MCI_Shutdown();
    m_drives.setOpenFailure(QLatin1Char('D'), CdDevice::ErrorHardware);
    OB4MCI_Startup();
    ASSERT_FALSE(m_questions.asked().isEmpty());
    EXPECT_EQ(m_questions.asked().last().id, Msg::UnableToOpenDrive);
    m_drives.setOpenFailure(QLatin1Char('D'), 0);
    EXPECT_TRUE(OB4MCI_SwitchDrive(QLatin1Char('D')));
    EXPECT_EQ(state().currentDrive, QStringLiteral("D"));

    // Display modes with nothing current show nothing instead of reading outside the tables.
    for (int mode = 0; mode < 5; ++mode)
        EXPECT_EQ(OB4MCI_GetDisplayTime(mode, 500), -1);

    // A play command that failed does not wait for the drive.
    insert(*m_d);
    m_d->setFailure(ScriptedDevice::Play, CdDevice::ErrorHardware);
    const qsizetype asked = m_questions.asked().size();
    OB4CTRL_PlayStep(1);
    EXPECT_EQ(m_d->positionReadsSincePlay(), 0);
    EXPECT_FALSE(state().playing);
    ASSERT_EQ(m_questions.asked().size(), asked + 1);
    EXPECT_EQ(m_questions.asked().last().id, Msg::Notice);
    EXPECT_EQ(m_questions.asked().last().texts.first(), QStringLiteral("OB4MCI_BeginPlayback"));
    m_d->setFailure(ScriptedDevice::Play, 0);

    // While stopped, a step a few frames from the position still gets a play command.
    context().playlistList = {TStep(QString(), 150, 160), TStep(QString(), 160, 1650)};
    OB4CTRL_Stop();
    const int plays = m_d->playCount();
    OB4CTRL_PlayStep(1);
    EXPECT_EQ(m_d->playCount(), plays + 1);
    EXPECT_TRUE(state().playing);
    EXPECT_GT(m_d->positionReadsSincePlay(), 0) << "a play command that went through is waited for";
}

TEST_F(Controller, ShuffleKeepsEveryStepAndVaries)
{
    QList<TStep> steps;
    for (int i = 0; i < 20; ++i)
        steps.append(TStep(QString(), 150 + i * 100, 250 + i * 100));
    std::mt19937 random;
    std::set<QList<int>> orders;
    for (int round = 0; round < 5; ++round) {
        ShuffleSteps(steps, random);
        QList<int> starts;
        for (const TStep &step : steps)
            starts.append(step.start);
        QList<int> sorted = starts;
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < 20; ++i)
            ASSERT_EQ(sorted.at(i), 150 + i * 100);
        orders.insert(starts);
    }
    EXPECT_EQ(orders.size(), 5u);
}

TEST_F(Controller, CustomPlaylistKeepsItsOrderAcrossTabSwitches)
{
    insert(*m_d);
    auto custom = std::make_shared<TPlaylist>(QStringLiteral("Mine"));
    custom->steps = {TStep(QString(), 3150, 4650), TStep(QString(), 150, 1650)};
    context().current.playlists.append(custom);
    SetCurrentPlaylist(QStringLiteral("mine"));
    EXPECT_EQ(context().currentPlaylistIndex, 1);
    EXPECT_EQ(context().current.album.currentPlaylist, QStringLiteral("Mine"));
    context().playlistList.removeFirst();
    SetCurrentPlaylist(QStringLiteral("Album"));
    ASSERT_EQ(custom->steps.size(), 1);
    EXPECT_EQ(custom->steps.first().start, 150);
    EXPECT_TRUE(OB4CTRL_PlayTrack(3));
    EXPECT_EQ(state().currentStepIndex, 2);
    EXPECT_FALSE(OB4CTRL_PlayTrack(7));
    // Deleting in the "Album" list never changes the built-in playlist.
    context().playlistList.removeLast();
    RevertPlaylist();
    EXPECT_EQ(context().playlistList.size(), 3);
}

TEST_F(Controller, DiscIdsOfOtherDrives)
{
    ScriptedDevice &e = m_drives.addDrive(QLatin1Char('E'));
    m_drives.addDrive(QLatin1Char('F'));
    state().driveList = m_drives.letters();
    insert(*m_d);
    e.insert(ScriptedDevice::audioDisc({150, 15000}, 30000));
    QString id;
    EXPECT_EQ(OB4MCI_GetDriveDiscID(QLatin1Char('d'), &id), 1);
    EXPECT_EQ(id, context().current.disc.id);
    EXPECT_EQ(OB4MCI_GetDriveDiscID(QLatin1Char('E'), &id), 1);
    EXPECT_EQ(id, QStringLiteral("04018E0203A98"));
    EXPECT_EQ(OB4MCI_GetDriveDiscID(QLatin1Char('F'), &id), 0);
    EXPECT_EQ(OB4MCI_GetDriveDiscID(QLatin1Char('Q'), &id), -1);
    EXPECT_TRUE(id.isEmpty());

    // A changer's drives are read from the cache, refreshed only when asked.
    m_settings.SetOptionFlag(_GLOB_OPTION_CHANGERCOMPAT, true);
    const int opens = m_drives.openCount(QLatin1Char('E'));
    EXPECT_EQ(OB4MCI_GetCachedDriveDiscID(QStringLiteral("E"), &id), -1);
    OB4MCI_RefreshDriveIDs();
    EXPECT_EQ(OB4MCI_GetCachedDriveDiscID(QStringLiteral("e"), &id), 1);
    EXPECT_EQ(id, QStringLiteral("04018E0203A98"));
    EXPECT_EQ(m_drives.openCount(QLatin1Char('E')), opens + 1);
    EXPECT_EQ(OB4MCI_GetCachedDriveDiscID(QStringLiteral("D"), &id), 1);
    EXPECT_EQ(OB4MCI_GetCachedDriveDiscID(QString(), &id), -1);
    EXPECT_TRUE(OB4MCI_IsAudioCDVolume(QLatin1Char('E')));
    EXPECT_FALSE(OB4MCI_IsAudioCDVolume(QLatin1Char('F')));
}

TEST_F(Controller, AStoredDiscKeepsItsKindWithoutAsking)
{
    TestHome home;
    Collection collection(m_settings, home.file(QStringLiteral("test.obc")));
    collection.setQuestionPort(&m_questions);
    collection.BuildAlbumIndex();
    context().collection = &collection;
    ScriptedDevice::Disc single = ScriptedDevice::audioDisc({150}, 30000);
    single.trackTypeUnsupported = true;
    m_questions.answer(6);
    m_d->insert(single);
    EXPECT_EQ(OB4MCI_Poll(), 2);
    ASSERT_EQ(m_questions.asked().size(), 1);
    CurrentAlbum &current = context().current;
    ASSERT_TRUE(ReadAlbumInfo(collection, current.webLinks, current.album, current.playlists,
                              current.disc));
    ASSERT_TRUE(WriteAlbumInfo(collection, false, current.webLinks, current.playlists, current.disc,
                               current.album));
    m_d->remove();
    OB4MCI_Poll();
    m_d->insert(single);
    EXPECT_EQ(OB4MCI_Poll(), 2);
    EXPECT_EQ(m_questions.asked().size(), 1);
    EXPECT_EQ(context().current.disc.mediaKind, DiscKindCdRom);
    OB4MCI_Shutdown();
    context().collection = nullptr;
    collection.ShutdownCollection();
}

TEST_F(Controller, ScopesNestAndGiveBackTheOuterContext)
{
    insert(*m_d);
    {
        ScriptedDriveSet drives;
        drives.addDrive(QLatin1Char('E'));
        PlaybackContext inner;
        inner.drives = &drives;
        inner.state.driveList = drives.letters();
        const PlaybackScope scope(inner);
        OB4MCI_Startup();
        EXPECT_EQ(inner.state.currentDrive, QStringLiteral("E"));
        EXPECT_FALSE(OB4MCI_GetMediaPresent());
        OB4MCI_Shutdown();
    }
    EXPECT_EQ(&PlaybackScope::current(), &m_context);
    EXPECT_EQ(state().currentDrive, QStringLiteral("D"));
    EXPECT_TRUE(OB4MCI_GetMediaPresent());
    EXPECT_EQ(context().playlistList.size(), 3);
}
