#include "collection/AlbumRecord.h"
#include "CollectionFixture.h"
#include "collection/CurrentAlbum.h"
#include "collection/MediaKind.h"
#include "base/MessageText.h"
#include "ScriptedQuestionPort.h"
#include "collection/TCfgFile.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QByteArray album(const QString &block, const QString &id, const QString &title,
                 const QString &extra = {})
{
    return QStringLiteral("<%1>\r\n [Album]\r\n  ID=%2\r\n  TL=%3\r\n  AR=Artist\r\n%4 [Media]\r\n"
                          "  MD=65537\r\n [Tracks]\r\n  CT=2\r\n")
        .arg(block, id, title, extra)
        .toUtf8();
}

QString idOf(int n)
{
    return QStringLiteral("%1")
               .arg(n * 2654435761u % 0xFFFFFFFFu, 8, 16, QLatin1Char('0'))
               .toUpper() +
           QStringLiteral("%1").arg(n, 5, 16, QLatin1Char('0')).toUpper();
}

} // namespace

TEST(Collection, IndexBuild)
{
    CollectionFixture f;
    f.write(album("A1", "0A00000000001", "One") + "<NoId>\r\n [Album]\r\n  TL=x\r\n" +
            "<lower>\r\n [Album]\r\n  ID=ff00000000002\r\n  TL=Two\r\n" +
            album("0A00000000003", "0A00000000003", "Three"));
    auto collection = f.open();
    EXPECT_EQ(collection->albumCount(), 3);
    const AlbumIndexNode *lower = collection->FindAlbum("FF00000000002");
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->blockName, "lower");
    EXPECT_EQ(lower->mediaKind, MediaKindCdRom); // no "MD": taken as a CD-ROM
    EXPECT_EQ(collection->FindAlbum("0a00000000001")->title, "One");
    EXPECT_EQ(collection->GetMediaKind("0A00000000001"), MediaKindAudioCd);
    EXPECT_EQ(collection->GetMediaKind("0B00000000001"), 0);
    QStringList order;
    for (const AlbumIndexNode *node : collection->albums())
        order.append(node->id);
    EXPECT_EQ(order, QStringList({"0A00000000001", "0A00000000003", "ff00000000002"}));
    collection->ShutdownCollection();
    // The block without an ID is gone from the file after the index was built.
    EXPECT_FALSE(f.read().contains("NoId"));

    // A lower-case ID is found when the disc comes, and never indexed a second time.
    auto again = f.open();
    DiscInfo disc;
    disc.id = "FF00000000002";
    disc.mediaKind = MediaKindAudioCd;
    AlbumInfo info;
    PlaylistList playlists;
    WebLinkList links;
    ASSERT_TRUE(ReadAlbumInfo(*again, links, info, playlists, disc));
    EXPECT_EQ(info.title, "Two");
    EXPECT_EQ(again->albumCount(), 3);
    EXPECT_EQ(albumBucket("ff1"), 255);
    EXPECT_EQ(albumBucket("g1"), 0);
    EXPECT_EQ(albumBucket(""), 0);
}

TEST(Collection, SettersWriteAtOnceUnlessPinned)
{
    CollectionFixture f;
    f.write(album("0A00000000001", "0A00000000001", "One"));
    RecordingSink sink; // outlives the collection, which reports to it while closing
    auto collection = f.open();
    collection->addSink(&sink);

    EXPECT_TRUE(collection->SetAlbumTitle("0a00000000001", "New"));
    EXPECT_TRUE(f.flushed(*collection).contains("  TL=New\r\n"));
    EXPECT_EQ(collection->FindAlbum("0A00000000001")->title, "New");
    ASSERT_EQ(sink.index.size(), 1);
    EXPECT_EQ(sink.index[0].code, ChangeTitle);
    EXPECT_EQ(sink.index[0].value.toString(), "New");
    EXPECT_EQ(sink.album.value(0), qMakePair(QString("0A00000000001"), int(ChangeTitle)));

    // The same artist again changes nothing and tells nobody.
    const QByteArray before = f.read();
    EXPECT_FALSE(collection->SetAlbumArtist("0A00000000001", "Artist"));
    EXPECT_EQ(sink.index.size(), 1);
    EXPECT_FALSE(collection->SetAlbumTitle("0B00000000001", "x"));

    EXPECT_TRUE(collection->SetAlbumTrackTitle("0A00000000001", -1, " a \rb"));
    EXPECT_TRUE(f.flushed(*collection).contains("  CT=2\r\n  TT[1]=a\r\n  TT[2]=b\r\n"));
    EXPECT_TRUE(collection->SetAlbumTrackNote("0A00000000001", 5, "n\\tx"));
    EXPECT_TRUE(f.flushed(*collection).contains("  TM[5]=n\\tx\r\n"));
    EXPECT_TRUE(collection->SetAlbumCustomData("0A00000000001", {"A=1", "B=2"}));
    EXPECT_TRUE(f.flushed(*collection).contains("  CS=A=1\\nB=2\r\n"));
    EXPECT_TRUE(collection->SetAlbumEvent("0A00000000001", 2, "x\r\ny\r\n"));
    EXPECT_TRUE(f.flushed(*collection).contains("  AE[2]=x\\ny\r\n"));
    EXPECT_TRUE(collection->SetAlbumFlags("0A00000000001", 5));
    EXPECT_FALSE(collection->SetAlbumFlags("0A00000000001", 5));

    collection->pin();
    EXPECT_TRUE(collection->SetAlbumYear("0A00000000001", "2001"));
    EXPECT_FALSE(f.read().contains("YR=2001"));
    ASSERT_TRUE(collection->ShutdownCollection());
    EXPECT_TRUE(f.read().contains("  YR=2001\r\n"));
    EXPECT_NE(f.read(), before);
}

// A disc's album that the lookups fill through the setters before it was ever stored whole
// must come back as that disc, not as a CD-ROM, when the program ends without storing it.
TEST(Collection, SettersGiveANewBlockItsMediaKind)
{
    CollectionFixture f;
    auto collection = f.open();
    DiscInfo disc;
    disc.id = "2700A305023BE";
    disc.trackCount = 5;
    disc.mediaKind = MediaKindAudioCd;
    AlbumInfo info;
    PlaylistList playlists;
    WebLinkList links;
    ASSERT_TRUE(ReadAlbumInfo(*collection, links, info, playlists, disc));
    EXPECT_TRUE(collection->SetAlbumTitle(disc.id, "Found"));
    EXPECT_TRUE(collection->SetAlbumTrackTitle(disc.id, -1, "a\rb"));
    EXPECT_TRUE(f.flushed(*collection).contains(" [Media]\r\n  MD=65537\r\n"));
    ASSERT_TRUE(collection->ShutdownCollection());

    auto again = f.open();
    const AlbumIndexNode *node = again->FindAlbum(disc.id);
    ASSERT_TRUE(node);
    EXPECT_EQ(node->mediaKind, MediaKindAudioCd);
    EXPECT_EQ(node->title, "Found");
    EXPECT_EQ(again->GetMediaKind(disc.id), MediaKindAudioCd);

    // A stored kind is the album's own and stays as it is.
    f.write(album("0A00000000001", "0A00000000001", "One").replace("MD=65537", "MD=65540"));
    auto stored = f.open();
    EXPECT_TRUE(stored->SetAlbumTitle("0A00000000001", "Two"));
    EXPECT_EQ(f.flushed(*stored).count("MD="), 1);
    EXPECT_TRUE(f.flushed(*stored).contains("  MD=65540\r\n"));
}

TEST(Collection, CurrentAlbumFollowsTheSetters)
{
    CollectionFixture f;
    f.write(album("0A00000000001", "0A00000000001", "One"));
    RecordingSink sink; // outlives the collection, which reports to it while closing
    auto collection = f.open();
    collection->addSink(&sink);
    CurrentAlbum current;
    current.disc.id = "0A00000000001";
    current.disc.trackCount = 2;
    current.disc.mediaKind = MediaKindAudioCd;
    collection->setCurrentAlbum(&current);
    ASSERT_TRUE(ReadAlbumInfo(*collection));

    EXPECT_TRUE(collection->SetAlbumComments("0A00000000001", "c\\nd"));
    EXPECT_EQ(current.album.comments, "c\\nd");
    EXPECT_TRUE(collection->SetAlbumTrackTitle("0A00000000001", -1, "x\ry"));
    EXPECT_EQ(current.album.trackTitles[2], "y");
    EXPECT_EQ(sink.current, QList<int>({ChangeComments, ChangeTrackTitles}));

    // The links of the album in the drive stay in memory until it is stored.
    current.webLinks = {{"Old", "http://A.example", 0}};
    const QByteArray before = f.flushed(*collection);
    EXPECT_TRUE(collection->SetAlbumWebLinks("0A00000000001",
                                             QString("http://a.example") + QChar(14) + "New" +
                                                 QChar(14) + "1\rhttp://b.example",
                                             false));
    EXPECT_EQ(f.flushed(*collection), before);
    ASSERT_EQ(current.webLinks.size(), 2);
    EXPECT_EQ(current.webLinks[0], (WebLinkItem{"New", "http://a.example", 1}));
    EXPECT_EQ(current.webLinks[1], (WebLinkItem{"http://b.example", "http://b.example", 0}));

    // The album of the audio CD in the drive is deleted only by force; a CD-ROM's always.
    current.discPresent = true;
    EXPECT_FALSE(collection->DeleteAlbum("0A00000000001", false));
    EXPECT_TRUE(collection->DeleteAlbum("0A00000000001", true));
    EXPECT_EQ(sink.index.last().code, ChangeAlbumDeleted);
    EXPECT_FALSE(f.flushed(*collection).contains("0A00000000001"));
    current.disc.mediaKind = MediaKindCdRom;
    current.album.title.clear();
    current.album.artist.clear();
    ASSERT_TRUE(ReadAlbumInfo(*collection));
    EXPECT_TRUE(WriteAlbumInfo(*collection, false));
    EXPECT_TRUE(collection->DeleteAlbum("0A00000000001", false));
    EXPECT_EQ(collection->albumCount(), 0);
}

TEST(Collection, WebLinksMergeIntoAStoredAlbum)
{
    CollectionFixture f;
    f.write(album("0A00000000001", "0A00000000001", "One",
                  "[WebLink]\r\nCT=1\r\nWT[1]=Home\r\nWU[1]=HTTP://Home.example\r\nWF[1]=1\r\n"));
    auto collection = f.open();
    const QString items = QString("http://home.example") + QChar(14) + QChar(14) + "2\r\r" +
                          "http://new.example" + QChar(14) + "New" + QChar(14) + "0";
    EXPECT_TRUE(collection->SetAlbumWebLinks("0A00000000001", items, false));
    ASSERT_TRUE(collection->flush());
    TCfgFile file(f.path);
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.ReadInteger("0A00000000001", "WebLink", "CT", 0), 2);
    EXPECT_EQ(file.ReadString("0A00000000001", "WebLink", "WU[1]", {}), "http://home.example");
    EXPECT_EQ(file.ReadString("0A00000000001", "WebLink", "WT[1]", {}), "http://home.example");
    EXPECT_EQ(file.ReadInteger("0A00000000001", "WebLink", "WF[1]", 0), 2);
    EXPECT_EQ(file.ReadString("0A00000000001", "WebLink", "WT[2]", {}), "New");

    EXPECT_TRUE(collection->SetAlbumWebLinks("0A00000000001", "http://only.example", true));
    ASSERT_TRUE(collection->flush());
    TCfgFile replaced(f.path);
    ASSERT_TRUE(replaced.load());
    EXPECT_EQ(replaced.ReadInteger("0A00000000001", "WebLink", "CT", 0), 1);
    EXPECT_EQ(replaced.ReadString("0A00000000001", "WebLink", "WU[2]", "gone"), "gone");
}

TEST(Collection, LargeCollectionQuestionComesOnce)
{
    CollectionFixture f;
    QByteArray text;
    for (int n = 1; n <= 99; ++n)
        text += album(idOf(n), idOf(n), "t");
    f.write(text);
    ScriptedQuestionPort port;
    port.answer(ResultNo);
    auto collection = f.open(&port);
    EXPECT_TRUE(port.asked().isEmpty());
    EXPECT_EQ(f.settings.peakCount, 99);
    collection->AddAlbumToIndex(idOf(100), idOf(100), MediaKindAudioCd, 1, {}, {}, {}, {}, {}, {},
                                0);
    ASSERT_EQ(port.asked().size(), 1);
    EXPECT_EQ(port.asked()[0].id, 12288);
    EXPECT_FALSE(f.settings.GetOptionFlag(_GLOB_OPTION_COLLECTIONALWAYSOPEN));
    EXPECT_TRUE(collection->isPinned()); // kept in memory for this run whatever the answer
    EXPECT_EQ(f.settings.peakCount, 100);
    collection->DeleteAlbum(idOf(100), true);
    collection->AddAlbumToIndex(idOf(100), idOf(100), MediaKindAudioCd, 1, {}, {}, {}, {}, {}, {},
                                0);
    EXPECT_EQ(port.asked().size(), 1);
    collection->ShutdownCollection();

    // A Yes keeps the collection in memory from the next start on.
    CollectionFixture g;
    g.write(text + album(idOf(100), idOf(100), "t"));
    ScriptedQuestionPort yes;
    yes.answer(ResultYes);
    auto pinned = g.open(&yes);
    EXPECT_EQ(yes.asked().size(), 1);
    EXPECT_TRUE(g.settings.GetOptionFlag(_GLOB_OPTION_COLLECTIONALWAYSOPEN));
    EXPECT_TRUE(pinned->isPinned());
}

TEST(Collection, ImportReplacesAlbumsWholesale)
{
    CollectionFixture f;
    f.write(album("0A00000000001", "0A00000000001", "Mine", "  CO=kept?\r\n") +
            album("Foreign", "0C00000000003", "Holds the name"));
    const QString other = f.home.file("other.obc");
    {
        QFile file(other);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(album("X", "0a00000000001", "Theirs") +
                   "<Short>\r\n [Album]\r\n  ID=123\r\n [Media]\r\n  MD=65537\r\n" +
                   "<NoKind>\r\n [Album]\r\n  ID=0D00000000004\r\n" +
                   album("Foreign", "0B00000000002", "Other"));
    }
    auto collection = f.open();
    ASSERT_TRUE(collection->ImportCollection(other));
    EXPECT_EQ(collection->albumCount(), 2);
    EXPECT_EQ(collection->FindAlbum("0A00000000001")->title, "Theirs");
    EXPECT_EQ(collection->FindAlbum("0A00000000001")->blockName, "X");
    EXPECT_EQ(collection->FindAlbum("0B00000000002")->blockName, "Foreign");
    EXPECT_FALSE(collection->FindAlbum("0C00000000003"));
    EXPECT_FALSE(collection->FindAlbum("0D00000000004"));
    const QByteArray written = f.flushed(*collection);
    EXPECT_FALSE(written.contains("kept?"));
    EXPECT_FALSE(written.contains("<0A00000000001>"));
    EXPECT_TRUE(
        written.contains("<X>\r\n [Album]\r\n  ID=0a00000000001\r\n  NW=0\r\n  AR=Artist\r\n"));
    EXPECT_TRUE(written.contains("  YR=")); // a missing year takes the current one
}

// Counts in a merged file or a stored album are only claims: the numbered keys decide.
TEST(Collection, HugeStoredCountsEndAtTheKeysPresent)
{
    CollectionFixture f;
    f.write(album("0A00000000001", "0A00000000001", "Mine") +
            " [WebLink]\r\n  CT=2000000000\r\n  WU[1]=http://one.example/\r\n");
    const QString other = f.home.file("other.obc");
    {
        QFile file(other);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(album("0B00000000002", "0B00000000002", "Theirs") +
                   " [Playlists]\r\n  CT=2000000000\r\n  PL[1]=Mix\r\n"
                   " [Mix]\r\n  CT=2000000000\r\n  SS[1]=150\r\n  SE[1]=300\r\n"
                   " [WebLink]\r\n  CT=2000000000\r\n");
    }
    auto collection = f.open();
    ASSERT_TRUE(collection->ImportCollection(other));
    EXPECT_TRUE(collection->SetAlbumWebLinks("0A00000000001",
                                             QStringLiteral("http://two.example/") + QChar(14) +
                                                 QStringLiteral("Two") + QChar(14) + "0",
                                             false));
    const QByteArray written = f.flushed(*collection);
    EXPECT_TRUE(written.contains("SS[1]=150"));
    EXPECT_FALSE(written.contains("SS[2]"));
    EXPECT_TRUE(written.contains("WU[2]=http://two.example/"));
    EXPECT_FALSE(written.contains("WU[3]"));
}

TEST(Collection, AFailedWriteIsReportedAndKeepsTheChanges)
{
    CollectionFixture f;
    QDir(f.home.path()).mkdir("sub");
    f.path = f.home.file("sub/ann.obc");
    f.write(album("0A00000000001", "0A00000000001", "One"));
    auto collection = f.open();
    collection->pin();
    EXPECT_TRUE(collection->SetAlbumTitle("0A00000000001", "Kept"));
    QDir(f.home.file("sub")).removeRecursively();
    ScriptedQuestionPort port;
    collection->setQuestionPort(&port);
    EXPECT_FALSE(collection->ShutdownCollection());
    ASSERT_EQ(port.asked().size(), 1);
    EXPECT_EQ(port.asked()[0].id, 12309);
    EXPECT_FALSE(collection->lastError().isEmpty());
    QDir(f.home.path()).mkdir("sub");
    EXPECT_TRUE(collection->ShutdownCollection());
    EXPECT_TRUE(f.read().contains("  TL=Kept\r\n"));
}

// Two albums under names that differ only in case: each keeps its own block, and a setter
// changes the album it was asked for, never the other.
TEST(Collection, RepeatedBlockNamesBecomeTwoAlbums)
{
    CollectionFixture f;
    f.write(album("X", "0A00000000001", "One") + album("x", "0B00000000002", "Two"));
    auto collection = f.open();
    ASSERT_EQ(collection->albumCount(), 2);
    const AlbumIndexNode *one = collection->FindAlbum("0A00000000001");
    const AlbumIndexNode *two = collection->FindAlbum("0B00000000002");
    ASSERT_TRUE(one && two);
    EXPECT_NE(one->blockName.toUpper(), two->blockName.toUpper());
    EXPECT_TRUE(collection->SetAlbumTitle("0B00000000002", "Second"));
    EXPECT_TRUE(collection->SetAlbumTitle("0A00000000001", "First"));
    ASSERT_TRUE(collection->ShutdownCollection());

    auto again = f.open();
    EXPECT_EQ(again->albumCount(), 2);
    EXPECT_EQ(again->FindAlbum("0A00000000001")->title, "First");
    EXPECT_EQ(again->FindAlbum("0B00000000002")->title, "Second");
}
