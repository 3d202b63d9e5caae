#include "collection/AlbumDraft.h"
#include "collection/AlbumRecord.h"
#include "collection/AlbumText.h"
#include "collection/AlbumWizardDraft.h"
#include "collection/CurrentAlbum.h"
#include "collection/FieldChoices.h"
#include "collection/MediaKind.h"
#include "collection/TCfgFile.h"
#include "CollectionFixture.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

const QString Id = QStringLiteral("0A1B2C0312345"); // three tracks

QByteArray storedAlbum(const QString &id, const QString &artist, const QString &owner,
                       int kind = MediaKindAudioCd)
{
    return QStringLiteral("<%1>\r\n [Album]\r\n  ID=%1\r\n  TL=Old Title\r\n  AR=%2\r\n"
                          "  OW=%3\r\n  FL=3\r\n  BI=Shelf\r\n  CA=Jazz\r\n [Media]\r\n  MD=%4\r\n"
                          " [Tracks]\r\n  CT=3\r\n  TT[1]=One\r\n  TC[1]=4\r\n  TT[2]=Two\r\n"
                          "  TC[2]=9\r\n  TT[3]=Three\r\n [Usage]\r\n  IC=2\r\n  FI=then\r\n"
                          "  RI[1]=then\r\n  RI[2]=later\r\n")
        .arg(id, artist, owner)
        .arg(kind)
        .toUtf8();
}

// Reads one key of the saved collection file.
struct SavedFile
{
    explicit SavedFile(const QString &path) : file(path) { file.load(); }
    QString operator()(const QString &section, const QString &key)
    {
        return file.ReadString(Id, section, key, QStringLiteral("<none>"));
    }
    TCfgFile file;
};

} // namespace

TEST(AlbumDraft, ApplyWritesEveryFieldWithTheSetters)
{
    CollectionFixture f;
    f.write(storedAlbum(Id, QStringLiteral("Old Artist"), QStringLiteral("Ann")));
    auto collection = f.open();
    AlbumDraft draft;
    ASSERT_TRUE(draft.load(*collection, Id.toLower()));
    EXPECT_EQ(draft.albumId(), Id);
    EXPECT_FALSE(draft.inDrive());
    ASSERT_EQ(draft.tracks.size(), 3);
    EXPECT_EQ(draft.tracks.at(1).plays, 9);
    EXPECT_FALSE(draft.lastNameFirst);

    draft.title = QStringLiteral("New Title");
    draft.artist = QStringLiteral("John Smith");
    draft.copyright = QStringLiteral("(c) 2001");
    draft.lastNameFirst = true;
    draft.binder = QStringLiteral("Box 2");
    draft.category = QStringLiteral("Rock");
    draft.year = QStringLiteral("2001");
    draft.index = QStringLiteral("17");
    draft.owner = QStringLiteral("Ben");
    draft.other = QStringLiteral("signed");
    draft.revision = 4;
    draft.setCustomValue(QStringLiteral("Label"), QStringLiteral("Blue"));
    draft.comments = QStringLiteral("First line\r\nwith\ttab");
    draft.tracks[0].title = QStringLiteral("Opening");
    draft.tracks[1].notes = QStringLiteral("live\r\ntake");
    draft.webLinks = {{QStringLiteral("Home"), QStringLiteral("http://example.org/"), 2}};
    draft.events[0] = QStringLiteral("ShowMessage('in');");
    draft.events[1] = AlbumDraft::eventTemplate();
    draft.apply(*collection);
    collection->ShutdownCollection();

    SavedFile saved(f.path);
    EXPECT_EQ(saved("Album", "TL"), "New Title");
    EXPECT_EQ(saved("Album", "AR"), "John Smith");
    EXPECT_EQ(saved("Album", "CO"), "(c) 2001");
    EXPECT_EQ(saved("Album", "FL"), "7") << "the intro and repeat bits stay";
    EXPECT_EQ(saved("Album", "BI"), "Box 2");
    EXPECT_EQ(saved("Album", "CA"), "Rock");
    EXPECT_EQ(saved("Album", "YR"), "2001");
    EXPECT_EQ(saved("Album", "IX"), "17");
    EXPECT_EQ(saved("Album", "OW"), "Ben");
    EXPECT_EQ(saved("Album", "US"), "signed");
    EXPECT_EQ(saved("Album", "RV"), "4");
    EXPECT_EQ(saved("Album", "CS"), "Label=Blue");
    EXPECT_EQ(saved("Comments", "TX"), "First line\\nwith\\ttab");
    EXPECT_EQ(saved("Tracks", "TT[1]"), "Opening");
    EXPECT_EQ(saved("Tracks", "TT[3]"), "Three");
    EXPECT_EQ(saved("Tracks", "TM[2]"), "live\\ntake");
    EXPECT_EQ(saved("Tracks", "TC[2]"), "9") << "play counts are not touched";
    EXPECT_EQ(saved("WebLink", "CT"), "1");
    EXPECT_EQ(saved("WebLink", "WU[1]"), "http://example.org/");
    EXPECT_EQ(saved("WebLink", "WT[1]"), "Home");
    EXPECT_EQ(saved("WebLink", "WF[1]"), "2");
    EXPECT_EQ(saved("Events", "AE[1]"), "ShowMessage('in');");
    EXPECT_EQ(saved("Events", "AE[2]"), "") << "the untouched template is stored empty";
    EXPECT_EQ(saved("Usage", "IC"), "2");

    // The template shows again, and unticking the box clears only bit 4.
    auto again = f.open();
    AlbumDraft reread;
    ASSERT_TRUE(reread.load(*again, Id));
    EXPECT_TRUE(reread.events[1].isEmpty());
    EXPECT_EQ(reread.eventText(2), AlbumDraft::eventTemplate());
    EXPECT_EQ(reread.eventText(1), "ShowMessage('in');");
    EXPECT_EQ(reread.comments, "First line\r\nwith\ttab");
    EXPECT_TRUE(reread.lastNameFirst);
    reread.lastNameFirst = false;
    reread.apply(*again);
    again->ShutdownCollection();
    EXPECT_EQ(SavedFile(f.path)("Album", "FL"), "3");
}

TEST(AlbumDraft, TemplateIsRecognisedWhateverTheLineBreaks)
{
    QString typed = AlbumDraft::eventTemplate();
    typed.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    EXPECT_TRUE(AlbumDraft::isEventTemplate(QStringLiteral("\n") + typed + QStringLiteral("\n")));
    EXPECT_FALSE(AlbumDraft::isEventTemplate(typed + QStringLiteral("x")));
    EXPECT_TRUE(AlbumDraft::eventTemplate().startsWith(QStringLiteral("procedure Main;\r\n")));
}

TEST(AlbumDraft, ClearAllResetsTheStatisticsOnlyWhenApplied)
{
    CollectionFixture f;
    f.write(storedAlbum(Id, QStringLiteral("A"), QStringLiteral("Ann")));
    auto collection = f.open();
    AlbumDraft draft;
    ASSERT_TRUE(draft.load(*collection, Id));
    EXPECT_EQ(draft.mostPlayedTracks(), QList<int>({2, 1}));
    EXPECT_EQ(draft.recentInserts, QStringList({"then", "later"}));
    draft.clearStatistics();
    EXPECT_TRUE(draft.mostPlayedTracks().isEmpty());
    EXPECT_TRUE(draft.recentInserts.isEmpty());
    collection->ShutdownCollection();
    EXPECT_EQ(SavedFile(f.path)("Usage", "IC"), "2") << "nothing is written before apply";

    auto again = f.open();
    draft.apply(*again);
    again->ShutdownCollection();
    SavedFile saved(f.path);
    EXPECT_EQ(saved("Tracks", "TC[1]"), "0");
    EXPECT_EQ(saved("Tracks", "TC[2]"), "0");
    EXPECT_EQ(saved("Usage", "IC"), "<none>") << "the Usage section is erased";
    EXPECT_EQ(saved("Usage", "RI[1]"), "<none>");
    EXPECT_FALSE(draft.statisticsCleared());
}

TEST(AlbumDraft, TheAlbumInTheDriveIsEditedInMemory)
{
    CollectionFixture f;
    f.write(storedAlbum(Id, QStringLiteral("A"), QStringLiteral("Ann")));
    auto collection = f.open();
    CurrentAlbum current;
    current.discPresent = true;
    current.disc.id = Id;
    current.disc.mediaKind = MediaKindAudioCd;
    current.disc.trackCount = 3;
    current.album.title = QStringLiteral("In Drive");
    current.album.flags = AlbumFlagIntro;
    current.album.trackPlayCounts[1] = 5;
    current.album.insertCount = 8;
    current.album.recentInserts = {QStringLiteral("x")};
    current.webLinks = {{QStringLiteral("Old"), QStringLiteral("http://old/"), 0}};
    collection->setCurrentAlbum(&current);

    AlbumDraft draft;
    ASSERT_TRUE(draft.load(*collection, Id));
    EXPECT_TRUE(draft.inDrive());
    EXPECT_EQ(draft.title, "In Drive");
    EXPECT_EQ(draft.tracks.at(0).plays, 5);
    draft.lastNameFirst = true;
    draft.webLinks = {{QStringLiteral("New"), QStringLiteral("http://new/"), 4}};
    draft.clearStatistics();
    const QDateTime now(QDate(2026, 5, 1), QTime(9, 30));
    draft.apply(*collection, now);
    EXPECT_EQ(current.album.flags, AlbumFlagIntro | AlbumFlagLastNameFirst);
    EXPECT_EQ(current.album.trackPlayCounts[1], 0);
    EXPECT_EQ(current.album.insertCount, 0);
    EXPECT_TRUE(current.album.recentInserts.isEmpty());
    EXPECT_EQ(current.album.firstInsert, usageTimeText(now));
    ASSERT_EQ(current.webLinks.size(), 1) << "links are replaced, not merged";
    EXPECT_EQ(current.webLinks.at(0).address, "http://new/");
    collection->setCurrentAlbum(nullptr);
}

TEST(AlbumDraft, RecentInsertTimes)
{
    const QDateTime now(QDate(2026, 5, 1), QTime(18, 0));
    const QDateTime today(QDate(2026, 5, 1), QTime(14, 5));
    const QDateTime earlier(QDate(2026, 4, 3), QTime(9, 7));
    EXPECT_EQ(AlbumDraft::insertTimeText(usageTimeText(today), now), "2:05 pm");
    EXPECT_EQ(AlbumDraft::insertTimeText(usageTimeText(earlier), now),
              QLocale::system().toString(earlier.date(), QLocale::LongFormat) + " 9:07 am");
    EXPECT_EQ(AlbumDraft::insertTimeText(QStringLiteral("whenever"), now), "whenever");
}

TEST(AlbumDraft, CustomValues)
{
    AlbumDraft draft;
    draft.customData = {QStringLiteral("Label=Blue"), QStringLiteral("Other=keep")};
    EXPECT_EQ(draft.customValue(QStringLiteral("label")), "Blue");
    draft.setCustomValue(QStringLiteral("Label"), QString());
    draft.setCustomValue(QStringLiteral("Mood"), QStringLiteral(" calm "));
    EXPECT_EQ(draft.customData, QStringList({"Other=keep", "Mood=calm"}));
}

TEST(AlbumWizardDraft, StartsFromTheAlbumId)
{
    AlbumWizardDraft draft(QStringLiteral("ab12cd0c00096"), QDate(2026, 2, 3));
    EXPECT_EQ(draft.albumId(), "AB12CD0C00096");
    ASSERT_EQ(draft.tracks.size(), 12);
    EXPECT_EQ(draft.tracks.first().title, "Track 1");
    EXPECT_EQ(draft.tracks.last().title, "Track 12");
    EXPECT_EQ(draft.year, "2026");
    EXPECT_EQ(draft.owner, defaultOwner());
    EXPECT_EQ(draft.revision, 1);
    EXPECT_EQ(draft.source, 0);
    EXPECT_EQ(AlbumWizardDraft::trackCountOf(QStringLiteral("AB12CDzz")), 0);

    draft.takeEntry(3, QStringLiteral("Artist"), QStringLiteral("Title"), QStringLiteral("Rock"), 2,
                    QStringLiteral(" One \rTwo"), QStringLiteral("a\\nb\r"));
    EXPECT_EQ(draft.tracks.at(0).title, "One");
    EXPECT_EQ(draft.tracks.at(1).title, "Two");
    EXPECT_EQ(draft.tracks.at(2).title, "") << "items past the list are empty";
    EXPECT_EQ(draft.tracks.at(0).notes, "a\r\nb");
    EXPECT_EQ(draft.revision, 3);
    EXPECT_EQ(draft.source, 2);
}

TEST(AlbumWizardDraft, FinishWritesTheFieldsAndKeepsThePlayerBits)
{
    CollectionFixture f;
    f.write(storedAlbum(Id, QString(), QStringLiteral("Ann")));
    auto collection = f.open();
    AlbumWizardDraft draft(Id, QDate(2026, 2, 3));
    draft.artist = QStringLiteral("Artist");
    draft.title = QStringLiteral("Title");
    draft.copyright = QStringLiteral("(p) 2026");
    draft.category = QStringLiteral("Folk");
    draft.binder = QStringLiteral("B");
    draft.owner = QStringLiteral("Ann");
    draft.index = QStringLiteral("9");
    draft.revision = 2;
    draft.source = 3;
    draft.tracks[2].title = QStringLiteral("Last");
    draft.tracks[0].notes = QStringLiteral("x\r\ny");
    draft.finish(*collection);
    collection->ShutdownCollection();
    SavedFile saved(f.path);
    EXPECT_EQ(saved("Album", "AR"), "Artist");
    EXPECT_EQ(saved("Album", "TL"), "Title");
    EXPECT_EQ(saved("Album", "CO"), "(p) 2026");
    EXPECT_EQ(saved("Album", "CA"), "Folk");
    EXPECT_EQ(saved("Album", "BI"), "B");
    EXPECT_EQ(saved("Album", "IX"), "9");
    EXPECT_EQ(saved("Album", "YR"), "2026");
    EXPECT_EQ(saved("Album", "RV"), "2");
    EXPECT_EQ(saved("Album", "SR"), "3");
    EXPECT_EQ(saved("Album", "FL"), "3");
    EXPECT_EQ(saved("Tracks", "TT[1]"), "Track 1");
    EXPECT_EQ(saved("Tracks", "TT[3]"), "Last");
    EXPECT_EQ(saved("Tracks", "TM[1]"), "x\\ny");
}

TEST(FieldChoices, ValuesOfAudioAlbumsAndTheTypedText)
{
    CollectionFixture f;
    f.write(
        storedAlbum(QStringLiteral("0A00000100001"), QStringLiteral("beta"),
                    QStringLiteral("Ann")) +
        storedAlbum(QStringLiteral("0B00000100002"), QStringLiteral("Alpha"), QStringLiteral("")) +
        storedAlbum(QStringLiteral("0C00000100003"), QStringLiteral("Beta"),
                    QStringLiteral("Ann")) +
        storedAlbum(QStringLiteral("0D00000100004"), QStringLiteral("Data Disc"),
                    QStringLiteral("Ann"), MediaKindCdRom));
    auto collection = f.open();
    EXPECT_EQ(FieldChoices::values(*collection, FieldChoices::Artist, QStringLiteral(" Gamma ")),
              QStringList({"Alpha", "beta", "Gamma"}));
    EXPECT_EQ(FieldChoices::values(*collection, FieldChoices::Owner, QString()),
              QStringList({"Ann"}));
    const QStringList categories =
        FieldChoices::values(*collection, FieldChoices::Category, QStringLiteral("jazz"));
    EXPECT_EQ(categories.size(), 11) << "the stored and typed Jazz join the eleven";
    EXPECT_EQ(categories.first(), "Blues");
    EXPECT_TRUE(categories.contains("Jazz"));
    EXPECT_EQ(FieldChoices::values(*collection, FieldChoices::Binder, QString()),
              QStringList({"Shelf"}));
}
