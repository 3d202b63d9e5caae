#include "base/MessageIds.h"
#include "collection/AlbumInfo.h"
#include "collection/DiscInfo.h"
#include "collection/PlaylistRules.h"
#include "collection/StepProperties.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Orbisong;

namespace {

PlaylistList playlists(const QStringList &titles)
{
    PlaylistList list;
    list.append(std::make_shared<TPlaylist>(QStringLiteral("Album"), TPlaylist::FlagAlbum));
    for (const QString &title : titles)
        list.append(std::make_shared<TPlaylist>(title));
    return list;
}

// Eight tracks of one minute from frame 150; the lead-out at 36150.
DiscInfo eightTracks()
{
    DiscInfo disc;
    disc.trackCount = 8;
    for (int t = 1; t <= 9; ++t)
        disc.trackOffsets[std::size_t(t)] = 150 + (t - 1) * 4500;
    for (int t = 1; t <= 8; ++t)
        disc.trackLengths[std::size_t(t)] = 4500;
    return disc;
}

} // namespace

TEST(PlaylistTitles, ProposalTakesTheFirstFreeNumber)
{
    EXPECT_EQ(ProposePlaylistTitle(playlists({})), QStringLiteral("New Playlist"));
    EXPECT_EQ(ProposePlaylistTitle(playlists({"new playlist"})), QStringLiteral("New Playlist 1"));
    EXPECT_EQ(ProposePlaylistTitle(playlists({"New Playlist", "New Playlist 1", "New Playlist 3"})),
              QStringLiteral("New Playlist 2"));
}

TEST(PlaylistTitles, ReservedUsedAndUnstorableTitlesAreRefused)
{
    const PlaylistList list = playlists({"Favorites"});
    EXPECT_EQ(CheckPlaylistTitle(list, QStringLiteral("tracks")), Msg::ReservedPlaylistTitle);
    EXPECT_EQ(CheckPlaylistTitle(list, QStringLiteral(" album ")), Msg::ReservedPlaylistTitle);
    EXPECT_EQ(CheckPlaylistTitle(list, QStringLiteral("WebLink")), Msg::ReservedPlaylistTitle);
    EXPECT_EQ(CheckPlaylistTitle(list, QStringLiteral("Favorites")), Msg::PlaylistTitleInUse);
    EXPECT_EQ(CheckPlaylistTitle(list, QStringLiteral("  FAVORITES")), Msg::PlaylistTitleInUse);
    // Either would lose the playlist's steps when the album is read again.
    EXPECT_EQ(CheckPlaylistTitle(list, QStringLiteral("a]b")), Msg::ReservedPlaylistTitle);
    EXPECT_EQ(CheckPlaylistTitle(list, QStringLiteral("  ")), Msg::ReservedPlaylistTitle);
    EXPECT_EQ(CheckPlaylistTitle(list, QStringLiteral("Road Trip")), 0);
    EXPECT_EQ(CheckPlaylistTitle(list, QStringLiteral("Rock & Roll (Live)")), 0);
    // A playlist keeps its own title, in another case too, when it is renamed.
    EXPECT_EQ(CheckPlaylistTitle(list, QStringLiteral("favorites"), list.at(1).get()), 0);
}

TEST(FavoriteTracks, MostPlayedFirstAndLaterTracksFirstOnEqualCounts)
{
    AlbumInfo album;
    EXPECT_TRUE(FavoriteTracks(album, 8).isEmpty());
    album.trackPlayCounts[2] = 3;
    album.trackPlayCounts[5] = 3;
    album.trackPlayCounts[7] = 1;
    EXPECT_EQ(FavoriteTracks(album, 8), QList<int>({5, 2, 7}));
    album.trackPlayCounts[1] = 9;
    album.trackPlayCounts[8] = 1;
    EXPECT_EQ(FavoriteTracks(album, 8), QList<int>({1, 5, 2, 8, 7}));
    // Counts beyond the disc's tracks belong to no track of it.
    EXPECT_EQ(FavoriteTracks(album, 6), QList<int>({1, 5, 2}));
}

TEST(WholeTrackSteps, RunFromTheTrackToTheNextOrTheLeadOut)
{
    const DiscInfo disc = eightTracks();
    const TStep second = WholeTrackStep(disc, 2);
    EXPECT_EQ(second.start, 4650);
    EXPECT_EQ(second.end, 9150);
    EXPECT_TRUE(second.title.isEmpty());
    EXPECT_TRUE(second.script.isEmpty());
    EXPECT_EQ(WholeTrackStep(disc, 8).end, 36150);
}

TEST(TrackShuffle, IsAPermutationRepeatableBySeed)
{
    const QList<int> tracks = {1, 2, 3, 4, 5, 6, 7, 8};
    QList<int> first = tracks;
    QRandomGenerator a(42);
    ShuffleTracks(first, a);
    QList<int> again = tracks;
    QRandomGenerator b(42);
    ShuffleTracks(again, b);
    EXPECT_EQ(first, again);
    QList<int> sorted = first;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, tracks);
    int differing = 0;
    for (quint32 seed = 1; seed <= 20; ++seed) {
        QList<int> other = tracks;
        QRandomGenerator random(seed);
        ShuffleTracks(other, random);
        differing += other != tracks ? 1 : 0;
    }
    EXPECT_GE(differing, 19);
    QList<int> one = {4};
    ShuffleTracks(one, a);
    EXPECT_EQ(one, QList<int>({4}));
}

TEST(StepProperties, PositionsAreOffsetsWithinTheStartingTrack)
{
    const DiscInfo disc = eightTracks();
    AlbumInfo album;
    album.trackTitles[3] = QStringLiteral("Third");
    TStep step(QString(), 9150 + 750, 9150 + 3000);
    const StepProperties properties(disc, album, step);
    EXPECT_EQ(properties.track(), 3);
    EXPECT_EQ(properties.trackLength(), 4500);
    EXPECT_EQ(properties.startOffset(), 750);
    EXPECT_EQ(properties.endOffset(), 3000);
    EXPECT_EQ(properties.shownScript(), StepProperties::scriptTemplate());

    // The end before the start changes nothing.
    EXPECT_FALSE(
        properties.apply(step, QStringLiteral("Intro"), QStringLiteral("beep;"), 2000, 1000));
    EXPECT_EQ(step.start, 9900);
    EXPECT_TRUE(step.title.isEmpty());
    EXPECT_TRUE(step.script.isEmpty());

    ASSERT_TRUE(
        properties.apply(step, QStringLiteral(" Intro "), QStringLiteral("beep;"), 0, 4500));
    EXPECT_EQ(step.title, QStringLiteral(" Intro "));
    EXPECT_EQ(step.script, QStringLiteral("beep;"));
    EXPECT_EQ(step.start, 9150);
    EXPECT_EQ(step.end, 13650);
    // The track's own title, in any case, leaves the step untitled; the template is no script.
    ASSERT_TRUE(properties.apply(step, QStringLiteral(" THIRD"),
                                 StepProperties::scriptTemplate().replace("\n", "\r\n") + "\n", 0,
                                 0));
    EXPECT_TRUE(step.title.isEmpty());
    EXPECT_TRUE(step.script.isEmpty());
    EXPECT_EQ(step.end, step.start);
}
