// The player as an MPRIS media player on a private session bus, driven by playerctl with the
// demo disc: each command changes the player's state and reads back what the window shows.

#include "app/DesktopIntegration.h"
#include "app/RecognitionExtras.h"
#include "app/StartupSequence.h"
#include "player/mpris/MprisService.h"
#include "playback/DemoDisc.h"
#include "player/PlayerEngine.h"
#include "TestHome.h"
#include "TestWindows.h"
#include "ui/player/TPlayerForm.h"
#include "ui/player/TPlaylistList.h"

#include <QAbstractButton>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// A session bus of the test's own, named to the process before Qt first connects to one.
class PrivateBus
{
public:
    bool start()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address")});
        if (!m_daemon.waitForStarted() || !m_daemon.waitForReadyRead(10000))
            return false;
        const QByteArray address = m_daemon.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        return !address.isEmpty();
    }
    ~PrivateBus()
    {
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

private:
    QProcess m_daemon;
};

// playerctl run while the player keeps answering: the event loop turns until it ends.
QString playerctl(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("playerctl"),
                  QStringList{QStringLiteral("-p"), QStringLiteral("orbisong")} + arguments);
    if (!process.waitForStarted())
        return QStringLiteral("<playerctl did not start>");
    waitFor([&] { return process.state() == QProcess::NotRunning; });
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// PropertiesChanged signals of the player interface as they reach the bus's listeners.
class ChangeListener : public QObject
{
    Q_OBJECT

public:
    QList<QVariantMap> changes;

public slots:
    void changed(const QString &, const QVariantMap &properties, const QStringList &)
    {
        changes.append(properties);
    }
};

QString currentRowText(TPlayerForm *player)
{
    const QListWidgetItem *item = player->playlistList()->currentItem();
    return item ? item->text() : QString();
}

} // namespace

TEST(Mpris, PlayerctlDrivesThePlayerAndReadsWhatTheWindowShows)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.start());
    TestHome home;
    qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true");
    ASSERT_FALSE(DemoDisc::ensure(QDir(home.path()).filePath(QStringLiteral("demo"))).isEmpty());

    StartupSequence startup({QStringLiteral("--demo")});
    ASSERT_TRUE(startup.start());
    ASSERT_FALSE(startup.desktop()->mpris()->serviceName().isEmpty());
    TPlayerForm *player = startup.player();
    PlayerEngine *engine = player->engine();
    ASSERT_TRUE(waitFor([&] { return engine->current().album.title == DemoDisc::title(); }));
    const QStringList titles = DemoDisc::trackTitles();
    ASSERT_GE(titles.size(), 2);

    EXPECT_EQ(playerctl({QStringLiteral("status")}), QStringLiteral("Stopped"));
    playerctl({QStringLiteral("play")});
    EXPECT_TRUE(engine->playing());
    EXPECT_EQ(playerctl({QStringLiteral("status")}), QStringLiteral("Playing"));

    const QString format =
        QStringLiteral("{{xesam:title}}|{{xesam:album}}|{{xesam:artist}}|{{xesam:trackNumber}}");
    EXPECT_EQ(
        playerctl({QStringLiteral("metadata"), QStringLiteral("--format"), format}),
        QStringLiteral("%1|%2|%3|1").arg(titles.at(0), DemoDisc::title(), DemoDisc::artist()));
    EXPECT_TRUE(currentRowText(player).contains(titles.at(0)));
    const qint64 length =
        playerctl({QStringLiteral("metadata"), QStringLiteral("mpris:length")}).toLongLong();
    EXPECT_EQ(length, qint64(engine->list().at(0).length()) * 1000000 / 75);

    playerctl({QStringLiteral("next")});
    EXPECT_EQ(engine->currentIndex(), 1);
    EXPECT_EQ(playerctl({QStringLiteral("metadata"), QStringLiteral("title")}), titles.at(1));
    EXPECT_TRUE(currentRowText(player).contains(titles.at(1)));

    // Paused, the position stays where it was put, so it reads back exactly.
    playerctl({QStringLiteral("pause")});
    EXPECT_EQ(playerctl({QStringLiteral("status")}), QStringLiteral("Paused"));
    playerctl({QStringLiteral("position"), QStringLiteral("5")});
    EXPECT_EQ(engine->position() - engine->list().at(1).start, 5 * 75);
    EXPECT_DOUBLE_EQ(playerctl({QStringLiteral("position")}).toDouble(), 5.0);
    const auto *time = player->findChild<QAbstractButton *>(QStringLiteral("TimeButton"));
    EXPECT_TRUE(time->text().contains(QStringLiteral("00:05"))) << time->text().toStdString();

    playerctl({QStringLiteral("volume"), QStringLiteral("0.5")});
    EXPECT_EQ(player->findChild<QSlider *>(QStringLiteral("VolumeTrack"))->value(), 32768);
    EXPECT_EQ(engine->volume(), 32768);
    EXPECT_NEAR(playerctl({QStringLiteral("volume")}).toDouble(), 0.5, 0.001);

    // Inside a step, "previous" goes back to its start first, as the player's button does.
    playerctl({QStringLiteral("previous")});
    EXPECT_EQ(engine->currentIndex(), 1);
    EXPECT_EQ(playerctl({QStringLiteral("position")}).toDouble(), 0.0);
    playerctl({QStringLiteral("previous")});
    EXPECT_EQ(engine->currentIndex(), 0);
    EXPECT_EQ(playerctl({QStringLiteral("metadata"), QStringLiteral("title")}), titles.at(0));
    playerctl({QStringLiteral("stop")});
    EXPECT_FALSE(engine->playing());
    EXPECT_EQ(playerctl({QStringLiteral("status")}), QStringLiteral("Stopped"));

    // A cover that arrives later (here dropped on the album area) is announced, so panel
    // widgets show it without waiting for the next track.
    ChangeListener listener;
    ASSERT_TRUE(QDBusConnection::sessionBus().connect(
        QString(), QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
        &listener, SLOT(changed(QString, QVariantMap, QStringList))));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString dropped = home.file(QStringLiteral("cover.png"));
    ASSERT_TRUE(picture.save(dropped));
    ASSERT_TRUE(startup.recognitionExtras()->takeDroppedPicture(dropped));
    auto announcedCover = [&] {
        for (const QVariantMap &change : std::as_const(listener.changes)) {
            const auto metadata =
                qdbus_cast<QVariantMap>(change.value(QStringLiteral("Metadata")));
            if (metadata.value(QStringLiteral("mpris:artUrl")).toString().startsWith("file:"))
                return true;
        }
        return false;
    };
    EXPECT_TRUE(waitFor(announcedCover));

    QDBusInterface root(startup.desktop()->mpris()->serviceName(),
                        QStringLiteral("/org/mpris/MediaPlayer2"),
                        QStringLiteral("org.mpris.MediaPlayer2"));
    EXPECT_EQ(root.property("Identity").toString(), QStringLiteral("Orbisong"));
    EXPECT_EQ(root.property("DesktopEntry").toString(), QStringLiteral("orbisong"));
    ASSERT_TRUE(player->isVisible());
    root.asyncCall(QStringLiteral("Quit"));
    EXPECT_TRUE(waitFor([&] { return !player->isVisible(); }));
}

TEST(Mpris, WithoutASessionBusThePlayerStartsAsBefore)
{
    TestHome home;
    qputenv("DBUS_SESSION_BUS_ADDRESS",
            QFile::encodeName(QStringLiteral("unix:path=") + home.file(QStringLiteral("none"))));
    qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true");
    StartupSequence startup({});
    ASSERT_TRUE(startup.start());
    EXPECT_TRUE(startup.player()->isVisible());
    EXPECT_TRUE(startup.desktop()->mpris()->serviceName().isEmpty());
}

#include "tst_mpris.moc"
