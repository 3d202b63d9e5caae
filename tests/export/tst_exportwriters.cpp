#include "ExportFixture.h"

#include "collection/AlbumRecord.h"
#include "collection/CurrentAlbum.h"
#include "export/ExportAlbums.h"
#include "export/ExportProfile.h"
#include "export/TemplateList.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QString golden(const QString &name)
{
    return ExportFixture::data(QStringLiteral("golden/") + name);
}

QStringList idsOf(const QList<const AlbumIndexNode *> &albums)
{
    QStringList ids;
    for (const AlbumIndexNode *album : albums)
        ids.append(album->id);
    return ids;
}

} // namespace

TEST(ExportWriters, AsciiDatabaseMatchesTheGoldenFile)
{
    ExportFixture f;
    const QString out = f.home.file(QStringLiteral("albums.txt"));
    const ExportResult result = f.exportFile(ExportFormatAscii, out);
    ASSERT_TRUE(result.succeeded()) << result.error.toStdString();
    EXPECT_EQ(readFile(out), readFile(golden(QStringLiteral("albums.txt"))));

    // Without track titles, with delimiters of the user's own; nothing after the last record.
    ExportProfile profile;
    profile.flags = ExportFormatAscii | ExportListedAlbums;
    profile.albumIds = {QStringLiteral("2000000000002"), QStringLiteral("4000000000004")};
    profile.outputFile = out;
    profile.fieldDelimiter = QStringLiteral(" ; ");
    profile.recordDelimiter = QStringLiteral("<TAB>");
    ASSERT_TRUE(ExportJob(*f.collection, profile).run().succeeded());
    EXPECT_EQ(readFile(out),
              "AC/DC;Back in Black;Rock;Bob;1980;\tThe Beatles;The Help;rock;Ann;1965;");
}

// The albums' blocks as the collection holds them, found by the index's block name (an
// imported album's block has a name of its own); unknown IDs are skipped.
TEST(ExportWriters, CollectionFileMatchesTheGoldenFile)
{
    ExportFixture f;
    const QString out = f.home.file(QStringLiteral("albums.obc"));
    const ExportResult result = f.exportFile(ExportFormatCollection, out,
                                             {"5000000000005", "2000000000002", "9999999999999"});
    ASSERT_TRUE(result.succeeded()) << result.error.toStdString();
    EXPECT_EQ(result.albums, 2);
    EXPECT_EQ(readFile(out), readFile(golden(QStringLiteral("albums.obc"))));
}

// Exporting onto the collection file writes nothing: named directly, through a link to the
// file, through a link to its folder, in another letter case of a name that exists.
TEST(ExportWriters, NeverWritesOntoTheCollectionFile)
{
    ExportFixture f;
    const QByteArray before = readFile(f.path);
    const QString other = f.folder(QStringLiteral("other"));
    ASSERT_TRUE(QFile::link(f.path, other + QStringLiteral("/link.obc")));
    ASSERT_TRUE(QFile::link(f.home.path(), other + QStringLiteral("/home")));
    for (const QString &target :
         {f.path, other + QStringLiteral("/link.obc"), other + QStringLiteral("/home/ann.obc")}) {
        for (const int format : {int(ExportFormatCollection), int(ExportFormatAscii)}) {
            const ExportResult result = f.exportFile(format, target);
            EXPECT_FALSE(result.succeeded()) << target.toStdString();
            EXPECT_TRUE(result.files.isEmpty());
        }
    }
    EXPECT_EQ(readFile(f.path), before);
    EXPECT_TRUE(QFileInfo(other + QStringLiteral("/link.obc")).isSymLink());
    // A folder that does not exist gets nothing either.
    EXPECT_FALSE(
        f.exportFile(ExportFormatCollection, other + QStringLiteral("/none/x.obc")).succeeded());
    EXPECT_EQ(filesIn(other), QStringList({"link.obc"}));
}

// The export reads the collection as it is in memory: changes not yet on disk count, and the
// album in the drive gives its own, newer values (and is stored before its block is copied).
TEST(ExportWriters, ExportsTheCollectionInMemory)
{
    ExportFixture f;
    f.collection->pin();
    f.collection->holdWrites(true);
    ASSERT_TRUE(
        f.collection->SetAlbumTitle(QStringLiteral("2000000000002"), QStringLiteral("Highway")));
    CurrentAlbum current;
    current.discPresent = true;
    current.disc.id = QStringLiteral("1000000000001");
    current.disc.mediaKind = 65537;
    current.disc.trackCount = 3;
    current.disc.length = 1000;
    ASSERT_TRUE(ReadAlbumInfo(*f.collection, current.webLinks, current.album, current.playlists,
                              current.disc));
    current.album.title = QStringLiteral("Abbey Road (Remastered)");
    current.album.trackTitles[2] = QStringLiteral("Here Comes The Sun");
    f.collection->setCurrentAlbum(&current);

    const QString text = f.home.file(QStringLiteral("albums.txt"));
    ASSERT_TRUE(
        f.exportFile(ExportFormatAscii, text, {"1000000000001", "2000000000002"}).succeeded());
    EXPECT_EQ(readFile(text), "The Beatles\tAbbey Road (Remastered)\tRock\tAnn\t1969\t\t"
                              "Come Together,Here Comes The Sun,Track 3\r\n"
                              "AC/DC\tHighway\tRock\tBob\t1980\t\tHells Bells,Shoot to Thrill");

    const QString obc = f.home.file(QStringLiteral("albums.obc"));
    ASSERT_TRUE(
        f.exportFile(ExportFormatCollection, obc, {"1000000000001", "2000000000002"}).succeeded());
    const QByteArray blocks = readFile(obc);
    EXPECT_TRUE(blocks.contains("TL=Abbey Road (Remastered)\r\n"));
    EXPECT_TRUE(blocks.contains("TT[2]=Here Comes The Sun\r\n"));
    EXPECT_TRUE(blocks.contains("TL=Highway\r\n"));
    f.collection->holdWrites(false);
    f.collection->setCurrentAlbum(nullptr);
    f.collection->ShutdownCollection();
}

TEST(ExportWriters, SelectsTheAlbums)
{
    ExportFixture f;
    ExportProfile p;
    p.flags = ExportAllAlbums;
    EXPECT_EQ(ExportAlbums::select(*f.collection, p).size(), 5); // not the CD-ROM
    p.flags = ExportGroupAlbums;
    p.groupKind = 0;
    p.groupValue = QStringLiteral("the beatles");
    EXPECT_EQ(idsOf(ExportAlbums::select(*f.collection, p)),
              QStringList({"1000000000001", "4000000000004"}));
    p.groupValue = QStringLiteral("(None)");
    EXPECT_EQ(idsOf(ExportAlbums::select(*f.collection, p)), QStringList({"5000000000005"}));
    p.flags = ExportListedAlbums;
    p.albumIds = {"4000000000004", "6000000000006", "4000000000004", "1000000000001", "x"};
    EXPECT_EQ(idsOf(ExportAlbums::select(*f.collection, p)),
              QStringList({"4000000000004", "1000000000001"}));
    bool repeats = false;
    EXPECT_EQ(ExportAlbums::withoutRepeats({"a", "B", "A", "b", "c"}, &repeats),
              QStringList({"a", "B", "c"}));
    EXPECT_TRUE(repeats);
}

TEST(ExportProfiles, KeepEveryFieldAndReplaceByName)
{
    ExportProfile p;
    p.flags = ExportListedAlbums | ExportTrackTitles | ExportFormatAscii;
    p.albumIds = {QStringLiteral("1000000000001"), QStringLiteral("2000000000002")};
    p.templateName = QStringLiteral("Collection");
    p.outputFile = QStringLiteral("/tmp/a.txt");
    p.outputFolder = QStringLiteral("/tmp/site");
    p.trackDelimiter = QStringLiteral(";");
    p.fieldDelimiter = QStringLiteral("<TAB>");
    p.recordDelimiter = QStringLiteral("<ret>");
    p.groupKind = 4;
    p.groupValue = QStringLiteral("1969");
    const QString text = p.toText();
    EXPECT_EQ(text, QStringLiteral("0000001C`1000000000001,2000000000002`Collection`/tmp/a.txt`"
                                   "/tmp/site`;`<TAB>`<ret>`4`1969"));
    EXPECT_EQ(ExportProfile::fromText(text).toText(), text);
    EXPECT_EQ(ExportProfile::fromText(QStringLiteral("00000041")).fieldDelimiter,
              QStringLiteral("<tab>"));

    QStringList entries;
    ExportProfiles::save(entries, QStringLiteral("web`site"), p);
    ExportProfiles::save(entries, QStringLiteral("Another"), ExportProfile());
    p.groupValue = QStringLiteral("1970");
    ExportProfiles::save(entries, QStringLiteral("WEB SITE"), p);
    EXPECT_EQ(ExportProfiles::names(entries), QStringList({"WEB SITE", "Another"}));
    ExportProfiles::sort(entries);
    EXPECT_EQ(ExportProfiles::names(entries), QStringList({"Another", "WEB SITE"}));
    ExportProfile found;
    ASSERT_TRUE(ExportProfiles::find(entries, QStringLiteral("web site"), &found));
    EXPECT_EQ(found.groupValue, QStringLiteral("1970"));

    EXPECT_EQ(delimiterText(QStringLiteral(" <Ret> ")), QStringLiteral("\r\n"));
    EXPECT_EQ(delimiterText(QStringLiteral("<tab>")), QStringLiteral("\t"));
    EXPECT_EQ(delimiterText(QStringLiteral(" | ")), QStringLiteral("|"));
}

// Templates are offered by their title-cased name and opened by their real path, whatever
// the case of their extension; files whose first line is not "HTML" are not offered.
TEST(TemplateList, KeepsTheRealPath)
{
    ExportFixture f;
    const QString own = f.home.file(QStringLiteral("templates/my own.OBT"));
    writeFile(own, "Html\n[&FILE mine.html]mine[&END]");
    writeFile(f.home.file(QStringLiteral("templates/notes.obt")), "TEXT\n");
    const QList<TemplateEntry> list = availableTemplates();
    QStringList names;
    for (const TemplateEntry &entry : list)
        names.append(entry.name);
    EXPECT_EQ(names, QStringList({"Collection", "My Own"}));
    EXPECT_EQ(templatePath(QStringLiteral("MY OWN")), own);
    const QString out = f.folder(QStringLiteral("out"));
    ASSERT_TRUE(f.exportHtml(templatePath(QStringLiteral("my own")), out).succeeded());
    EXPECT_EQ(filesIn(out), QStringList({"mine.html"}));
}
