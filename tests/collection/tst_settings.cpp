#include "collection/Settings.h"
#include "collection/SettingsSession.h"
#include "collection/SettingsStore.h"
#include "TestHome.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

const QString Root = SettingsStore::defaultRootKey();

Settings loadFrom(SettingsStore &store)
{
    Settings s = Settings::defaults(QStringLiteral("/data"), QStringLiteral("ann"),
                                    QStringLiteral("D"));
    LoadSettings(store, s);
    return s;
}

} // namespace

TEST(SettingsStore, NamesAreCaseInsensitiveAndKeepTheirSpelling)
{
    TestHome home;
    SettingsStore store(home.file("s.ini"), Root);
    store.writeString("Options", "Caption Format", "x");
    store.writeString("OPTIONS", "caption format", "y");
    EXPECT_EQ(store.readString("options", "CAPTION FORMAT", {}), "y");
    EXPECT_EQ(store.valueNames("Options"), QStringList({"Caption Format"}));
    store.writeInteger("Options", "Count", 42);
    EXPECT_EQ(store.readInteger("options", "count", 0), 42);
    store.writeBinary("Windows", "Main", QByteArray("\x01\x02", 2));
    EXPECT_EQ(store.readBinary("windows", "MAIN"), QByteArray("\x01\x02", 2));
    EXPECT_EQ(store.readString("Windows", "Main", "fallback"), "fallback");
    store.deleteKey("OPTIONS");
    EXPECT_FALSE(store.valueExists("Options", "Count"));
    EXPECT_TRUE(store.keyExists("Windows"));
}

TEST(SettingsStore, IntegersAcceptDecimalAndHex)
{
    TestHome home;
    SettingsStore store(home.file("s.ini"), Root);
    store.writeString("Options", "A", "0x14");
    store.writeString("Options", "B", "0X1f");
    store.writeString("Options", "C", "12abc");
    store.writeString("Options", "D", "-7");
    EXPECT_EQ(store.readInteger("Options", "A", 0), 20);
    EXPECT_EQ(store.readInteger("Options", "B", 0), 31);
    EXPECT_EQ(store.readInteger("Options", "C", 5), 5);
    EXPECT_EQ(store.readInteger("Options", "D", 0), -7);
    EXPECT_EQ(store.readInteger("Options", "Missing", 9), 9);
}

TEST(Settings, FreshStoreYieldsTheDefaults)
{
    TestHome home;
    SettingsStore store(home.file("s.ini"), Root);
    const Settings s = loadFrom(store);
    for (int bit = 0; bit < 128; ++bit) {
        const bool expected = QList<int>({1, 10, 18, 19, 20, 30, 33, 34, 35}).contains(bit);
        EXPECT_EQ(s.GetOptionFlag(bit), expected) << bit;
    }
    EXPECT_EQ(s.collectionPath, "/data/ann.OBC");
    EXPECT_EQ(s.introValue, "0:20");
    EXPECT_EQ(s.introSpec, 1);
    EXPECT_EQ(s.maxRecentInserts, 10);
    EXPECT_EQ(s.defaultBrowser, 2);
    EXPECT_EQ(s.userFormat, "[A%t]");
    EXPECT_EQ(s.captionFormat, "%P %V");
    EXPECT_EQ(s.colors[0], 0xFFFFFFFFu);
    EXPECT_EQ(s.driveLetter, "D");
    EXPECT_EQ(s.cddbServer, "gnudb.gnudb.org");
    EXPECT_EQ(s.cddbPort, "8880");
    EXPECT_EQ(s.cddbProtocol, "CDDBP");
    EXPECT_EQ(s.cddbProxyPort, "1080");
    EXPECT_EQ(s.cddbLocalPath, "/data/cddb");
    EXPECT_EQ(s.volumePath, "pavucontrol");
    EXPECT_EQ(s.purchaseLinks.split('|').size(), 1);
    EXPECT_EQ(s.informationLinks.split('|').size(), 11);
    EXPECT_EQ(s.informationLinks.split('|').filter(QRegularExpression("^-`")).size(), 1);
    EXPECT_EQ(s.performanceLinks.split('|').size(), 2);
    EXPECT_EQ(s.mainWindow.left, WindowPlacement::NotSet);
    EXPECT_EQ(s.mainWindow.height, WindowPlacement::NotSet);
    EXPECT_EQ(s.collectionProperties.sortOrder, "ATCYO");
    EXPECT_EQ(s.collectionProperties.columnWidths[0], -1);
    EXPECT_EQ(s.startCount, 0);
}

TEST(Settings, StoredValuesAreReadWithTheirRules)
{
    TestHome home;
    SettingsStore store(home.file("s.ini"), Root);
    store.writeString("Options", "Max Recent Inserts", "0x14");
    store.writeString("Options", "Time Format", "two");
    store.writeString("Options", "Color 1", "000000FF");
    store.writeString("Options", "Color 2", "zz");
    store.writeString("Custom Fields", "1", "Label");
    store.writeString("Custom Fields", "2", "Producer");
    store.writeString("Custom Fields", "4", "Ignored");
    store.writeString("CDDB", "Local Path", "/srv/cddb/");
    store.writeString("Events", "On_TimerPlay", "line 1\\nline 2");
    const Settings s = loadFrom(store);
    EXPECT_EQ(s.maxRecentInserts, 20);
    EXPECT_EQ(s.timeFormat, 0);
    EXPECT_EQ(s.colors[0], 255u);
    EXPECT_EQ(s.colors[1], 0xFFFFFFFFu);
    EXPECT_EQ(s.customFields, QStringList({"Label", "Producer"}));
    EXPECT_EQ(s.cddbLocalPath, "/srv/cddb");
    EXPECT_EQ(s.onTimerPlay, "line 1\r\nline 2");

    store.writeString("CDDB", "Local Path", "/");
    EXPECT_TRUE(loadFrom(store).cddbLocalPath.endsWith("/cddb"));
}

TEST(Settings, SaveAndLoadKeepEveryValue)
{
    TestHome home;
    SettingsStore store(home.file("s.ini"), Root);
    Settings s = loadFrom(store);
    for (const SettingField &field : settingFields()) {
        if (field.name.startsWith("Color"))
            field.set(s, "00A0B0C0");
        else if (field.name == "On_TimerPlay" || field.name == "On_TimerStop")
            field.set(s, "proc Main\\n  beep\\nend");
        else if (field.get(s).toInt() != 0 || field.get(s) == "0")
            field.set(s, QString::number(field.get(s).toInt() + 3));
        else
            field.set(s, field.name + " value");
    }
    s.customFields = {"One", "Two"};
    s.exportProfiles = {"Profile"};
    s.SetOptionFlag(_GLOB_OPTION_STAYONTOP, true);
    s.SetOptionFlag(_GLOB_OPTION_SHOWHINTS, false);
    s.mainWindow = {-20, 300, 480};
    s.collectionProperties.columnWidths = {10, 20, 30, 40, 50};
    s.collectionProperties.sortOrder = "TA";
    s.collectionProperties.grouping = 3;
    SaveSettings(store, s);
    ASSERT_TRUE(store.sync());

    SettingsStore reopened(home.file("s.ini"), Root);
    const Settings loaded = loadFrom(reopened);
    for (const SettingField &field : settingFields())
        EXPECT_EQ(field.get(loaded), field.get(s)) << field.name.toStdString();
    EXPECT_EQ(loaded.customFields, s.customFields);
    EXPECT_EQ(loaded.exportProfiles, s.exportProfiles);
    EXPECT_EQ(loaded.optionFlags, s.optionFlags);
    EXPECT_EQ(loaded.mainWindow.left, -20);
    EXPECT_EQ(loaded.mainWindow.top, 300);
    EXPECT_EQ(loaded.mainWindow.height, 480);
    EXPECT_EQ(loaded.collectionProperties.pack(), s.collectionProperties.pack());
}

TEST(Settings, SaveDropsUnknownOptionsButKeepsProfiles)
{
    TestHome home;
    SettingsStore store(home.file("s.ini"), Root);
    store.writeString("Options", "Obsolete", "1");
    store.writeString("Profiles", "My Links", "x`http://example.org");
    const Settings s = loadFrom(store);
    SaveSettings(store, s);
    EXPECT_FALSE(store.valueExists("Options", "Obsolete"));
    EXPECT_EQ(store.readString("Profiles", "My Links", {}), "x`http://example.org");
}

TEST(Settings, StartsAreCounted)
{
    TestHome home;
    SettingsStore store(home.file("s.ini"), Root);
    Settings s = loadFrom(store);
    RecordProgramStart(store, s, "/usr/bin/orbisong");
    Settings again = loadFrom(store);
    RecordProgramStart(store, again, "/usr/bin/orbisong");
    EXPECT_EQ(again.startCount, 2);
    EXPECT_EQ(store.readString("Location", "Program", {}), "/usr/bin/orbisong");
}

TEST(WindowPlacement, PacksLeftAndTopIndependently)
{
    const WindowPlacement placement{-5, 40, 300};
    const QByteArray bytes = placement.pack();
    ASSERT_EQ(bytes.size(), 8);
    // Left -5 as 16 bits, top 40 as 16 bits, height 300 in both halves.
    EXPECT_EQ(bytes, QByteArray::fromHex("fbff28002c012c01"));
    const WindowPlacement back = WindowPlacement::unpack(bytes);
    EXPECT_EQ(back.left, -5);
    EXPECT_EQ(back.top, 40);
    EXPECT_EQ(back.height, 300);
    // Non-negative values keep the packing left + top * 65536.
    EXPECT_EQ(WindowPlacement({100, 2, WindowPlacement::NotSet}).pack(),
              QByteArray::fromHex("640002000efcffff"));
    EXPECT_EQ(WindowPlacement().pack(), QByteArray::fromHex("0efcffff0efcffff"));
}

TEST(SettingsSession, UsesTheHomeFolder)
{
    TestHome home;
    {
        SettingsSession session;
        EXPECT_TRUE(session.settings().collectionPath.startsWith(home.path()));
        session.settings().SetOptionFlag(_GLOB_OPTION_PLAYONINSERT, true);
        EXPECT_TRUE(session.save());
    }
    SettingsSession again;
    EXPECT_TRUE(again.settings().GetOptionFlag(_GLOB_OPTION_PLAYONINSERT));
}

// Recent images: latest first, one entry per file, a bounded list, and a shorter list saved
// over a longer one leaves no stale entries behind.
TEST(Settings, RecentImagesAreKeptLatestFirstAndBounded)
{
    TestHome home;
    SettingsStore store(home.file("s.ini"), Root);
    Settings s = loadFrom(store);
    EXPECT_TRUE(s.recentImages.isEmpty());
    for (int i = 0; i < Settings::MaxRecentImages + 2; ++i)
        s.rememberImage(home.file(QStringLiteral("disc%1.cue").arg(i)));
    ASSERT_EQ(s.recentImages.size(), Settings::MaxRecentImages);
    EXPECT_EQ(s.recentImages.first(), home.file(QStringLiteral("disc%1.cue")
                                                    .arg(Settings::MaxRecentImages + 1)));
    s.rememberImage(home.path() + QStringLiteral("/./disc5.cue"));
    EXPECT_EQ(s.recentImages.first(), home.file(QStringLiteral("disc5.cue")));
    EXPECT_EQ(s.recentImages.count(home.file(QStringLiteral("disc5.cue"))), 1);
    SaveSettings(store, s);
    ASSERT_TRUE(store.sync());
    EXPECT_EQ(store.readString(QStringLiteral("Recent Images"), QStringLiteral("1"), {}),
              home.file(QStringLiteral("disc5.cue")));
    EXPECT_EQ(loadFrom(store).recentImages, s.recentImages);

    s.recentImages = {home.file(QStringLiteral("only.cue"))};
    SaveSettings(store, s);
    EXPECT_EQ(loadFrom(store).recentImages, s.recentImages);
}
