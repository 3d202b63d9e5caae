#include "ArcwellPlatform.h"
#include "ProfileFile.h"
#include "TestFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

const QString Missing = QStringLiteral("<missing>");

class setupProfileFile : public ::testing::Test
{
protected:
    QString file() const { return m_root.filePath(QStringLiteral("win.ini")); }

    QString read(const char *section, const char *key) const
    {
        return ProfileFile(file()).readString(QLatin1String(section), QLatin1String(key), Missing);
    }

    QTemporaryDir m_root;
};

TEST_F(setupProfileFile, FindsSectionsAndKeysWhateverTheirCase)
{
    writeFile(file(), "\xEF\xBB\xBF[windows]\r\n"
                      "load=\r\n"
                      "  [ Extensions ]  \r\n"
                      "  Zip  =  C:\\ARCWELL\\ARCWELL32.EXE ^.zip  \r\n");
    for (const char *section : {"extensions", "EXTENSIONS", "Extensions"}) {
        for (const char *key : {"zip", "ZIP", "Zip"}) {
            EXPECT_EQ(read(section, key), QStringLiteral("C:\\ARCWELL\\ARCWELL32.EXE ^.zip"))
                << section << "/" << key;
        }
    }
    // The first line's section is found behind the byte-order mark.
    EXPECT_EQ(read("WINDOWS", "Load"), QString());
}

TEST_F(setupProfileFile, ValuesAreTakenLiterally)
{
    writeFile(file(), "[extensions]\n"
                      "zip=/opt/arc well/ARCWELL32.EXE ^.zip, ^.ZIP ; not a comment\n"
                      "arj=a=b\n"
                      "lzh=\"/opt/arcwell/ARCWELL32.EXE ^.lzh\"\n"
                      "rar='x'\n"
                      "cab=\"x'\n"
                      "tar=%20\\n\n"
                      "gz=\"\n");
    EXPECT_EQ(read("extensions", "zip"),
              QStringLiteral("/opt/arc well/ARCWELL32.EXE ^.zip, ^.ZIP ; not a comment"));
    EXPECT_EQ(read("extensions", "arj"), QStringLiteral("a=b"));
    EXPECT_EQ(read("extensions", "lzh"), QStringLiteral("/opt/arcwell/ARCWELL32.EXE ^.lzh"));
    EXPECT_EQ(read("extensions", "rar"), QStringLiteral("x"));
    EXPECT_EQ(read("extensions", "cab"), QStringLiteral("\"x'"));
    EXPECT_EQ(read("extensions", "tar"), QStringLiteral("%20\\n"));
    EXPECT_EQ(read("extensions", "gz"), QStringLiteral("\""));
}

TEST_F(setupProfileFile, KeyCountsOnlyInItsOwnSection)
{
    writeFile(file(), "zip=before any section\n"
                      "[extensions]\n"
                      "txt=notepad.exe ^.txt\n"
                      "[extensions.old]\n"
                      "[programs\n"
                      "zip=not a header\n"
                      "[fonts]\n"
                      "zip=fonts\n"
                      "[EXTENSIONS]\n"
                      "zip=second section of the name\n");
    EXPECT_EQ(read("extensions", "zip"), Missing);
    EXPECT_EQ(read("extensions", "txt"), QStringLiteral("notepad.exe ^.txt"));
    // A line without its closing bracket is no header: its neighbour stays in the section
    // before it.
    EXPECT_EQ(read("extensions.old", "zip"), QStringLiteral("not a header"));
    EXPECT_EQ(read("programs", "zip"), Missing);
    EXPECT_EQ(read("fonts", "zip"), QStringLiteral("fonts"));
}

TEST_F(setupProfileFile, MissingFileSectionOrKeyGivesTheFallback)
{
    EXPECT_EQ(read("extensions", "zip"), Missing);
    EXPECT_FALSE(QFileInfo::exists(file()));

    writeFile(file(), "[extensions]\n"
                      "zip=\n"
                      "rar\n");
    // An empty entry is there; only an absent one gives the fallback.
    EXPECT_EQ(read("extensions", "zip"), QString());
    EXPECT_EQ(read("extensions", "rar"), Missing);
    EXPECT_EQ(read("extensions", "arj"), Missing);
    EXPECT_EQ(read("windows", "zip"), Missing);
}

TEST(setupPlatformProfile, ZipProgramComesFromTheFoldersWinIni)
{
    QTemporaryDir folder;
    const ArcwellPlatform platform(folder.path());
    EXPECT_TRUE(platform.zipExtensionProgram().isEmpty());
    writeFile(folder.filePath(QStringLiteral("winfile.ini")),
              "[extensions]\nzip=/opt/wrong/ARCWELL32.EXE ^.zip\n");
    EXPECT_TRUE(platform.zipExtensionProgram().isEmpty());
    writeFile(folder.filePath(QStringLiteral("win.ini")),
              "[Extensions]\nZIP=/opt/arcwell/ARCWELL32.EXE ^.zip\n");
    EXPECT_EQ(platform.zipExtensionProgram(), QStringLiteral("/opt/arcwell/ARCWELL32.EXE ^.zip"));
}

} // namespace
