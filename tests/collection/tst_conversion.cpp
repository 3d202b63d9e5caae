#include "collection/AlbumRecord.h"
#include "collection/Conversion.h"
#include "collection/ConversionLog.h"
#include "collection/SettingsStore.h"
#include "collection/TCfgFile.h"
#include "collection/WinIniFile.h"
#include "CollectionFixture.h"
#include "ScriptedQuestionPort.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QString oldFolder()
{
    return TestHome::sourceDir() + QStringLiteral("/tests/data/collection/old");
}

QString convLog(const CollectionFixture &f)
{
    QFile file(f.home.file("CONVLOG.TXT"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

} // namespace

TEST(Conversion, OldIniFilesKeepTheirPunctuation)
{
    WinIniFile ini;
    ASSERT_TRUE(ini.load(oldFolder() + "/ALBUM1.OBD"));
    EXPECT_EQ(ini.readString("disc", "ARTIST", {}), "The Quiet, \"Loud\" Band");
    EXPECT_EQ(ini.readString("DISC", "title", {}), "Songs; Vol. 1");
    EXPECT_EQ(ini.readString("DISC", "trackmisc1", {}), "C:\\notes\\one");
    EXPECT_EQ(ini.readString("DISC", "trackname2", {}), "Second");
    EXPECT_EQ(ini.readInteger("DISC", "tracklength2", -1), 0xA03);
    EXPECT_EQ(ini.readInteger("DISC", "tracklength3", -1), 0xB05);
    EXPECT_EQ(ini.readInteger("DISC", "tracklength4", -1), -1);
    EXPECT_EQ(ini.readString("WEBLINK", "url3", "x"), "");
}

TEST(Conversion, ConvertsAFolderAndLogsEveryFile)
{
    CollectionFixture f;
    f.write(QByteArray("<OLD>\r\n [Album]\r\n  ID=0100000000001\r\n  TL=before\r\n"));
    const QByteArray before = f.read();
    ScriptedQuestionPort port;
    Collection collection(f.settings, f.path);
    collection.setQuestionPort(&port);
    const ConversionResult result = ConvertCollection(collection, {oldFolder(), "/no/such"});
    EXPECT_TRUE(result.ran);
    EXPECT_EQ(result.converted, 1);
    EXPECT_EQ(result.failed, 2);
    ASSERT_EQ(port.asked().size(), 1);
    EXPECT_EQ(port.asked()[0].id, 12328);
    EXPECT_EQ(port.asked()[0].texts.value(0), "2");
    EXPECT_FALSE(collection.isConverting());

    QFile backup(f.home.file("CONVERT.BAK"));
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), before);

    const QString log = convLog(f);
    EXPECT_TRUE(log.contains(": START job\r\n"));
    EXPECT_TRUE(log.contains(":  START searching folder \"" + oldFolder() + "/\""));
    EXPECT_TRUE(log.contains(":  FINISH searching folder\r\n"));
    EXPECT_TRUE(log.contains(":   FOUND album file \"untitled.obd\""));
    EXPECT_FALSE(log.contains("readme"));
    EXPECT_TRUE(log.contains(":   SUCCESSFULLY converted album file."));
    EXPECT_TRUE(log.contains(":   FAILED to convert \"Ancient / Relic\". It was created with an "
                             "old version of Orbisong and couldn't be converted."));
    EXPECT_TRUE(log.contains(": FINISH job"));

    // The new collection holds the converted album only.
    TCfgFile file(f.path);
    ASSERT_TRUE(file.load());
    QStringList names;
    file.ReadBlockNames(names);
    ASSERT_EQ(names, QStringList{"04018E0207530"});
    const QString id = names.first();
    EXPECT_EQ(file.ReadString(id, "Album", "AR", {}), "The Quiet, \"Loud\" Band");
    EXPECT_EQ(file.ReadString(id, "Album", "RV", {}), "3");
    EXPECT_EQ(file.ReadString(id, "Album", "SR", {}), "4");
    EXPECT_EQ(file.ReadString(id, "Tracks", "TL[1]", {}), "10425");
    EXPECT_EQ(file.ReadString(id, "Tracks", "TL[2]", {}), "14250");
    EXPECT_EQ(file.ReadString(id, "Tracks", "TO[3]", {}), "30000");
    EXPECT_EQ(file.ReadString(id, "Comments", "TX", {}), "Bought in C:\\\\shop\\nSecond line");
    EXPECT_EQ(file.ReadString(id, "WebLink", "WF[2]", {}), "1");
    EXPECT_EQ(file.ReadString(id, "WebLink", "WU[2]", {}), "http://two.example");
    EXPECT_EQ(file.ReadString(id, "WebLink", "CT", {}), "2");

    // Read back against the disc: the track-form steps play whole tracks.
    auto again = f.open();
    DiscInfo disc;
    disc.id = id;
    disc.trackCount = 3;
    disc.trackOffsets = {0, 150, 15000, 30000, 45000};
    AlbumInfo album;
    PlaylistList playlists;
    WebLinkList links;
    ASSERT_TRUE(ReadAlbumInfo(*again, links, album, playlists, disc));
    EXPECT_EQ(album.trackNotes[1], "C:\\\\notes\\\\one");
    ASSERT_EQ(playlists.size(), 1);
    ASSERT_EQ(playlists[0]->steps.size(), 2);
    EXPECT_EQ(playlists[0]->steps[0].title, "Finale first");
    EXPECT_EQ(playlists[0]->steps[0].start, 30000);
    EXPECT_EQ(playlists[0]->steps[0].end, 45000);
    EXPECT_EQ(playlists[0]->steps[1].start, 150);
    EXPECT_EQ(album.currentPlaylist, "Best");
}

TEST(Conversion, RunsOnceUnlessAskedAgain)
{
    CollectionFixture f;
    SettingsStore previous(f.home.file("settings.ini"), SettingsStore::previousVersionRootKey());
    Collection collection(f.settings, f.path);
    EXPECT_FALSE(ConvertConfiguration(previous, collection, true));

    previous.writeString("Options", "Flags 1", "x");
    previous.writeInteger("Search Path", "Directory Count", 2);
    previous.writeString("Search Path", "Directory 1", "  ");
    previous.writeString("Search Path", "Directory 2", " " + oldFolder() + " ");
    EXPECT_EQ(previousAlbumFolders(previous), QStringList{oldFolder()});
    ScriptedQuestionPort port;
    collection.setQuestionPort(&port);
    EXPECT_TRUE(ConvertConfiguration(previous, collection, false));
    EXPECT_EQ(previous.readInteger("Orbisong 4.0", "Converted", 0), 1);
    EXPECT_TRUE(f.read().contains("04018E0207530"));
    EXPECT_FALSE(ConvertConfiguration(previous, collection, false));
    // "/CONVERT" converts again from scratch, after backing up the collection.
    f.write("<MINE>\r\n [Album]\r\n  ID=0100000000001\r\n  TL=x\r\n");
    EXPECT_TRUE(ConvertConfiguration(previous, collection, true));
    EXPECT_FALSE(f.read().contains("MINE"));
    QFile backup(f.home.file("CONVERT.BAK"));
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_TRUE(backup.readAll().contains("MINE"));

    previous.deleteValue("Search Path", "Directory 2");
    previous.writeInteger("Search Path", "Directory Count", 0);
    EXPECT_EQ(previousAlbumFolders(previous),
              QStringList{"C:\\Program Files\\Orbisong\\Album Files"});
}

TEST(Conversion, KeepsTheCollectionWhenTheBackupFails)
{
    CollectionFixture f;
    f.write("<MINE>\r\n [Album]\r\n  ID=0100000000001\r\n");
    // A folder in the way of the backup file.
    QDir(f.home.path()).mkdir("CONVERT.BAK");
    Collection collection(f.settings, f.path);
    const ConversionResult result = ConvertCollection(collection, {oldFolder()});
    EXPECT_FALSE(result.ran);
    EXPECT_TRUE(f.read().contains("MINE"));
    EXPECT_TRUE(convLog(f).contains("FAILED to back up"));
}

TEST(Conversion, UntrustedOffsetsAndCountsAreBounded)
{
    CollectionFixture f;
    QTemporaryDir folder;
    const auto writeAlbum = [&](const QString &name, const QByteArray &text) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    const QByteArray disc = "[DISC]\r\ncddbid=67210754\r\nartist=A\r\ntitle=T\r\n"
                            "tracklength1=4866\r\ntracklength2=4866\r\n";
    // A start far past any disc would make a lead-out past the int range and a long ID.
    writeAlbum("HUGE.OBD", disc + "[CDDB]\r\ntrackframeoffset1=150\r\n"
                                  "trackframeoffset2=2147483647\r\n");
    writeAlbum("BACKWARDS.OBD",
               disc + "[CDDB]\r\ntrackframeoffset1=15000\r\ntrackframeoffset2=150\r\n");
    // Counts of two thousand million over a handful of entries.
    writeAlbum("COUNTS.OBD", "[DISC]\r\ncddbid=33554690\r\nartist=B\r\ntitle=U\r\n"
                             "tracklength1=4866\r\n[CDDB]\r\ntrackframeoffset1=150\r\n"
                             "[COMMENTS]\r\nlinecount=2000000000\r\nline1=only\r\n"
                             "[PROGRAMS]\r\nprogramcount=2000000000\r\nprogram1=P\r\n"
                             "[P]\r\nstepcount=2000000000\r\nstep0start=1\r\n"
                             "[WEBLINK]\r\ncount=2000000000\r\nurl1=http://x.example\r\n");
    Collection collection(f.settings, f.path);
    const ConversionResult result = ConvertCollection(collection, {folder.path()});
    EXPECT_EQ(result.converted, 1);
    EXPECT_EQ(result.failed, 2);
    EXPECT_TRUE(convLog(f).contains("FAILED to read the track list: track 2 starts at frame "
                                    "2147483647, outside 0-449999"));
    EXPECT_TRUE(convLog(f).contains("track 2 does not start after track 1"));

    TCfgFile file(f.path);
    ASSERT_TRUE(file.load());
    QStringList names;
    file.ReadBlockNames(names);
    ASSERT_EQ(names.size(), 1);
    const QString id = names.first();
    EXPECT_EQ(id.size(), 13);
    // No more lines than the file has entries.
    EXPECT_LT(file.ReadString(id, "Comments", "TX", {}).count("\\n"), 20);
    EXPECT_EQ(file.ReadString(id, "WebLink", "CT", {}), "1");
    EXPECT_EQ(file.ReadString(id, "Playlists", "CT", {}), "1");
    EXPECT_EQ(file.ReadString(id, "P", "CT", {}).toInt(), 1);
}

// What the files hold while the conversion is under way, as a run killed there would leave
// them.
struct MidwayLook : ConversionProgress
{
    const CollectionFixture &fixture;
    SettingsStore &previous;
    QList<QByteArray> collections;
    QList<int> converted;

    MidwayLook(const CollectionFixture &f, SettingsStore &p) : fixture(f), previous(p) {}
    void begin(int) override {}
    void advance(int) override
    {
        collections.append(fixture.read());
        converted.append(previous.readInteger("Orbisong 4.0", "Converted", 0));
    }
    void end() override {}
};

TEST(Conversion, TheOldCollectionStaysUntilTheNewOneIsComplete)
{
    CollectionFixture f;
    const QByteArray mine = "<MINE>\r\n [Album]\r\n  ID=0100000000001\r\n  TL=x\r\n";
    f.write(mine);
    // A run killed earlier left its half-built file behind.
    {
        QFile leftover(f.path + ".converting");
        ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
        leftover.write("<HALF>\r\n");
    }
    SettingsStore previous(f.home.file("settings.ini"), SettingsStore::previousVersionRootKey());
    previous.writeString("Options", "Flags 1", "x");
    previous.writeInteger("Search Path", "Directory Count", 1);
    previous.writeString("Search Path", "Directory 1", oldFolder());
    ScriptedQuestionPort port;
    Collection collection(f.settings, f.path);
    collection.setQuestionPort(&port);
    MidwayLook look(f, previous);
    EXPECT_TRUE(ConvertConfiguration(previous, collection, false, &look));

    ASSERT_EQ(look.collections.size(), 3);
    for (qsizetype i = 0; i < look.collections.size(); ++i) {
        EXPECT_EQ(look.collections.at(i), mine);
        EXPECT_EQ(look.converted.at(i), 0);
    }
    EXPECT_EQ(previous.readInteger("Orbisong 4.0", "Converted", 0), 1);
    EXPECT_TRUE(f.read().contains("04018E0207530"));
    EXPECT_FALSE(f.read().contains("MINE"));
    EXPECT_FALSE(f.read().contains("HALF"));
    EXPECT_FALSE(QFileInfo::exists(f.path + ".converting"));

    // A new collection that cannot be put in place keeps the old one, and the conversion is
    // not counted as done.
    CollectionFixture g;
    g.write(mine);
    SettingsStore again(g.home.file("settings.ini"), SettingsStore::previousVersionRootKey());
    again.writeString("Options", "Flags 1", "x");
    again.writeInteger("Search Path", "Directory Count", 1);
    again.writeString("Search Path", "Directory 1", oldFolder());
    QDir(g.home.path()).mkpath("ann.obc.converting/in-the-way");
    Collection blocked(g.settings, g.path);
    blocked.setQuestionPort(&port);
    EXPECT_TRUE(ConvertConfiguration(again, blocked, false));
    EXPECT_EQ(g.read(), mine);
    EXPECT_EQ(again.readInteger("Orbisong 4.0", "Converted", 0), 0);
}
