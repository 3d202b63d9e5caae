#include "collection/Collection.h"
#include "collection/Settings.h"
#include "player/AlbumWindow.h"
#include "player/AlbumWindowRegistry.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

struct RecordingWindow : AlbumWindow
{
    QList<CddbAlbumFields> entries;
    QList<int> codes;
    void takeEntry(const CddbAlbumFields &fields) override { entries.append(fields); }
    void albumChanged(int code) override { codes.append(code); }
};

const QStringList Lines = {QStringLiteral("DISCID=0a1b2c02"),
                           QStringLiteral("DTITLE=some one / some thing"),
                           QStringLiteral("TTITLE0=a"), QStringLiteral("TTITLE1=b")};

} // namespace

TEST(AlbumWindowRegistry, EntriesGoToTheWizardFirstAndChangesToThePropertiesWindow)
{
    TestHome home;
    writeFile(home.file(QStringLiteral("ann.obc")),
              "<0A1B2C0212345>\r\n [Album]\r\n  ID=0A1B2C0212345\r\n [Media]\r\n  MD=65537\r\n");
    Settings settings = Settings::defaults(home.path(), QStringLiteral("ann"), QString());
    Collection collection(settings, home.file(QStringLiteral("ann.obc")));
    collection.BuildAlbumIndex();
    AlbumWindowRegistry registry(&collection);
    RecordingWindow wizard;
    RecordingWindow properties;
    const auto hook = registry.hook();
    EXPECT_FALSE(hook(QStringLiteral("0A1B2C0212345"), QStringLiteral("Rock"), Lines, 2));

    registry.add(AlbumWindowRegistry::Properties, QStringLiteral("0a1b2c0212345"), &properties);
    registry.add(AlbumWindowRegistry::Wizard, QStringLiteral("0A1B2C0212345"), &wizard);
    EXPECT_TRUE(hook(QStringLiteral("0A1B2C0212345"), QStringLiteral("Rock"), Lines, 2));
    ASSERT_EQ(wizard.entries.size(), 1);
    EXPECT_EQ(wizard.entries.at(0).title, "Some Thing");
    EXPECT_EQ(wizard.entries.at(0).trackTitles, "A\rB");
    EXPECT_EQ(wizard.entries.at(0).source, 2);
    EXPECT_TRUE(properties.entries.isEmpty());

    registry.remove(&wizard);
    EXPECT_TRUE(hook(QStringLiteral("0A1B2C0212345"), QStringLiteral("Rock"), Lines, 3));
    EXPECT_EQ(properties.entries.size(), 1);

    collection.SetAlbumTitle(QStringLiteral("0A1B2C0212345"), QStringLiteral("New"));
    EXPECT_EQ(properties.codes, QList<int>({12}));
    EXPECT_TRUE(wizard.codes.isEmpty());
    registry.remove(&properties);
    EXPECT_EQ(registry.count(AlbumWindowRegistry::Properties), 0);
    EXPECT_FALSE(hook(QStringLiteral("0A1B2C0212345"), QStringLiteral("Rock"), Lines, 3));
}
