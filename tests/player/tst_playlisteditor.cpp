#include "base/MessageIds.h"
#include "player/PlaylistEditor.h"
#include "ScriptedEngineFixture.h"

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

class Editor : public ScriptedEngineFixture
{
protected:
    void SetUp() override
    {
        ScriptedEngineFixture::SetUp();
        drive->insert(fourTracks());
        engine->poll();
        QCoreApplication::processEvents();
        ASSERT_TRUE(engine->audioPresent());
    }

    QList<int> starts() const
    {
        QList<int> out;
        for (const TStep &step : std::as_const(engine->list()))
            out.append(step.start);
        return out;
    }

    std::shared_ptr<TPlaylist> playlist(const QString &title)
    {
        return findPlaylist(engine->current().playlists, title);
    }

    PlaylistEditor editor() { return PlaylistEditor(*engine); }
};

} // namespace

TEST_F(Editor, AddedPlaylistOfWholeTracksBecomesCurrent)
{
    EXPECT_EQ(editor().proposedTitle(), QStringLiteral("New Playlist"));
    EXPECT_EQ(editor().addPlaylist(QStringLiteral("tracks"), {1}), Msg::ReservedPlaylistTitle);
    ASSERT_EQ(editor().addPlaylist(QStringLiteral("  Evening "), {4, 2, 9}), 0);
    EXPECT_EQ(engine->currentPlaylist(), QStringLiteral("Evening"));
    EXPECT_EQ(engine->current().album.currentPlaylist, QStringLiteral("Evening"));
    // Track 9 is not on the disc.
    EXPECT_EQ(starts(), QList<int>({13650, 4650}));
    EXPECT_EQ(engine->list().at(0).end, 18150);
    EXPECT_EQ(editor().addPlaylist(QStringLiteral("EVENING"), {1}), Msg::PlaylistTitleInUse);
    EXPECT_EQ(engine->current().playlists.size(), 2);
}

TEST_F(Editor, EditingThePlayingPlaylistStopsAndRefillsTheList)
{
    ASSERT_EQ(editor().addPlaylist(QStringLiteral("Mix"), {1, 2, 3}), 0);
    engine->playStep(2);
    ASSERT_TRUE(engine->playing());
    const auto mix = editor().currentCustomPlaylist();
    ASSERT_TRUE(mix);
    QList<TStep> steps = {TStep(QStringLiteral("Cut"), 4650, 6000)};
    steps[0].script = QStringLiteral("beep;");
    EXPECT_EQ(editor().applyEdit(mix, QStringLiteral("Album"), steps), Msg::ReservedPlaylistTitle);
    EXPECT_TRUE(engine->playing());
    ASSERT_EQ(editor().applyEdit(mix, QStringLiteral(" Short Mix"), steps), 0);
    EXPECT_FALSE(engine->playing());
    EXPECT_EQ(engine->currentPlaylist(), QStringLiteral("Short Mix"));
    EXPECT_EQ(engine->current().album.currentPlaylist, QStringLiteral("Short Mix"));
    ASSERT_EQ(engine->list().size(), 1);
    EXPECT_EQ(engine->list().at(0).title, QStringLiteral("Cut"));
    EXPECT_EQ(engine->list().at(0).script, QStringLiteral("beep;"));
    // Copies: the playlist's steps and the list's are not the window's.
    EXPECT_NE(mix->steps.at(0).serial(), steps.at(0).serial());
    EXPECT_NE(engine->list().at(0).serial(), mix->steps.at(0).serial());
    EXPECT_EQ(engine->currentIndex(), 0);
    EXPECT_EQ(engine->position(), 4650);
}

TEST_F(Editor, EditingAnotherPlaylistLeavesPlaybackAlone)
{
    ASSERT_EQ(editor().addPlaylist(QStringLiteral("One"), {1}), 0);
    ASSERT_EQ(editor().addPlaylist(QStringLiteral("Two"), {2}), 0);
    engine->playStep(0);
    ASSERT_EQ(editor().applyEdit(playlist(QStringLiteral("One")), QStringLiteral("one"), {}), 0);
    EXPECT_TRUE(engine->playing());
    EXPECT_EQ(playlist(QStringLiteral("One"))->title, QStringLiteral("one"));
    EXPECT_TRUE(playlist(QStringLiteral("one"))->steps.isEmpty());
    EXPECT_EQ(editor().applyEdit(playlist(QStringLiteral("one")), QStringLiteral("two"), {}),
              Msg::PlaylistTitleInUse);
}

TEST_F(Editor, RemovingTheCurrentPlaylistReturnsToAlbum)
{
    EXPECT_FALSE(editor().removeCurrentPlaylist());
    EXPECT_FALSE(editor().currentCustomPlaylist());
    ASSERT_EQ(editor().addPlaylist(QStringLiteral("Gone"), {3}), 0);
    QSignalSpy closing(engine.get(), &PlayerEngine::playlistEditorsClosing);
    EXPECT_TRUE(editor().removeCurrentPlaylist());
    EXPECT_EQ(closing.count(), 1);
    EXPECT_EQ(engine->currentPlaylist(), QStringLiteral("Album"));
    EXPECT_FALSE(playlist(QStringLiteral("Gone")));
    EXPECT_EQ(engine->list().size(), 4);
}

TEST_F(Editor, DraggedStepsAreCopiedIntoAPlaylistOrDeleted)
{
    ASSERT_EQ(editor().addPlaylist(QStringLiteral("Target"), {1}), 0);
    engine->setCurrentPlaylist(QStringLiteral("Album"));
    EXPECT_EQ(editor().copyStepsTo(QStringLiteral("Album"), {0}), 0);
    EXPECT_EQ(editor().copyStepsTo(QStringLiteral("target"), {3, 1, 7}), 2);
    const auto target = playlist(QStringLiteral("Target"));
    ASSERT_EQ(target->steps.size(), 3);
    EXPECT_EQ(target->steps.at(1).start, 13650);
    EXPECT_EQ(target->steps.at(2).start, 4650);
    EXPECT_EQ(editor().deleteSteps({2, 0, 2}), 2);
    EXPECT_EQ(starts(), QList<int>({4650, 13650}));
}

TEST_F(Editor, StepEditsKeepTheStepWithinItsTrack)
{
    engine->current().album.trackTitles[2] = QStringLiteral("Second");
    const int serial = engine->list().at(1).serial();
    EXPECT_EQ(editor().rowOfStep(serial), 1);
    EXPECT_FALSE(editor().editStep(serial, QStringLiteral("x"), {}, 3000, 1500));
    EXPECT_EQ(engine->list().at(1).start, 4650);
    EXPECT_TRUE(engine->list().at(1).title.isEmpty());
    engine->moveToStep(1);
    ASSERT_TRUE(editor().editStep(serial, QStringLiteral("second "), {}, 750, 1500));
    const TStep &step = engine->list().at(1);
    EXPECT_TRUE(step.title.isEmpty());
    EXPECT_EQ(step.start, 5400);
    EXPECT_EQ(step.end, 6150);
    EXPECT_FALSE(editor().editStep(12345678, {}, {}, 0, 1));
}
