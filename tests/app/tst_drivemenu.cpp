// The drive button's right-click menu: "&Open" and "&Explore" show the disc's folder (an
// image's folder, a drive's mount point) through the desktop's URL handler.

#include "app/DesktopIntegration.h"
#include "app/StartupSequence.h"
#include "playback/DiscImageWriter.h"
#include "player/PlayerEngine.h"
#include "TestHome.h"
#include "ui/player/TPlayerForm.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    UrlRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

QToolButton *driveButton(TPlayerForm *player)
{
    for (QToolButton *button : player->findChildren<QToolButton *>()) {
        if (button->menu() && button->menu()->objectName() == QStringLiteral("DrivePopup"))
            return button;
    }
    return nullptr;
}

// The menu a right click on the drive button opened; none when it did not open.
QMenu *rightClick(TPlayerForm *player)
{
    QToolButton *button = driveButton(player);
    auto *menu = player->findChild<QMenu *>(QStringLiteral("DriveContextMenu"));
    if (!button || !menu)
        return nullptr;
    // The popup itself may close at once when the busy machine activates a window late, so
    // its showing is what counts.
    QSignalSpy shown(menu, &QMenu::aboutToShow);
    emit button->customContextMenuRequested(QPoint(4, 4));
    return shown.count() == 1 ? menu : nullptr;
}

} // namespace

TEST(DriveMenu, OpenAndExploreShowTheImagesFolder)
{
    TestHome home;
    qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true");
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("My Discs")));
    DiscImageWriter writer;
    writer.addSilentTrack(75 * 20);
    const QString cue = home.file(QStringLiteral("My Discs/disc.cue"));
    ASSERT_TRUE(writer.write(cue));
    UrlRecorder recorder;
    StartupSequence startup({cue});
    ASSERT_TRUE(startup.start());
    TPlayerForm *player = startup.player();
    QElapsedTimer waited;
    waited.start();
    while (!player->engine()->audioPresent() && waited.elapsed() < 15000)
        QTest::qWait(20);

    QMenu *menu = rightClick(player);
    ASSERT_NE(menu, nullptr);
    const QList<QAction *> actions = menu->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions.at(0)->text(), QStringLiteral("&Open"));
    EXPECT_EQ(actions.at(1)->text(), QStringLiteral("&Explore"));
    EXPECT_TRUE(actions.at(0)->isEnabled());
    EXPECT_TRUE(actions.at(1)->isEnabled());

    QImage shot = player->grab().toImage();
    {
        QPainter painter(&shot);
        // The menu drawn below the button, which stays in sight.
        QToolButton *button = driveButton(player);
        painter.drawPixmap(button->mapTo(player, QPoint(button->width() / 2, button->height())),
                           menu->grab());
    }
    const QString out = QDir(TestHome::binaryDir()).filePath(QStringLiteral("screenshots"));
    QDir().mkpath(out);
    EXPECT_TRUE(shot.save(QDir(out).filePath(QStringLiteral("drive-menu.png"))));
    menu->hide();

    const QUrl folder = QUrl::fromLocalFile(home.file(QStringLiteral("My Discs")));
    actions.at(0)->trigger();
    actions.at(1)->trigger();
    ASSERT_EQ(recorder.urls.size(), 2);
    EXPECT_EQ(recorder.urls.at(0), folder);
    EXPECT_EQ(recorder.urls.at(1), folder);
}

TEST(DriveMenu, WithoutADriveBothItemsAreDisabled)
{
    TestHome home;
    StartupSequence startup({QStringLiteral("/NODRIVE")});
    ASSERT_TRUE(startup.start());
    QMenu *menu = rightClick(startup.player());
    ASSERT_NE(menu, nullptr);
    for (const QAction *action : menu->actions())
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    menu->hide();
}

TEST(DriveMenu, ADrivesFolderIsItsMountPoint)
{
    const QStorageInfo root = QStorageInfo::root();
    EXPECT_EQ(DesktopIntegration::driveFolder(QString::fromLocal8Bit(root.device())),
              root.rootPath());
    EXPECT_EQ(DesktopIntegration::driveFolder(QStringLiteral("/dev/no-such-drive")), QString());
}

#include "tst_drivemenu.moc"
