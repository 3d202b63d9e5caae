#include "CliRunner.h"
#include "collection/AlbumRecord.h"
#include "collection/MediaKind.h"
#include "CollectionFixture.h"

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

const QString Id = QStringLiteral("5A08C108E0A3B");

// A stored album of eight one-minute tracks; tracks 2, 5 and 7 were played 3, 3 and 1 times.
struct StoredAlbum : CollectionFixture
{
    DiscInfo disc;

    StoredAlbum()
    {
        disc.id = Id;
        disc.mediaKind = MediaKindAudioCd;
        disc.trackCount = 8;
        for (int t = 1; t <= 9; ++t)
            disc.trackOffsets[std::size_t(t)] = 150 + (t - 1) * 4500;
        for (int t = 1; t <= 8; ++t)
            disc.trackLengths[std::size_t(t)] = 4500;
        disc.length = 36150 / 75;
        AlbumInfo album;
        album.title = QStringLiteral("Eight");
        album.trackPlayCounts[2] = 3;
        album.trackPlayCounts[5] = 3;
        album.trackPlayCounts[7] = 1;
        auto collection = open();
        EXPECT_TRUE(WriteAlbumInfo(*collection, false, {}, {}, disc, album));
        EXPECT_TRUE(collection->ShutdownCollection());
    }

    CliResult run(const QStringList &arguments)
    {
        return runCli(home.path(), QStringList({"--collection", path, "playlist"}) + arguments);
    }

    // The album as the player would load it again.
    PlaylistList reload(AlbumInfo *album = nullptr)
    {
        auto collection = open();
        WebLinkList links;
        AlbumInfo read;
        PlaylistList playlists;
        EXPECT_TRUE(ReadAlbumInfo(*collection, links, read, playlists, disc));
        if (album)
            *album = read;
        return playlists;
    }

    static QList<int> starts(const TPlaylist &playlist)
    {
        QList<int> out;
        for (const TStep &step : playlist.steps)
            out.append((step.start - 150) / 4500 + 1);
        return out;
    }
};

} // namespace

TEST(CliPlaylist, AddsPlaylistsThatTheAlbumKeeps)
{
    StoredAlbum s;
    CliResult r =
        s.run({"add", "--album", Id.toLower(), "--title", " Favorites ", "--favorites", "3"});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, "added Favorites: 5,2,7\n");
    r = s.run({"add", "--album", Id, "--title", "Picked", "--tracks", "8,1,4"});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    r = s.run({"add", "--album", Id, "--title", "Mixed", "--tracks", "1,2,3,4,5,6,7,8",
               "--shuffle-seed", "11"});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    const CliResult again = s.run({"add", "--album", Id, "--title", "Mixed 2", "--tracks",
                                   "1,2,3,4,5,6,7,8", "--shuffle-seed", "11"});
    EXPECT_EQ(again.out.section(':', 1), r.out.section(':', 1));

    AlbumInfo album;
    const PlaylistList playlists = s.reload(&album);
    ASSERT_EQ(playlists.size(), 4);
    EXPECT_EQ(playlists.at(0)->title, QStringLiteral("Favorites"));
    EXPECT_EQ(StoredAlbum::starts(*playlists.at(0)), QList<int>({5, 2, 7}));
    EXPECT_EQ(playlists.at(0)->steps.at(2).end, 150 + 7 * 4500);
    EXPECT_EQ(StoredAlbum::starts(*playlists.at(1)), QList<int>({8, 1, 4}));
    EXPECT_EQ(playlists.at(1)->steps.at(0).end, 36150);
    EXPECT_EQ(playlists.at(2)->steps.size(), 8);
    EXPECT_EQ(album.currentPlaylist, QStringLiteral("Mixed 2"));
    EXPECT_EQ(album.title, QStringLiteral("Eight"));
}

TEST(CliPlaylist, RefusesTitlesWithTheirMessage)
{
    StoredAlbum s;
    ASSERT_EQ(s.run({"add", "--album", Id, "--title", "Favorites", "--tracks", "1"}).exitCode, 0);
    CliResult r = s.run({"add", "--album", Id, "--title", "tracks", "--tracks", "1"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("The title 'tracks' is reserved.")) << qPrintable(r.err);
    r = s.run({"add", "--album", Id, "--title", "FAVORITES", "--tracks", "1"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("The title 'FAVORITES' is already in use.")) << qPrintable(r.err);
    EXPECT_EQ(s.run({"add", "--album", Id, "--title", "a]b", "--tracks", "1"}).exitCode, 2);
    EXPECT_EQ(s.run({"add", "--album", Id, "--title", "  ", "--tracks", "1"}).exitCode, 2);
    EXPECT_EQ(s.run({"add", "--album", Id, "--title", "x", "--tracks", "9"}).exitCode, 2);
    EXPECT_EQ(s.run({"add", "--album", Id, "--title", "x", "--favorites", "4"}).exitCode, 2);
    EXPECT_EQ(s.run({"add", "--album", "0000000000000", "--title", "x", "--tracks", "1"}).exitCode,
              1);
    EXPECT_EQ(s.reload().size(), 1);
}

TEST(CliPlaylist, EditsRenameAndReplaceTheTracks)
{
    StoredAlbum s;
    ASSERT_EQ(s.run({"add", "--album", Id, "--title", "One", "--tracks", "1"}).exitCode, 0);
    ASSERT_EQ(s.run({"add", "--album", Id, "--title", "Two", "--tracks", "2"}).exitCode, 0);
    CliResult r = s.run({"edit", "--album", Id, "--title", "two", "--rename", "ONE"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("already in use")) << qPrintable(r.err);
    r = s.run({"edit", "--album", Id, "--title", "two", "--rename", " Second ", "--tracks", "6,3"});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, "edited Second: 2 steps\n");
    EXPECT_EQ(s.run({"edit", "--album", Id, "--title", "one", "--rename", "one"}).exitCode, 0);
    EXPECT_EQ(s.run({"edit", "--album", Id, "--title", "Missing"}).exitCode, 1);

    AlbumInfo album;
    const PlaylistList playlists = s.reload(&album);
    ASSERT_EQ(playlists.size(), 2);
    EXPECT_EQ(playlists.at(0)->title, QStringLiteral("one"));
    EXPECT_EQ(playlists.at(1)->title, QStringLiteral("Second"));
    EXPECT_EQ(StoredAlbum::starts(*playlists.at(1)), QList<int>({6, 3}));
    EXPECT_EQ(album.currentPlaylist, QStringLiteral("Second"));

    const CliResult help = runCli(s.home.path(), {"help", "playlist"});
    EXPECT_TRUE(help.out.contains("--shuffle-seed")) << qPrintable(help.out);
}
