// The album windows as the running program opens them: from the player's button, for an
// unknown disc, and for entries that lookups find while a wizard is open.

#include "app/AlbumWindows.h"
#include "app/StartupSequence.h"
#include "collection/SettingsSession.h"
#include "playback/DemoDisc.h"
#include "playback/DiscImageWriter.h"
#include "player/PlayerEngine.h"
#include "player/RecognitionSequence.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "TestWindows.h"
#include "ui/album/AlbumTrackPane.h"
#include "ui/album/TAlbumPropertiesForm.h"
#include "ui/album/TAlbumWizard.h"
#include "ui/collection/TCollectionForm.h"
#include "ui/player/TPlayerForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

template <typename Window> Window *visibleWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<Window *>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

template <typename Window> Window *waitForWindow()
{
    QElapsedTimer waited;
    waited.start();
    while (!visibleWindow<Window>() && waited.elapsed() < 30000)
        QTest::qWait(20);
    return visibleWindow<Window>();
}

// The demo disc with its local CDDB entry, rendered once into the build folder and shown to
// the player as its own demo folder.
bool linkDemoFolder(const TestHome &home)
{
    const QString folder = QDir(TestHome::binaryDir()).filePath(QStringLiteral("test-data/demo"));
    QString error;
    if (ensureDemoDisc(folder, &error).isEmpty()) {
        ADD_FAILURE() << error.toStdString();
        return false;
    }
    return QFile::link(folder, home.file(QStringLiteral("demo")));
}

} // namespace

TEST(AlbumWindows, ThePlayerButtonOpensThePropertiesOfTheDemoAlbum)
{
    TestHome home;
    qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true");
    ASSERT_TRUE(linkDemoFolder(home));
    StartupSequence startup({QStringLiteral("--demo")});
    ASSERT_TRUE(startup.start());
    PlayerEngine *engine = startup.player()->engine();
    ASSERT_TRUE(waitFor([&] { return engine->current().album.title == DemoDisc::title(); }));

    auto *button = startup.player()->findChild<QToolButton *>(QStringLiteral("PropertiesButton"));
    ASSERT_NE(button, nullptr);
    button->click();
    auto *form = visibleWindow<TAlbumPropertiesForm>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->albumId(), engine->current().disc.id);
    EXPECT_EQ(form->findChild<QLineEdit *>(QStringLiteral("TitleEdit"))->text(), DemoDisc::title());
    EXPECT_EQ(form->findChild<QComboBox *>(QStringLiteral("ArtistCombo"))->currentText(),
              DemoDisc::artist());
    button->click();
    EXPECT_EQ(visibleWindow<TAlbumPropertiesForm>(), form) << "one window per album";
    saveScreenshot(form, QStringLiteral("album-properties.png"));

    // Edits of the album in the drive reach the player at once.
    auto *title = form->findChild<QLineEdit *>(QStringLiteral("TitleEdit"));
    title->selectAll();
    QTest::keyClicks(title, QStringLiteral("Renamed Demo"));
    form->okButton()->click();
    EXPECT_EQ(engine->current().album.title, "Renamed Demo");
}

TEST(AlbumWindows, AnUnknownDiscOpensTheWizardWhoseFinishEndsTheRecognition)
{
    TestHome home;
    qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true");
    DiscImageWriter writer;
    writer.addSilentTrack(75 * 20);
    writer.addSilentTrack(75 * 30);
    writer.addSilentTrack(75 * 25);
    const QString cue = home.file(QStringLiteral("disc.cue"));
    ASSERT_TRUE(writer.write(cue));

    StartupSequence startup({cue});
    ASSERT_TRUE(startup.start());
    QSignalSpy recognised(startup.player(), &TPlayerForm::recognised);
    auto *wizard = waitForWindow<TAlbumWizard>();
    ASSERT_NE(wizard, nullptr);
    PlayerEngine *engine = startup.player()->engine();
    EXPECT_EQ(wizard->albumId(), engine->current().disc.id);
    EXPECT_EQ(wizard->draft().tracks.size(), 3);
    EXPECT_EQ(wizard->windowTitle(), "Add New Album - Step 1 of 5");
    saveScreenshot(wizard, QStringLiteral("album-wizard.png"));

    wizard->nextButton()->click();
    QTest::keyClicks(wizard->findChild<QLineEdit *>(QStringLiteral("TitleEdit")), "My Disc");
    for (int i = 0; i < 3; ++i)
        wizard->nextButton()->click();
    EXPECT_EQ(wizard->currentPane(), wizard->confirmPane());
    wizard->finishButton()->click();
    EXPECT_EQ(engine->current().album.title, "My Disc");
    ASSERT_TRUE(recognised.wait(5000));
    EXPECT_EQ(recognised.at(0).at(0).toInt(), int(RecognitionSequence::AlbumWizard));
}

TEST(AlbumWindows, EntriesFoundWhileAWizardIsOpenGoToTheWizard)
{
    TestHome home;
    const QString database = home.file(QStringLiteral("cddb"));
    writeFile(database + QStringLiteral("/jazz/0a1b2c02"),
              "# xmcd\nDISCID=0a1b2c02\nDTITLE=Wizard Artist / Wizard Album\nTTITLE0=a\n"
              "TTITLE1=b\nPLAYORDER=\n");
    {
        SettingsSession session;
        session.settings().cddbLocalPath = database;
        ASSERT_TRUE(session.save());
    }
    StartupSequence startup({QStringLiteral("/NODRIVE")});
    ASSERT_TRUE(startup.start());
    TAlbumWizard *wizard = startup.albumWindows()->showWizard(QStringLiteral("0a1b2c0212345"));
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(startup.albumWindows()->showWizard(QStringLiteral("0A1B2C0212345")), wizard);
    auto *local = wizard->findChild<QPushButton *>(QStringLiteral("LocalLookupButton"));
    ASSERT_TRUE(local->isEnabled());
    local->click();
    ASSERT_TRUE(waitFor([&] { return wizard->currentPane() == wizard->confirmPane(); }));
    EXPECT_EQ(wizard->draft().title, "Wizard Album");
    EXPECT_EQ(wizard->draft().category, "Jazz");
    EXPECT_FALSE(wizard->submitCheck()->isEnabled());
    wizard->cancelButton()->click();
    EXPECT_TRUE(waitFor([&] {
        return startup.albumWindows()->registry().count(AlbumWindowRegistry::Wizard) == 0;
    }));
    EXPECT_EQ(startup.albumWindows()->showProperties(QStringLiteral("0A1B2C0212345")), nullptr)
        << "an album the collection does not know has no properties";
}

// The menu bar's and the tray menu's entries open the same windows as the buttons.
TEST(AlbumWindows, MenuAndTrayEntriesOpenTheCollectionAndThePropertiesWindows)
{
    TestHome home;
    qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true");
    ASSERT_TRUE(linkDemoFolder(home));
    StartupSequence startup({QStringLiteral("--demo")});
    ASSERT_TRUE(startup.start());
    PlayerEngine *engine = startup.player()->engine();
    ASSERT_TRUE(waitFor([&] { return engine->current().album.title == DemoDisc::title(); }));

    const auto trigger = [](const QList<QAction *> &actions, const QString &text) {
        for (QAction *action : actions) {
            if (action->text() == text) {
                action->trigger();
                return true;
            }
        }
        return false;
    };
    QList<QAction *> fileMenu;
    for (QAction *top : startup.player()->menuBar()->actions()) {
        if (top->menu())
            fileMenu += top->menu()->actions();
    }
    auto *tray = startup.player()->findChild<QMenu *>(QStringLiteral("TrayPopup"));
    ASSERT_NE(tray, nullptr);
    emit tray->aboutToShow();

    for (const QList<QAction *> &menu : {fileMenu, tray->actions()}) {
        ASSERT_TRUE(trigger(menu, QStringLiteral("&Album Properties")));
        TAlbumPropertiesForm *form = visibleWindow<TAlbumPropertiesForm>();
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->albumId(), engine->current().disc.id);
        form->close();
        QCoreApplication::processEvents();

        ASSERT_TRUE(trigger(menu, QStringLiteral("&Collection")));
        TCollectionForm *collection = visibleWindow<TCollectionForm>();
        ASSERT_NE(collection, nullptr);
        collection->close();
        QCoreApplication::processEvents();
    }
}
