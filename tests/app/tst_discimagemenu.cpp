// A first start without a CD drive: the window says what to do, and a disc image opened from
// the File menu becomes a drive the player switches to.

#include "app/StartupSequence.h"
#include "collection/SettingsSession.h"
#include "playback/DiscImageWriter.h"
#include "player/PlayerEngine.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "ui/player/TPlayerForm.h"
#include "ui/player/TPlaylistList.h"
#include "ui/player/TQuestionForm.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QString screenshotPath(const QString &name)
{
    const QString out = QDir(TestHome::binaryDir()).filePath(QStringLiteral("screenshots"));
    QDir().mkpath(out);
    return QDir(out).filePath(name);
}

QAction *openImageAction(TPlayerForm *player)
{
    return player->findChild<QAction *>(QStringLiteral("OpenImageAction"));
}

QStringList recentImageEntries(TPlayerForm *player)
{
    auto *menu = player->findChild<QMenu *>(QStringLiteral("RecentImagesMenu"));
    if (!menu)
        return {};
    emit menu->aboutToShow();
    QStringList texts;
    for (QAction *action : menu->actions()) {
        if (action->isEnabled())
            texts.append(action->text());
    }
    return texts;
}

bool waitFor(TPlayerForm *player, const std::function<bool()> &done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 10000) {
        player->driveTick();
        QTest::qWait(50);
    }
    return done();
}

QString writeImage(const TestHome &home, const QString &name, int tracks)
{
    DiscImageWriter writer;
    for (int i = 0; i < tracks; ++i)
        writer.addSilentTrack(75 * (10 + i));
    const QString cue = home.file(name);
    EXPECT_TRUE(writer.write(cue));
    return cue;
}

} // namespace

TEST(DiscImageMenu, NoDriveHintThenAnImageFromTheFileMenu)
{
    TestHome home;
    qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true");
    const QString cue = writeImage(home, QStringLiteral("first.cue"), 3);
    {
        StartupSequence startup({});
        ASSERT_TRUE(startup.start());
        TPlayerForm *player = startup.player();
        PlayerEngine *engine = player->engine();
        ASSERT_NE(engine, nullptr);
        ASSERT_TRUE(engine->noDrive());
        auto *hint = player->findChild<QLabel *>(QStringLiteral("NoDriveHint"));
        ASSERT_NE(hint, nullptr);
        EXPECT_TRUE(hint->isVisible());
        EXPECT_TRUE(hint->text().contains(QStringLiteral("File &gt; Open Disc Image...")));
        EXPECT_TRUE(hint->text().contains(QStringLiteral("orbisong --demo")));
        EXPECT_FALSE(player->playlistList()->isVisible());
        EXPECT_TRUE(recentImageEntries(player).isEmpty());
        QTest::qWait(100);
        EXPECT_TRUE(player->grab().save(screenshotPath(QStringLiteral("player-no-drive.png"))));

        QAction *open = openImageAction(player);
        ASSERT_NE(open, nullptr);
        EXPECT_EQ(open->text(), QStringLiteral("Open Disc &Image..."));
        // Cancelling the dialog changes nothing.
        player->setImageChooser([](QWidget *) { return QString(); });
        open->trigger();
        EXPECT_TRUE(engine->noDrive());

        player->setImageChooser([cue](QWidget *) { return cue; });
        open->trigger();
        ASSERT_TRUE(waitFor(player, [&] { return engine->audioPresent(); }));
        EXPECT_FALSE(engine->noDrive());
        EXPECT_EQ(player->playlistList()->count(), 3);
        EXPECT_TRUE(player->playlistList()->isVisible());
        EXPECT_FALSE(hint->isVisible());
        EXPECT_EQ(recentImageEntries(player), QStringList{QDir::toNativeSeparators(cue)});
        EXPECT_TRUE(player->grab().save(screenshotPath(QStringLiteral("player-image.png"))));

        // A second image is a second drive, and the player switches to it.
        const QChar first = engine->currentDrive();
        const QString other = writeImage(home, QStringLiteral("second & more.cue"), 2);
        player->setImageChooser([other](QWidget *) { return other; });
        open->trigger();
        ASSERT_TRUE(waitFor(player, [&] {
            return engine->currentDrive() != first && player->playlistList()->count() == 2;
        }));
        EXPECT_EQ(engine->driveLetters().size(), 2);
        const QStringList recent = recentImageEntries(player);
        ASSERT_EQ(recent.size(), 2);
        // The ampersand is doubled so that it shows instead of marking a shortcut key.
        EXPECT_TRUE(recent.first().endsWith(QStringLiteral("second && more.cue")));

        // The recent entry of the first image switches back to its drive.
        auto *menu = player->findChild<QMenu *>(QStringLiteral("RecentImagesMenu"));
        menu->actions().at(1)->trigger();
        ASSERT_TRUE(waitFor(player, [&] { return engine->currentDrive() == first; }));
        EXPECT_EQ(engine->driveLetters().size(), 2);
        player->close();
    }
    // The list survives the session, the latest image first.
    SettingsSession reread;
    ASSERT_EQ(reread.settings().recentImages.size(), 2);
    EXPECT_EQ(reread.settings().recentImages.first(), QFileInfo(cue).absoluteFilePath());
}

TEST(DiscImageMenu, ADamagedImageIsReportedInThePlayersWords)
{
    TestHome home;
    const QString cue = home.file(QStringLiteral("damaged.cue"));
    writeFile(cue, "FILE \"missing.bin\" BINARY\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n");

    QString title;
    QString body;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto *box = qobject_cast<TQuestionForm *>(QApplication::activeModalWidget());
        if (!box || !title.isEmpty())
            return;
        title = box->message().title;
        body = box->message().body;
        box->grab().save(screenshotPath(QStringLiteral("player-image-failed.png")));
        box->reject();
    });
    watcher.start(20);

    StartupSequence startup({});
    ASSERT_TRUE(startup.start());
    TPlayerForm *player = startup.player();
    player->setImageChooser([cue](QWidget *) { return cue; });
    openImageAction(player)->trigger();
    EXPECT_EQ(title, QStringLiteral("Unable to open the CD-ROM drive."));
    EXPECT_TRUE(body.startsWith(QStringLiteral("An error occurred while attempting to open "
                                               "CD-ROM drive '")))
        << qPrintable(body);
    EXPECT_GT(body.count(QLatin1Char('\n')), 0) << qPrintable(body);
    EXPECT_TRUE(player->engine()->noDrive() || !player->engine()->audioPresent());
    // An image that did not open is not offered again.
    EXPECT_TRUE(recentImageEntries(player).isEmpty());
    player->close();
}
