// The start-up windows and the import stages wired into the running player.

#include "app/SetupWindows.h"
#include "app/StartupSequence.h"
#include "base/AppPaths.h"
#include "collection/AlbumInfo.h"
#include "collection/CurrentAlbum.h"
#include "collection/DiscId.h"
#include "collection/Settings.h"
#include "collection/SettingsStore.h"
#include "playback/DiscImageWriter.h"
#include "player/RecognitionSequence.h"
#include "player/PlayerEngine.h"
#include "TestHome.h"
#include "TestWindows.h"
#include "ui/player/TPlayerForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// A two-track disc image in the test's data folder.
struct Disc
{
    explicit Disc(const TestHome &home)
    {
        writer.addSilentTrack(75 * 20);
        writer.addSilentTrack(75 * 30);
        cue = home.file(QStringLiteral("disc.cue"));
        EXPECT_TRUE(writer.write(cue));
    }
    QString identity() const
    {
        return MediaIdentity(writer.trackStarts().mid(0, 2), writer.leadOut());
    }
    QString albumId() const { return AlbumId(writer.trackStarts().mid(0, 2), writer.leadOut()); }

    DiscImageWriter writer;
    QString cue;
};

void writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// Starts the player on the disc and waits until the recognition has ended with a stage.
class SetupStartup : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true"); }

    void startOn(const QString &cue)
    {
        startup = std::make_unique<StartupSequence>(QStringList{cue});
        ASSERT_TRUE(startup->start());
        recognised = std::make_unique<QSignalSpy>(startup->player(), &TPlayerForm::recognised);
    }
    const AlbumInfo &album() { return startup->player()->engine()->current().album; }

    TestHome home;
    std::unique_ptr<StartupSequence> startup;
    std::unique_ptr<QSignalSpy> recognised;
};

} // namespace

TEST_F(SetupStartup, FirstStartRunsTheWizardThenTheTipAndTheAnswersReachThePlayer)
{
    Disc disc(home);
    startOn(disc.cue);
    SetupWindows *windows = startup->setupWindows();
    ASSERT_TRUE(waitFor([&] { return windows->setupWizard() != nullptr; }));
    TSetupWizard *wizard = windows->setupWizard();
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_EQ(windows->tipOfTheDay(), nullptr);
    EXPECT_EQ(windows->showSetupWizard(), wizard);

    wizard->nextButton()->click();
    wizard->findChild<QRadioButton *>(QStringLiteral("FloatYesRadio"))->setChecked(true);
    wizard->findChild<QCheckBox *>(QStringLiteral("StickTopCheck"))->setChecked(true);
    wizard->findChild<QCheckBox *>(QStringLiteral("StickBottomCheck"))->setChecked(true);
    EXPECT_FALSE(wizard->findChild<QCheckBox *>(QStringLiteral("StickTopCheck"))->isChecked());
    EXPECT_EQ(wizard->findChild<QLabel *>(QStringLiteral("BordersLabel"))->text(),
              QStringLiteral("Orbisong's window will slide along the bottom edge of the "
                             "screen."));
    saveScreenshot(wizard, QStringLiteral("setup-wizard.png"));
    wizard->nextButton()->click();
    wizard->findChild<QCheckBox *>(QStringLiteral("TrayPlayCheck"))->setChecked(true);
    wizard->nextButton()->click();
    wizard->findChild<QRadioButton *>(QStringLiteral("TimeFormatRadio2"))->setChecked(true);
    wizard->nextButton()->click();
    wizard->findChild<QRadioButton *>(QStringLiteral("InternetNoRadio"))->setChecked(true);
    wizard->nextButton()->click();
    EXPECT_TRUE(wizard->finishButton()->isVisible());
    wizard->finishButton()->click();

    TPlayerForm *player = startup->player();
    EXPECT_TRUE(player->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    ASSERT_TRUE(waitFor([&] { return windows->tipOfTheDay() != nullptr; }));
    EXPECT_TRUE(windows->tipOfTheDay()->isVisible());
    windows->tipOfTheDay()->findChild<QPushButton *>(QStringLiteral("CloseButton"))->click();

    startup.reset();
    SettingsStore store(AppPaths::settingsFile(), SettingsStore::defaultRootKey());
    Settings saved = Settings::defaults(home.path(), loginName(), {});
    LoadSettings(store, saved);
    EXPECT_TRUE(saved.GetOptionFlag(_GLOB_OPTION_STAYONTOP));
    EXPECT_TRUE(saved.GetOptionFlag(_GLOB_OPTION_STICKBOTTOM));
    EXPECT_FALSE(saved.GetOptionFlag(_GLOB_OPTION_STICKTOP));
    EXPECT_TRUE(saved.GetOptionFlag(_GLOB_OPTION_TRAYPLAY));
    EXPECT_EQ(saved.timeFormat, 2);
    EXPECT_TRUE(saved.GetOptionFlag(_GLOB_OPTION_SHOWTOTD));
}

TEST_F(SetupStartup, DiscKnownToTheCdPlayerFileIsFilledFromIt)
{
    Disc disc(home);
    writeFile(home.file(QStringLiteral("CDPLAYER.INI")),
              "[" + disc.identity().toLatin1() +
                  "]\r\nEntryType=1\r\nartist=Old Artist\r\ntitle=Old Title\r\nnumtracks=2\r\n"
                  "0=First\r\n1=Second\r\n");
    startOn(disc.cue);
    ASSERT_TRUE(waitFor([&] { return recognised->size() > 0; }));
    EXPECT_EQ(recognised->first().first().toInt(), int(RecognitionSequence::OtherPlayer));
    EXPECT_EQ(album().artist, QStringLiteral("Old Artist"));
    EXPECT_EQ(album().title, QStringLiteral("Old Title"));
    EXPECT_EQ(album().trackTitles[2], QStringLiteral("Second"));
    EXPECT_EQ(album().source, int(SourceCdPlayer));
}

TEST_F(SetupStartup, DiscKnownToTheOtherProgramIsFilledFromItsKeys)
{
    Disc disc(home);
    {
        SettingsStore other(AppPaths::settingsFile(), QStringLiteral("Software"));
        const QString key =
            QStringLiteral("GHL Software\\EasyCD\\2.0\\CD Information\\") + disc.identity();
        other.writeString(key, QStringLiteral("cddbID"), disc.albumId().left(8));
        other.writeString(key, QStringLiteral("Artist"), QStringLiteral("Kept Artist"));
        other.writeString(key, QStringLiteral("Title"), QStringLiteral("Kept Title"));
        other.writeString(key, QStringLiteral("Track #2"), QStringLiteral("Deux"));
        ASSERT_TRUE(other.sync());
    }
    startOn(disc.cue);
    ASSERT_TRUE(waitFor([&] { return recognised->size() > 0; }));
    EXPECT_EQ(recognised->first().first().toInt(), int(RecognitionSequence::SecondPlayer));
    EXPECT_EQ(album().artist, QStringLiteral("Kept Artist"));
    EXPECT_EQ(album().trackTitles[1], QStringLiteral("Track 1"));
    EXPECT_EQ(album().trackTitles[2], QStringLiteral("Deux"));
    EXPECT_EQ(album().source, int(SourceOtherCollection));
}

TEST_F(SetupStartup, UnknownDiscGoesOnToTheLocalDatabase)
{
    Disc disc(home);
    const QString folder = home.file(QStringLiteral("cddb/rock"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray id = disc.albumId().left(8).toLower().toLatin1();
    writeFile(folder + QLatin1Char('/') + QString::fromLatin1(id),
              "# xmcd\nDISCID=" + id +
                  "\nDTITLE=Local Artist / Local Title\nTTITLE0=a\n"
                  "TTITLE1=b\nEXTD=\nEXTT0=\nEXTT1=\nPLAYORDER=\n");
    startOn(disc.cue);
    ASSERT_TRUE(waitFor([&] { return recognised->size() > 0; }));
    EXPECT_EQ(recognised->first().first().toInt(), int(RecognitionSequence::LocalCddb));
    EXPECT_EQ(album().title, QStringLiteral("Local Title"));
}
