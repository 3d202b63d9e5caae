// Copying disc titles from other CD players' data, the tips of the day and the setup answers.

#include "collection/AlbumIndexNode.h"
#include "collection/AlbumInfo.h"
#include "collection/OtherPlayerImport.h"
#include "collection/SettingsStore.h"
#include "collection/SetupAnswers.h"
#include "collection/TCfgFile.h"
#include "collection/TipList.h"
#include "CollectionFixture.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// Four tracks, so its ID names 04 tracks in characters 7 and 8.
const QString AlbumIdText = QStringLiteral("0A0B0C0400B2A");
const QString Identity = QStringLiteral("A0B0C04");

void writeFile(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

class OtherPlayers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fixture.write("<" + AlbumIdText.toLatin1() +
                      ">\r\n[Album]\r\nID=" + AlbumIdText.toLatin1() +
                      "\r\nAR=Before\r\n[Media]\r\nMD=65537\r\n[Tracks]\r\nCT=4\r\nTT[1]=one\r\n"
                      "TT[2]=two\r\nTT[3]=three\r\nTT[4]=four\r\n");
        collection = fixture.open();
        ASSERT_NE(collection->FindAlbum(AlbumIdText), nullptr);
    }
    QString stored(const QString &section, const QString &key)
    {
        collection->OpenCollectionFile();
        const QString value = collection->file()->ReadString(
            collection->FindAlbum(AlbumIdText)->blockName, section, key, QStringLiteral("-"));
        collection->CloseCollection();
        return value;
    }
    QString ini() const { return fixture.home.file(QStringLiteral("CDPLAYER.INI")); }
    int importIni(const QByteArray &section)
    {
        writeFile(ini(), "[" + Identity.toLatin1() + "]\r\n" + section);
        return ImportFromCDPlayer(*collection, ini(), AlbumIdText.toLower(), Identity);
    }

    CollectionFixture fixture;
    std::unique_ptr<Collection> collection;
};

} // namespace

TEST_F(OtherPlayers, CdPlayerSectionFillsArtistTitleTracksAndSource)
{
    EXPECT_EQ(importIni("EntryType=1\r\nartist=Band\r\ntitle=Record\r\nnumtracks=4\r\n0=Intro\r\n"
                        "2=Third\r\n"),
              0);
    const AlbumIndexNode *node = collection->FindAlbum(AlbumIdText);
    EXPECT_EQ(node->artist, QStringLiteral("Band"));
    EXPECT_EQ(node->title, QStringLiteral("Record"));
    EXPECT_EQ(stored(QStringLiteral("Tracks"), QStringLiteral("TT[1]")), QStringLiteral("Intro"));
    EXPECT_EQ(stored(QStringLiteral("Tracks"), QStringLiteral("TT[2]")), QStringLiteral("Track 2"));
    EXPECT_EQ(stored(QStringLiteral("Tracks"), QStringLiteral("TT[3]")), QStringLiteral("Third"));
    EXPECT_EQ(stored(QStringLiteral("Tracks"), QStringLiteral("TT[4]")), QStringLiteral("Track 4"));
    EXPECT_EQ(stored(QStringLiteral("Album"), QStringLiteral("SR")), QStringLiteral("1"));
}

TEST_F(OtherPlayers, CdPlayerSectionWithoutTrackCountSetsOnlyTheFirstTitle)
{
    // A short list names the first track alone; the others keep their titles.
    EXPECT_EQ(importIni("EntryType=0\r\n"), 0);
    EXPECT_EQ(stored(QStringLiteral("Tracks"), QStringLiteral("TT[1]")), QStringLiteral("Track 1"));
    EXPECT_EQ(stored(QStringLiteral("Tracks"), QStringLiteral("TT[2]")), QStringLiteral("two"));
    EXPECT_EQ(stored(QStringLiteral("Tracks"), QStringLiteral("TT[4]")), QStringLiteral("four"));
}

TEST_F(OtherPlayers, CdPlayerMissesReportNotFoundAndChangeNothing)
{
    EXPECT_EQ(importIni("artist=No entry type\r\n"), 1);
    EXPECT_EQ(importIni("EntryType=-1\r\nartist=Negative\r\n"), 1);
    EXPECT_EQ(ImportFromCDPlayer(*collection, fixture.home.file(QStringLiteral("none.ini")),
                                 AlbumIdText, Identity),
              1);
    // Known to the file but in neither the index nor the drive: nothing to copy into.
    writeFile(ini(), "[FFFF]\r\nEntryType=1\r\nartist=Elsewhere\r\n");
    EXPECT_EQ(ImportFromCDPlayer(*collection, ini(), QStringLiteral("ffffffff00096"),
                                 QStringLiteral("FFFF")),
              1);
    EXPECT_EQ(collection->FindAlbum(AlbumIdText)->artist, QStringLiteral("Before"));
    EXPECT_EQ(collection->albumCount(), 1);
}

TEST_F(OtherPlayers, CdPlayerFileIsFoundInTheWindowsFolderThenInWinePrefixes)
{
    const QString windows = fixture.home.file(QStringLiteral("windows"));
    const QString wine = fixture.home.file(QStringLiteral("wine"));
    QDir().mkpath(windows);
    EXPECT_EQ(FindCdPlayerIni(windows, {wine}), QString());
    writeFile(wine + QStringLiteral("/drive_c/windows/cdplayer.ini"), "[X]\r\n");
    EXPECT_EQ(FindCdPlayerIni(windows, {fixture.home.file(QStringLiteral("none")), wine}),
              wine + QStringLiteral("/drive_c/windows/cdplayer.ini"));
    writeFile(windows + QStringLiteral("/CDPLAYER.INI"), "[X]\r\n");
    EXPECT_EQ(FindCdPlayerIni(windows, {wine}), windows + QStringLiteral("/CDPLAYER.INI"));
}

TEST_F(OtherPlayers, OtherProgramSubkeyThatSortsLastWins)
{
    SettingsStore store(fixture.home.file(QStringLiteral("registry.ini")),
                        QStringLiteral("Software"));
    EXPECT_EQ(ImportFromEasyCD(*collection, store, AlbumIdText.toLower(), Identity), 1);
    for (const char *version : {"2.0", "1.5"}) {
        const QString key = QStringLiteral("GHL Software\\EasyCD\\%1\\CD Information\\%2")
                                .arg(QLatin1String(version), Identity);
        store.writeString(key, QStringLiteral("cddbID"), QStringLiteral("0a0b0c04"));
        store.writeString(key, QStringLiteral("Artist"), QLatin1String(version));
        store.writeString(key, QStringLiteral("Track #3"), QStringLiteral("Three %1").arg(version));
    }
    // A later version that does not know the disc is passed over.
    store.writeString(QStringLiteral("GHL Software\\EasyCD\\3.0\\CD Information\\OTHER"),
                      QStringLiteral("cddbID"), QStringLiteral("ffffffff"));
    EXPECT_EQ(ImportFromEasyCD(*collection, store, AlbumIdText.toLower(), Identity), 0);
    EXPECT_EQ(collection->FindAlbum(AlbumIdText)->artist, QStringLiteral("2.0"));
    EXPECT_EQ(stored(QStringLiteral("Tracks"), QStringLiteral("TT[1]")), QStringLiteral("Track 1"));
    EXPECT_EQ(stored(QStringLiteral("Tracks"), QStringLiteral("TT[3]")),
              QStringLiteral("Three 2.0"));
    EXPECT_EQ(stored(QStringLiteral("Tracks"), QStringLiteral("TT[4]")), QStringLiteral("Track 4"));
    EXPECT_EQ(stored(QStringLiteral("Album"), QStringLiteral("SR")), QStringLiteral("5"));
}

TEST(TipList, WrapsTheStartCountAndKeepsQuotedSeparators)
{
    QString text;
    for (int n = 1; n <= 22; ++n)
        text += QStringLiteral("topic%1~Heading %1~Text %1\r\n").arg(n);
    const TipList tips = TipList::parse(text);
    ASSERT_EQ(tips.count(), 22);
    EXPECT_EQ(tips.at(25).heading, QStringLiteral("Heading 4"));
    EXPECT_EQ(tips.at(22).heading, QStringLiteral("Heading 1"));

    const Tip quoted = TipList::parseLine(QStringLiteral("\"a~b\"~\"Say ~ it\"~x ~ y \"z\""));
    EXPECT_EQ(quoted.topic, QStringLiteral("a~b"));
    EXPECT_EQ(quoted.heading, QStringLiteral("Say ~ it"));
    EXPECT_EQ(quoted.text, QStringLiteral("x ~ y \"z\""));
    EXPECT_EQ(TipList::parseLine(QStringLiteral("~Heading~Text")).topic, QString());
}

TEST(TipList, FileReplacesTheBuiltInTips)
{
    TestHome home;
    const TipList builtin = TipList::load(home.file(QStringLiteral("TIPS.TXT")));
    EXPECT_GE(builtin.count(), 20);
    EXPECT_LE(builtin.count(), 30);
    for (int i = 0; i < builtin.count(); ++i)
        EXPECT_FALSE(builtin.at(i).heading.isEmpty() || builtin.at(i).text.isEmpty()) << i;
    writeFile(home.file(QStringLiteral("TIPS.TXT")), "~Only~One tip\r\n");
    EXPECT_EQ(TipList::load(home.file(QStringLiteral("TIPS.TXT"))).count(), 1);
}

TEST(SetupAnswers, SkippedPanesAndHttpOnlyServersKeepTheSettings)
{
    Settings settings = Settings::defaults(QStringLiteral("/tmp"), QStringLiteral("ann"), {});
    settings.cddbServerList = QStringLiteral("web.example`80`HTTP`Here|w2.example`80`http`There");
    settings.cddbServer = QStringLiteral("kept.example");
    settings.cddbProtocol = QStringLiteral("CDDBP");
    settings.smtpServer = QStringLiteral("mail.example");
    EXPECT_TRUE(SetupAnswers::servers(settings.cddbServerList).isEmpty());

    SetupAnswers answers = SetupAnswers::fromSettings(settings);
    EXPECT_EQ(answers.server, -1);
    answers.smtpServer = QStringLiteral("changed.example");
    answers.timeFormat = 3;
    answers.internet = false;
    answers.store(settings);
    EXPECT_EQ(settings.timeFormat, 3);
    EXPECT_EQ(settings.smtpServer, QStringLiteral("mail.example"));
    answers.internet = true;
    answers.store(settings);
    EXPECT_EQ(settings.smtpServer, QStringLiteral("changed.example"));
    EXPECT_EQ(settings.cddbServer, QStringLiteral("kept.example"));

    settings.cddbServerList = QStringLiteral("a.example`8880`CDDBP`A|b.example`80`HCDDBP`B");
    answers.server = 1;
    answers.store(settings);
    EXPECT_EQ(settings.cddbServer, QStringLiteral("b.example"));
    EXPECT_EQ(settings.cddbPort, QStringLiteral("80"));
    EXPECT_EQ(settings.cddbProtocol, QStringLiteral("HTTP"));
}

TEST(SetupAnswers, BordersTextNamesTheCornerOrEdge)
{
    EXPECT_EQ(SetupAnswers::bordersText(true, false, false, true),
              QStringLiteral("Orbisong's window will stick to the lower-left corner of the "
                             "screen."));
    EXPECT_EQ(SetupAnswers::bordersText(false, false, true, false),
              QStringLiteral("Orbisong's window will slide along the right edge of the screen."));
    EXPECT_EQ(SetupAnswers::bordersText(false, false, false, false),
              QStringLiteral("Orbisong's window may be moved to any position on the screen."));
}
