#include "base/AppPaths.h"
#include "collection/AlbumRecord.h"
#include "collection/AlbumText.h"
#include "collection/CurrentAlbum.h"
#include "collection/MediaKind.h"
#include "collection/TCfgFile.h"
#include "CollectionFixture.h"

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

const QString Id = QStringLiteral("04018E0203A98");

DiscInfo disc(int tracks, int kind = MediaKindAudioCd)
{
    DiscInfo d;
    d.mediaKind = kind;
    d.id = Id;
    d.mediaIdentity = QStringLiteral("67210754");
    d.trackCount = tracks;
    for (int n = 1; n <= tracks + 1; ++n)
        d.trackOffsets[std::size_t(n)] = 150 + (n - 1) * 15000;
    for (int n = 1; n <= tracks; ++n)
        d.trackLengths[std::size_t(n)] = 15000;
    d.length = d.trackOffsets[std::size_t(tracks + 1)] / 75;
    return d;
}

} // namespace

TEST(AlbumRecord, WriteAndReadBackEveryField)
{
    CollectionFixture f;
    f.settings.maxRecentInserts = 10;
    auto collection = f.open();
    const DiscInfo d = disc(3);

    AlbumInfo album;
    album.artist = "The Band";
    album.title = "Songs";
    album.binder = "B1";
    album.category = "rock";
    album.copyright = "(c) 1999";
    album.owner = "Ann";
    album.year = "1999";
    album.other = "misc";
    album.index = "42";
    album.flags = AlbumFlagRepeat;
    album.revision = 3;
    album.source = SourceLocalCddb;
    album.comments = "line one\\nline two";
    album.customData = {"Label=Indie", "Mood=calm"};
    album.albumEvents = {"proc main\r\nend", "a \\n b"};
    album.insertCount = 12;
    album.firstInsert = "1/2/99 10:00";
    for (int i = 1; i <= 12; ++i)
        album.recentInserts.append(QStringLiteral("insert %1").arg(i));
    album.trackTitles[1] = "One";
    album.trackTitles[2] = "Two";
    album.trackTitles[3] = "Three";
    album.trackNotes[2] = "a\\tb";
    album.trackPlayCounts[3] = 7;
    album.currentPlaylist = "Mine";
    auto mine = std::make_shared<TPlaylist>("Mine");
    TStep step("intro", 150, 900);
    step.script = "WriteLn('x')\r\n";
    mine->steps.append(step);
    mine->steps.append(TStep({}, 15150, 30150));
    PlaylistList playlists{MakeAlbumPlaylist(d, false), mine, std::make_shared<TPlaylist>("Empty")};
    const WebLinkList links{{"Home", "http://band.example", WebLinkDefault},
                            {"Shop", "https://shop.example", 0}};

    ASSERT_TRUE(WriteAlbumInfo(*collection, false, links, playlists, d, album));
    ASSERT_TRUE(collection->ShutdownCollection());

    const QByteArray written = f.read();
    EXPECT_TRUE(written.startsWith("<04018E0203A98>\r\n [Album]\r\n  ID=04018E0203A98\r\n  NW=0\r\n"
                                   "  AR=The Band\r\n  BI=B1\r\n  CA=rock\r\n  CO=(c) 1999\r\n"
                                   "  FL=2\r\n  IN=67210754\r\n  IX=42\r\n  LN=602\r\n"
                                   "  OW=Ann\r\n  TL=Songs\r\n  US=misc\r\n  YR=1999\r\n"
                                   "  RV=3\r\n  SR=2\r\n  CS=Label=Indie\\nMood=calm\r\n"));
    EXPECT_TRUE(written.contains(" [Mine]\r\n  CT=2\r\n  ST[1]=intro\r\n  SS[1]=150\r\n"
                                 "  SE[1]=900\r\n  SS1[1]=WriteLn('x')\r\n"));
    EXPECT_TRUE(written.contains("  RI[1]=insert 3\r\n"));
    EXPECT_TRUE(written.contains("  RI[10]=insert 12\r\n"));
    EXPECT_FALSE(written.contains("RI[11]"));
    EXPECT_FALSE(written.contains("[Album]\r\n  CT")); // the built-in playlist is not stored

    auto again = f.open();
    AlbumInfo read;
    PlaylistList readLists;
    WebLinkList readLinks;
    ASSERT_TRUE(ReadAlbumInfo(*again, readLinks, read, readLists, d));
    EXPECT_FALSE(read.isNew);
    EXPECT_FALSE(read.counted);
    EXPECT_EQ(read.artist, album.artist);
    EXPECT_EQ(read.comments, album.comments);
    EXPECT_EQ(read.customData, album.customData);
    EXPECT_EQ(read.albumEvents[0], "proc main\r\nend");
    EXPECT_EQ(read.albumEvents[1], "a \\n b");
    EXPECT_EQ(read.recentInserts.size(), 10);
    EXPECT_EQ(read.recentInserts.first(), "insert 3");
    EXPECT_EQ(read.trackNotes[2], "a\\tb");
    EXPECT_EQ(read.trackPlayCounts[3], 7);
    EXPECT_EQ(read.currentPlaylist, "Mine");
    EXPECT_EQ(readLinks, links);
    ASSERT_EQ(readLists.size(), 2);
    EXPECT_EQ(readLists[0]->title, "Mine");
    ASSERT_EQ(readLists[0]->steps.size(), 2);
    EXPECT_EQ(readLists[0]->steps[0].script, "WriteLn('x')"); // the final line break is lost
    EXPECT_EQ(readLists[0]->steps[1].start, 15150);
    EXPECT_TRUE(readLists[1]->steps.isEmpty());
    const AlbumIndexNode *node = again->FindAlbum(Id);
    ASSERT_TRUE(node);
    EXPECT_EQ(node->title, "Songs");
    EXPECT_EQ(node->trackCount, 3);
}

TEST(AlbumRecord, EmptyAlbumsAndCdRoms)
{
    CollectionFixture f;
    auto collection = f.open();
    CurrentAlbum current;
    current.disc = disc(2);
    collection->setCurrentAlbum(&current);
    ASSERT_TRUE(ReadAlbumInfo(*collection));
    EXPECT_TRUE(current.album.isNew);
    EXPECT_EQ(current.album.owner, ProperCase(loginName()));
    EXPECT_EQ(current.album.trackTitles[2], "Track 2");
    EXPECT_FALSE(WriteAlbumInfo(*collection, false));
    EXPECT_TRUE(collection->FindAlbum(Id)); // indexed when read, never written
    EXPECT_TRUE(f.flushed(*collection).isEmpty());

    current.album.title = "Named";
    ASSERT_TRUE(WriteAlbumInfo(*collection, true));
    EXPECT_TRUE(f.flushed(*collection).contains("TL=Named"));
    current.album.title.clear();
    current.discPresent = true;
    EXPECT_FALSE(WriteAlbumInfo(*collection, true));
    EXPECT_FALSE(collection->FindAlbum(Id));
    EXPECT_FALSE(f.flushed(*collection).contains(Id.toLatin1()));

    current.disc = disc(1, MediaKindCdRom);
    ASSERT_TRUE(WriteAlbumInfo(*collection, true));
    EXPECT_TRUE(f.flushed(*collection).contains("  MD=65540\r\n"));
    EXPECT_TRUE(f.flushed(*collection).contains("  TL=\r\n"));
}

TEST(AlbumRecord, ReadingFollowsTheDisc)
{
    CollectionFixture f;
    const int track = int(0x80000000u);
    f.write(QStringLiteral("<%1>\n[Album]\nID=%1\nTL=t\n[Tracks]\nCT=12\nTT[1]=a\nTT[2]=b\n"
                           "TT[11]=eleven\n[Playlists]\nCT=3\nPL[1]=Best\nPL[2]= \nPL[3]=Bare\n"
                           "[Best]\nCT=4\nSS[1]=%2\nSE[1]=%3\nSS[2]=%4\nSE[2]=%4\nSS[3]=5\n"
                           "ST[4]=frames\nSS[4]=300\nSE[4]=600\n[Bare]\nST[1]=x\n")
                .arg(Id)
                .arg(track | 2)
                .arg(track | 3)
                .arg(track | 11)
                .toLatin1());
    auto collection = f.open();
    const DiscInfo d = disc(10);
    AlbumInfo album;
    album.trackTitles[11] = "stale";
    PlaylistList playlists;
    WebLinkList links;
    ASSERT_TRUE(ReadAlbumInfo(*collection, links, album, playlists, d));
    EXPECT_EQ(album.trackTitles[2], "b");
    EXPECT_EQ(album.trackTitles[3], "Track 3");
    EXPECT_TRUE(album.trackTitles[11].isEmpty());
    ASSERT_EQ(playlists.size(), 2);
    const PlaylistList::value_type tracks = playlists[0];
    // Track-form step 2..3 plays from the start of track 2 to the start of track 4; a track
    // number past the disc and a step without an end are dropped.
    ASSERT_EQ(tracks->steps.size(), 2);
    EXPECT_EQ(tracks->steps[0].start, d.trackOffsets[2]);
    EXPECT_EQ(tracks->steps[0].end, d.trackOffsets[4]);
    EXPECT_EQ(tracks->steps[1].title, "frames");
    EXPECT_EQ(tracks->steps[1].length(), 300);
    EXPECT_TRUE(playlists[1]->steps.isEmpty());

    // Titles 11 and 12 are gone after the next write.
    album.title = "t";
    ASSERT_TRUE(WriteAlbumInfo(*collection, false, links, playlists, d, album));
    collection->ShutdownCollection();
    EXPECT_FALSE(f.read().contains("eleven"));
    EXPECT_TRUE(f.read().contains("  SS[1]=15150\r\n"));
}

TEST(AlbumRecord, StoredCountsAreBoundedByTheKeysPresent)
{
    CollectionFixture f;
    f.write(QStringLiteral("<%1>\n[Album]\nID=%1\nTL=t\n[Playlists]\nCT=2000000000\nPL[1]=Best\n"
                           "[Best]\nCT=2000000000\nSS[1]=300\nSE[1]=600\n"
                           "[WebLink]\nCT=2000000000\nWU[1]=http://a.example\n"
                           "WU[2]=http://b.example\nWU[4]=http://after.a.gap\n")
                .arg(Id)
                .toLatin1());
    auto collection = f.open();
    AlbumInfo album;
    PlaylistList playlists;
    WebLinkList links;
    ASSERT_TRUE(ReadAlbumInfo(*collection, links, album, playlists, disc(3)));
    ASSERT_EQ(links.size(), 2);
    EXPECT_EQ(links[1].address, "http://b.example");
    ASSERT_EQ(playlists.size(), 1);
    EXPECT_EQ(playlists[0]->steps.size(), 1);
}

TEST(AlbumRecord, AnAudioCdIsStoredOnlyUnderAnAlbumId)
{
    CollectionFixture f;
    auto collection = f.open();
    AlbumInfo album;
    album.title = "t";
    DiscInfo d = disc(2);
    for (const QString &id : {QStringLiteral("04018E027FFFFFFF"), QStringLiteral("04018E02"),
                              QStringLiteral("04018E0203A9G")}) {
        d.id = id;
        EXPECT_FALSE(WriteAlbumInfo(*collection, false, {}, {}, d, album)) << id.toStdString();
    }
    d.id = Id;
    EXPECT_TRUE(WriteAlbumInfo(*collection, false, {}, {}, d, album));
    collection->ShutdownCollection();
    EXPECT_TRUE(f.read().contains(Id.toLatin1()));
    EXPECT_FALSE(f.read().contains("7FFFFFFF"));
}

TEST(AlbumRecord, UsageCounting)
{
    AlbumInfo album;
    const QDateTime now(QDate(2024, 5, 1), QTime(20, 15));
    CountTrackPlay(album, 2, now);
    CountTrackPlay(album, 3, now);
    CountTrackPlay(album, 3, now);
    EXPECT_EQ(album.trackPlayCounts[2], 1);
    EXPECT_EQ(album.trackPlayCounts[3], 2);
    EXPECT_EQ(album.insertCount, 1);
    EXPECT_EQ(album.recentInserts, QStringList{usageTimeText(now)});
    EXPECT_TRUE(album.counted);
}

TEST(AlbumText, SortKeyAndProperCase)
{
    EXPECT_EQ(SortKey("The Beatles", 0), "Beatles");
    EXPECT_EQ(SortKey("the x", 0), "x");
    EXPECT_EQ(SortKey("The ", 0), "The ");
    EXPECT_EQ(SortKey("A Flock", 0), "Flock");
    EXPECT_EQ(SortKey("A ", 0), "A ");
    EXPECT_EQ(SortKey("John Smith", AlbumFlagLastNameFirst), "SmithJohn");
    EXPECT_EQ(SortKey("The John Smith", AlbumFlagLastNameFirst), "SmithJohn");
    EXPECT_EQ(SortKey("Madonna ", AlbumFlagLastNameFirst), "Madonna ");
    EXPECT_EQ(ProperCase("o'NEIL-SMITH jr"), "O'neil-smith Jr");
    EXPECT_EQ(ProperCase("1st aNN"), "1St Ann");
    // Login names become owners and favourites playlist names through the same rule.
    EXPECT_EQ(ProperCase("mary-jo_o'neil"), "Mary-jo_O'neil");
    EXPECT_EQ(ProperCase("'TWAS --x"), "'twas --x");
    EXPECT_EQ(ProperCase("\u00e9MILE z\u00d6e"), "\u00c9mile Z\u00f6e");
    EXPECT_EQ(ProperCase(""), "");
}
