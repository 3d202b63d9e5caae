#include "RegistryFile.h"
#include "TestFiles.h"

#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

const QString ProductRoot = QStringLiteral("HKEY_CURRENT_USER/Software/Arcwell/Arcwell32");
const QString ClassesRoot = QStringLiteral("HKEY_CLASSES_ROOT");
const QString Missing = QStringLiteral("<missing>");

class setupRegistryFile : public ::testing::Test
{
protected:
    QString file() const { return m_root.filePath(QStringLiteral("registry.ini")); }

    // Every stored key with its value, as QSettings sees the file.
    QStringList storedEntries() const
    {
        QSettings settings(file(), QSettings::IniFormat);
        QStringList entries;
        for (const QString &key : settings.allKeys())
            entries << key + QLatin1Char('=') + settings.value(key).toString();
        entries.sort();
        return entries;
    }

    QTemporaryDir m_root;
};

TEST_F(setupRegistryFile, FindsKeysAndValuesWhateverTheirCase)
{
    // Every level spelled differently from the reader's request.
    writeFile(file(), "[hkey_current_user]\n"
                      "software\\ARCWELL\\arcwell32\\EXTENSIONS\\Zip="
                      "/opt/arcwell/ARCWELL32.EXE ^.zip\n");
    const RegistryFile registry(file(), ProductRoot);
    for (const char *key : {"extensions", "Extensions", "EXTENSIONS"}) {
        for (const char *name : {"zip", "ZIP", "Zip"}) {
            EXPECT_EQ(registry.readString(QLatin1String(key), QLatin1String(name), Missing),
                      QStringLiteral("/opt/arcwell/ARCWELL32.EXE ^.zip"))
                << key << "/" << name;
        }
    }
}

TEST_F(setupRegistryFile, ReadsEachValueFromItsOwnKeyOnly)
{
    {
        QSettings settings(file(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("HKEY_CLASSES_ROOT/CLSID/{6C1B93E2-AB}/Default"),
                          QStringLiteral("server"));
        settings.setValue(
            QStringLiteral("HKEY_CLASSES_ROOT/CLSID/{6C1B93E2-AB}/InprocServer32/Default"),
            QStringLiteral("awshlext.dll"));
        settings.setValue(
            QStringLiteral("HKEY_CLASSES_ROOT/*/shellex/ContextMenuHandlers/Arcwell/Default"),
            QStringLiteral("{6C1B93E2-AB}"));
        settings.setValue(QStringLiteral("HKEY_LOCAL_MACHINE/CLSID/{6C1B93E2-AB}/Default"),
                          QStringLiteral("machine"));
    }
    const RegistryFile classes(file(), ClassesRoot);
    const QString def = QStringLiteral("default");
    EXPECT_EQ(classes.readString(QStringLiteral("clsid\\{6c1b93e2-ab}"), def, Missing),
              QStringLiteral("server"));
    EXPECT_EQ(
        classes.readString(QStringLiteral("CLSID/{6C1B93E2-AB}/inprocserver32"), def, Missing),
        QStringLiteral("awshlext.dll"));
    EXPECT_EQ(classes.readString(QStringLiteral("/*/SHELLEX//contextmenuhandlers/arcwell/"), def,
                                 Missing),
              QStringLiteral("{6C1B93E2-AB}"));
    // A value belongs to its key: neither the parent nor a subkey of the same name answers.
    EXPECT_EQ(classes.readString(QStringLiteral("CLSID"), def, Missing), Missing);
    EXPECT_EQ(classes.readString(QStringLiteral("CLSID/{6C1B93E2-AB}/InprocServer32/Default"), def,
                                 Missing),
              Missing);
    EXPECT_EQ(RegistryFile(file(), QStringLiteral("hkey_local_machine"))
                  .readString(QStringLiteral("CLSID/{6C1B93E2-AB}"), def, Missing),
              QStringLiteral("machine"));
}

TEST_F(setupRegistryFile, MissingFileGivesTheFallbackAndStaysMissing)
{
    {
        const RegistryFile registry(file(), ProductRoot);
        EXPECT_EQ(registry.readString(QStringLiteral("extensions"), QStringLiteral("zip"), Missing),
                  Missing);
    }
    EXPECT_FALSE(QFileInfo::exists(file()));
}

TEST_F(setupRegistryFile, MissingKeyOrValueGivesTheFallback)
{
    {
        QSettings settings(file(), QSettings::IniFormat);
        settings.setValue(ProductRoot + QStringLiteral("/extensions/zip"), QString());
        settings.setValue(ProductRoot + QStringLiteral("/extensions/rar"),
                          QByteArray("\x01\xff", 2));
        settings.setValue(QStringLiteral("HKEY_CURRENT_USER/Software/Other/extensions/arj"),
                          QStringLiteral("x"));
    }
    const RegistryFile registry(file(), ProductRoot);
    const QString extensions = QStringLiteral("extensions");
    // An empty value is there; only an absent one gives the fallback.
    EXPECT_EQ(registry.readString(extensions, QStringLiteral("zip"), Missing), QString());
    EXPECT_EQ(registry.readString(extensions, QStringLiteral("lzh"), Missing), Missing);
    EXPECT_EQ(registry.readString(extensions, QStringLiteral("rar"), Missing), Missing);
    EXPECT_EQ(registry.readString(extensions, QStringLiteral("arj"), Missing), Missing);
    EXPECT_EQ(registry.readString(QStringLiteral("programs"), QStringLiteral("zip"), Missing),
              Missing);
    EXPECT_EQ(RegistryFile(file(), QStringLiteral("HKEY_CURRENT_USER/Software/Arcwell/Arcwell16"))
                  .readString(extensions, QStringLiteral("zip"), Missing),
              Missing);
}

TEST_F(setupRegistryFile, WritingLandsOnTheStoredSpelling)
{
    writeFile(file(), "[HKEY_LOCAL_MACHINE]\n"
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AlwaysUnloadDLL"
                      "\\default=0\n");
    RegistryFile registry(file(), QStringLiteral("hkey_local_machine"));
    registry.writeString(
        QStringLiteral("SOFTWARE/MICROSOFT/windows/currentversion/EXPLORER/AlwaysUnloadDll"),
        QStringLiteral("Default"), QStringLiteral("1"));
    registry.writeString(QStringLiteral("software/New Key"), QStringLiteral("Name"),
                         QStringLiteral("a, b"));
    ASSERT_TRUE(registry.sync());
    EXPECT_EQ(storedEntries(),
              QStringList({QStringLiteral("HKEY_LOCAL_MACHINE/Software/Microsoft/Windows/"
                                          "CurrentVersion/Explorer/AlwaysUnloadDLL/default=1"),
                           QStringLiteral("HKEY_LOCAL_MACHINE/Software/New Key/Name=a, b")}));
    EXPECT_EQ(RegistryFile(file(), QStringLiteral("HKEY_LOCAL_MACHINE"))
                  .readString(QStringLiteral("Software/new key"), QStringLiteral("name"), Missing),
              QStringLiteral("a, b"));
}

TEST_F(setupRegistryFile, DeletingAKeyTakesItsSubkeysAndLeavesTheRest)
{
    {
        QSettings settings(file(), QSettings::IniFormat);
        const QString handlers = QStringLiteral("HKEY_CLASSES_ROOT/Folder/shellex/Handlers");
        settings.setValue(handlers + QStringLiteral("/Default"), QStringLiteral("list"));
        settings.setValue(handlers + QStringLiteral("/Arcwell/Default"), QStringLiteral("a"));
        settings.setValue(handlers + QStringLiteral("/Arcwell/Options/Flags"), QStringLiteral("1"));
        settings.setValue(handlers + QStringLiteral("/ArcwellTools/Default"), QStringLiteral("t"));
        settings.setValue(QStringLiteral("HKEY_LOCAL_MACHINE/Folder/shellex/Handlers/Arcwell/"
                                         "Default"),
                          QStringLiteral("m"));
    }
    RegistryFile registry(file(), ClassesRoot);
    registry.deleteKey(QStringLiteral("folder\\SHELLEX\\handlers\\ARCWELL"));
    registry.deleteKey(QStringLiteral("Folder/shellex/Handlers/Absent"));
    ASSERT_TRUE(registry.sync());
    EXPECT_EQ(
        storedEntries(),
        QStringList({
            QStringLiteral("HKEY_CLASSES_ROOT/Folder/shellex/Handlers/ArcwellTools/Default=t"),
            QStringLiteral("HKEY_CLASSES_ROOT/Folder/shellex/Handlers/Default=list"),
            QStringLiteral("HKEY_LOCAL_MACHINE/Folder/shellex/Handlers/Arcwell/Default=m"),
        }));
}

} // namespace
