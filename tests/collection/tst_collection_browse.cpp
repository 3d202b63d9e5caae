#include "collection/AlbumGrouping.h"
#include "collection/AlbumSearch.h"
#include "collection/AlbumSortOrder.h"
#include "collection/CollectionStatistics.h"
#include "collection/CurrentAlbum.h"
#include "collection/MediaKind.h"
#include "CollectionFixture.h"
#include "TestFiles.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// Five audio albums and a CD-ROM: "The Beatles" and "Beatles", an artist in capitals, an
// artist sorted by last name, empty and differently cased fields, play counts and inserts.
struct Browse : CollectionFixture
{
    std::unique_ptr<Collection> collection;

    Browse()
    {
        write(readFile(TestHome::sourceDir() + "/tests/data/collection/browse.obc"));
        collection = open();
    }

    QList<const AlbumIndexNode *> albums() const { return audioAlbums(*collection); }
};

QStringList ids(const QList<const AlbumIndexNode *> &albums)
{
    QStringList result;
    for (const AlbumIndexNode *album : albums)
        result.append(album->id.right(1));
    return result;
}

QStringList texts(const QList<GroupMember> &members)
{
    QStringList result;
    for (const GroupMember &member : members)
        result.append(member.text + ':' + QString::number(member.albumCount));
    return result;
}

QStringList hits(const QList<SearchHit> &found)
{
    QStringList result;
    for (const SearchHit &hit : found)
        result.append(hit.album->id.right(1) + '/' + QString::number(hit.track) + '/' + hit.text);
    return result;
}

QStringList ranking(const QList<StatisticsItem> &items)
{
    QStringList result;
    for (const StatisticsItem &item : items)
        result.append(item.title + '=' + QString::number(item.count));
    return result;
}

} // namespace

TEST(CollectionBrowse, MembersAreToldApartBySortKey)
{
    Browse b;
    EXPECT_EQ(ids(b.albums()), QStringList({"1", "2", "3", "4", "6"}));
    const QList<GroupMember> artists = groupMembers(b.albums(), GroupField::Artist);
    // "The Beatles" and "Beatles" share a button showing the first album's text; John Smith
    // has the last-name flag and sorts under S.
    EXPECT_EQ(texts(artists),
              QStringList({"The Beatles:2", "BEE GEES:1", "Pink Floyd:1", "John Smith:1"}));
    EXPECT_EQ(artists.at(3).key, "SmithJohn");
    EXPECT_EQ(ids(albumsOfMember(b.albums(), GroupField::Artist, artists.at(0))),
              QStringList({"1", "4"}));
    EXPECT_EQ(texts(groupMembers(b.albums(), GroupField::Category)),
              QStringList({"Disco:1", "Jazz:1", "Pop:1", "Rock:2"}));
    const QList<GroupMember> binders = groupMembers(b.albums(), GroupField::Binder);
    EXPECT_EQ(texts(binders), QStringList({"(None):4", "Shelf 1:1"}));
    EXPECT_EQ(ids(albumsOfMember(b.albums(), GroupField::Binder, binders.at(0))),
              QStringList({"2", "3", "4", "6"}));
    EXPECT_EQ(groupCaption(GroupField::Category), "Categories");
    EXPECT_EQ(groupCaption(GroupField::Year), "Years");
    EXPECT_EQ(groupTypeWord(GroupField::Owner), "Owner");

    const GroupMember typed = newGroupMember("  The Who ");
    EXPECT_EQ(typed.text, "The Who");
    EXPECT_EQ(typed.key, "Who");
    EXPECT_EQ(memberValue(typed), "The Who");
    EXPECT_EQ(newGroupMember(" ").text, "(None)");
    EXPECT_EQ(memberValue(binders.at(0)), "");
    EXPECT_TRUE(albumsOfMember(b.albums(), GroupField::Artist, typed).isEmpty());

    // Setting the field moves the album to the other member, in the index and the file.
    EXPECT_TRUE(setGroupValue(*b.collection, "6000000000006", GroupField::Artist, "beatles"));
    EXPECT_EQ(texts(groupMembers(b.albums(), GroupField::Artist)).first(), "The Beatles:3");
    EXPECT_TRUE(setGroupValue(*b.collection, "6000000000006", GroupField::Year, "1969"));
    EXPECT_EQ(texts(groupMembers(b.albums(), GroupField::Year)),
              QStringList({"(None):1", "1969:2", "1975:1", "1990:1"}));
    b.collection->ShutdownCollection();
    EXPECT_TRUE(b.read().contains("  AR=beatles\r\n"));
}

TEST(CollectionBrowse, CdRomOnlyCollectionHasNoAlbums)
{
    CollectionFixture f;
    f.write("<5000000000005>\n [Album]\n  ID=5000000000005\n  AR=Data\n [Media]\n  MD=65540\n");
    const auto collection = f.open();
    EXPECT_EQ(collection->albumCount(), 1);
    EXPECT_TRUE(audioAlbums(*collection).isEmpty());
    EXPECT_TRUE(AlbumSearch(*collection).run(SearchArtist, "data").isEmpty());
    EXPECT_TRUE(CollectionStatistics(*collection).mostPlayedAlbums().isEmpty());
}

TEST(CollectionBrowse, SortsLetterByLetter)
{
    Browse b;
    QList<const AlbumIndexNode *> albums = b.albums();
    AlbumSortOrder order;
    EXPECT_EQ(order.letters(), "ATCYO");
    order.sort(albums);
    // "The Beatles" sorts as "Beatles", the title decides between them; John Smith under S.
    EXPECT_EQ(ids(albums), QStringList({"1", "4", "2", "6", "3"}));
    for (qsizetype i = 1; i < albums.size(); ++i) {
        EXPECT_TRUE(order.lessThan(*albums.at(i - 1), *albums.at(i)));
        EXPECT_FALSE(order.lessThan(*albums.at(i), *albums.at(i - 1)));
    }
    b.collection->SetAlbumFlags("3000000000003", 0);
    order.sort(albums);
    EXPECT_EQ(ids(albums), QStringList({"1", "4", "2", "3", "6"}));

    // Titles sort without a leading "A ".
    order.moveToFront(AlbumSortOrder::letterOfColumn(0));
    order.sort(albums);
    EXPECT_EQ(ids(albums), QStringList({"1", "4", "2", "3", "6"}));

    // Equal keys keep the order they came in: "Rock" and "rock" are one category.
    const QList<const AlbumIndexNode *> indexOrder = b.albums();
    QList<const AlbumIndexNode *> reversed(indexOrder.crbegin(), indexOrder.crend());
    AlbumSortOrder("C").sort(reversed);
    EXPECT_EQ(ids(reversed), QStringList({"2", "3", "6", "4", "1"}));
}

TEST(CollectionBrowse, HeaderClickMovesTheLetterToTheFront)
{
    AlbumSortOrder order;
    order.moveToFront(AlbumSortOrder::letterOfColumn(3));
    EXPECT_EQ(order.letters(), "YATCO");
    order.moveToFront('Y');
    EXPECT_EQ(order.letters(), "YATCO");
    order.moveToFront('Q');
    EXPECT_EQ(order.letters(), "YATCO");
    EXPECT_EQ(AlbumSortOrder::letterOfColumn(5), 0);

    AlbumSortOrder stored("AxTTzq");
    EXPECT_EQ(stored.letters(), "AT");
    stored.moveToFront('O');
    EXPECT_EQ(stored.letters(), "OAT");
}

TEST(CollectionBrowse, SearchesAlbums)
{
    Browse b;
    AlbumSearch search(*b.collection);
    EXPECT_EQ(hits(search.run(SearchArtist, "be")), QStringList({"1/0/", "2/0/", "4/0/"}));
    EXPECT_TRUE(search.run(SearchArtist, "   ").isEmpty());
    EXPECT_TRUE(search.run(SearchArtist, "data").isEmpty());
    EXPECT_TRUE(search.run(9, "be").isEmpty());
    const QList<SearchHit> titled = search.run(SearchTitle, " QUIET ");
    ASSERT_EQ(titled.size(), 1);
    EXPECT_EQ(titled.first().artist, "John Smith");
    EXPECT_EQ(titled.first().title, "A Quiet Night");

    // Any field: owner, category, copyright, then the custom fields the settings define.
    EXPECT_EQ(hits(search.run(SearchAnyField, "cy")), QStringList({"6/0/"}));
    EXPECT_EQ(hits(search.run(SearchAnyField, "jazz")), QStringList({"3/0/"}));
    EXPECT_EQ(hits(search.run(SearchAnyField, "1969 apple")), QStringList({"1/0/"}));
    EXPECT_TRUE(search.run(SearchAnyField, "sunny").isEmpty());
    b.collection->settings().customFields = {"Label", "Mood"};
    EXPECT_EQ(hits(search.run(SearchAnyField, "sunny")), QStringList({"1/0/"}));
}

TEST(CollectionBrowse, SearchesTracks)
{
    Browse b;
    AlbumSearch search(*b.collection);
    EXPECT_EQ(hits(search.run(SearchTrackTitle, "intro")), QStringList({"1/2/Intro", "2/1/intro"}));
    EXPECT_EQ(hits(search.run(SearchTrackTitle, "track")),
              QStringList({"1/3/Track 3", "3/1/Track 1"}));
    EXPECT_EQ(hits(search.run(SearchTrackArtist, "bee")),
              QStringList({"2/1/intro", "2/2/Jive Talkin'"}));
    EXPECT_EQ(hits(search.run(SearchTrackOther, "london")),
              QStringList({"1/1/Recorded\r\nin London"}));

    // The album in the drive is searched as it is now, not as it was stored.
    CurrentAlbum current;
    current.discPresent = true;
    current.disc.mediaKind = MediaKindAudioCd;
    current.disc.id = "2000000000002";
    current.disc.trackCount = 2;
    current.album.trackTitles[1] = "Intro";
    current.album.trackTitles[2] = "Stayin' Alive";
    current.album.trackNotes[2] = "Falsetto\\nlead";
    b.collection->setCurrentAlbum(&current);
    EXPECT_EQ(hits(search.run(SearchTrackTitle, "alive")), QStringList({"2/2/Stayin' Alive"}));
    EXPECT_TRUE(search.run(SearchTrackTitle, "jive").isEmpty());
    EXPECT_EQ(hits(search.run(SearchTrackOther, "falsetto")),
              QStringList({"2/2/Falsetto\r\nlead"}));
    b.collection->setCurrentAlbum(nullptr);
}

// Track values read like single lookups: keys in any letter case, the first of equal keys,
// only the first "Tracks" section, and recent inserts up to the first missing one.
TEST(CollectionBrowse, ReadsTrackValuesLikeLookups)
{
    CollectionFixture f;
    // The file keeps sections in byte order of their names, so " [Tracks]" comes first.
    f.write("<7000000000007>\n [Album]\n  ID=7000000000007\n  AR=Solo\n [Media]\n  MD=65537\n"
            " [tracks]\n  TT[1]=Later\n  TC[1]=9\n"
            " [Tracks]\n  ct=3\n  tt[2]=Second\n  TT[2]=Shadowed\n  tc[2]=6\n  TT[02]=Zero\n"
            "  TC[3]=x\n [Usage]\n  IC=1\n  RI[2]=3/15/2023 1:00 PM\n  RI[1]=3/14/2023 1:00 PM\n"
            "  RI[4]=3/17/2023 1:00 PM\n  RI[999999999]=3/18/2023 1:00 PM\n");
    const auto collection = f.open();
    EXPECT_EQ(hits(AlbumSearch(*collection).run(SearchTrackTitle, "s")),
              QStringList({"7/2/Second"}));
    CollectionStatistics statistics(*collection);
    EXPECT_EQ(ranking(statistics.mostPlayedTracks(false)), QStringList({"Second=6"}));
    const QList<StatisticsItem> recent = statistics.recentlyPlayed();
    ASSERT_EQ(recent.size(), 2);
    EXPECT_EQ(recent.at(0).time.date(), QDate(2023, 3, 15));
}

TEST(CollectionBrowse, RanksPlaysAndInserts)
{
    Browse b;
    CollectionStatistics statistics(*b.collection);
    EXPECT_EQ(ranking(statistics.mostPlayedAlbums()),
              QStringList({"Abbey Road=2", "Main Course=1"}));
    EXPECT_EQ(ranking(statistics.mostPlayedTracks(false)),
              QStringList({"Come Together=5", "intro=4", "Intro=3", "Jive Talkin'=1"}));
    // Both albums' "Intro" become one item under the first one found.
    const QList<StatisticsItem> merged = statistics.mostPlayedTracks(true);
    EXPECT_EQ(ranking(merged), QStringList({"Intro=7", "Come Together=5", "Jive Talkin'=1"}));
    EXPECT_EQ(merged.first().album->id, "1000000000001");
    EXPECT_EQ(merged.first().track, 2);

    const QList<StatisticsItem> recent = statistics.recentlyPlayed();
    ASSERT_EQ(recent.size(), 3);
    EXPECT_EQ(recent.at(0).time, QDateTime(QDate(2023, 3, 18), QTime(20, 0)));
    EXPECT_EQ(recent.at(1).time, QDateTime(QDate(2023, 3, 16), QTime(19, 30)));
    EXPECT_EQ(recent.at(1).artist, "BEE GEES");
    EXPECT_EQ(recent.at(2).time, QDateTime(QDate(2023, 3, 14), QTime(21, 15)));

    // The album in the drive counts with its current plays and inserts.
    CurrentAlbum current;
    current.discPresent = true;
    current.disc.mediaKind = MediaKindAudioCd;
    current.disc.id = "3000000000003";
    current.disc.trackCount = 1;
    current.album.trackTitles[1] = "Solo";
    current.album.trackPlayCounts[1] = 9;
    current.album.insertCount = 3;
    current.album.recentInserts = {"3/20/2023 10:00 AM"};
    b.collection->setCurrentAlbum(&current);
    EXPECT_EQ(ranking(statistics.mostPlayedAlbums()).first(), "A Quiet Night=3");
    EXPECT_EQ(ranking(statistics.mostPlayedTracks(false)).first(), "Solo=9");
    EXPECT_EQ(statistics.recentlyPlayed().first().time,
              QDateTime(QDate(2023, 3, 20), QTime(10, 0)));
    b.collection->setCurrentAlbum(nullptr);
}

TEST(CollectionBrowse, TimeTextGrowsWithAge)
{
    const QLocale locale = QLocale::system();
    const QDateTime now(QDate(2024, 5, 17), QTime(12, 0));
    const QDateTime hours = now.addSecs(-5 * 3600);
    EXPECT_EQ(statisticsTimeText(hours, now), locale.toString(hours.time(), QLocale::ShortFormat));
    const QDateTime days = now.addDays(-3);
    EXPECT_EQ(statisticsTimeText(days, now),
              locale.toString(days.date(), "ddd") + ' ' +
                  locale.toString(days.time(), QLocale::ShortFormat));
    const QDateTime weeks = now.addDays(-30);
    EXPECT_EQ(statisticsTimeText(weeks, now),
              locale.toString(weeks.date(), QLocale::LongFormat) + ' ' +
                  locale.toString(weeks.time(), QLocale::ShortFormat));
}
