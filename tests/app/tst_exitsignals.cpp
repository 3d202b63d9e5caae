#include "TestHome.h"

#include "app/ExitSignals.h"
#include "playback/DemoDisc.h"
#include "TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>

#include <csignal>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// The demo disc with its local CDDB entry, rendered once into the build folder and shown to
// the player as its own demo folder.
QString linkDemoFolder(const TestHome &home)
{
    const QString folder = QDir(TestHome::binaryDir()).filePath(QStringLiteral("test-data/demo"));
    QString error;
    if (ensureDemoDisc(folder, &error).isEmpty()) {
        ADD_FAILURE() << error.toStdString();
        return {};
    }
    const QString link = home.file(QStringLiteral("demo"));
    EXPECT_TRUE(QFile::link(folder, link));
    return link;
}

QProcessEnvironment playerEnvironment(const TestHome &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORBISONG_HOME"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ORBISONG_AUDIO_SINK"), QStringLiteral("fakesink sync=true"));
    env.remove(QStringLiteral("ORBISONG_STARTUP_PROBE"));
    return env;
}

QByteArray collectionText(const TestHome &home)
{
    const QStringList files = QDir(home.path()).entryList({QStringLiteral("*.obc")}, QDir::Files);
    return files.isEmpty() ? QByteArray() : readFile(home.file(files.first()));
}

// Waits (reading the player's output as it goes) until the collection file holds `text`.
bool waitForCollection(QProcess &player, const TestHome &home, const QByteArray &text)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 30000 && player.state() == QProcess::Running) {
        if (collectionText(home).contains(text))
            return true;
        player.waitForReadyRead(100);
        player.readAll();
    }
    return collectionText(home).contains(text);
}

} // namespace

TEST(ExitSignals, EachSignalBecomesARequest)
{
    ExitSignals watcher;
    QSignalSpy requests(&watcher, &ExitSignals::exitRequested);
    for (int number : {SIGTERM, SIGINT, SIGHUP}) {
        requests.clear();
        ASSERT_EQ(::raise(number), 0);
        ASSERT_TRUE(requests.wait(5000));
        EXPECT_EQ(requests.first().first().toInt(), number);
    }
}

// A session that ends the player with SIGTERM keeps the recognised disc: its album is stored
// whole as an audio CD, and the next start shows it with its title.
TEST(ExitSignals, TerminatedPlayerKeepsTheRecognisedDisc)
{
    TestHome home;
    ASSERT_FALSE(linkDemoFolder(home).isEmpty());
    const QString program = TestHome::program(QStringLiteral("orbisong"));

    QProcess first;
    first.setProcessEnvironment(playerEnvironment(home));
    first.setProcessChannelMode(QProcess::MergedChannels);
    first.start(program, {QStringLiteral("--demo")});
    ASSERT_TRUE(first.waitForStarted());
    const QByteArray title = "TL=" + DemoDisc::title().toUtf8();
    ASSERT_TRUE(waitForCollection(first, home, title)) << collectionText(home).constData();

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0) << first.readAll().constData();
    const QByteArray stored = collectionText(home);
    EXPECT_TRUE(stored.contains(" [Media]\r\n  MD=65537\r\n")) << stored.constData();
    EXPECT_TRUE(stored.contains("  NW=0\r\n")) << "the whole album, not only the lookup's fields";
    EXPECT_TRUE(readFile(home.file(QStringLiteral("orbisong.ini"))).contains("Collection%20Path"))
        << "the settings were saved";

    QProcess second;
    QProcessEnvironment env = playerEnvironment(home);
    env.insert(QStringLiteral("ORBISONG_STARTUP_PROBE"), QStringLiteral("disc"));
    second.setProcessEnvironment(env);
    second.start(program, {QStringLiteral("--demo")});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 0);
    const QByteArray shown = second.readAllStandardOutput();
    const QByteArray expected =
        "kind 65537 " + (DemoDisc::artist() + QStringLiteral(" / ") + DemoDisc::title()).toUtf8();
    EXPECT_TRUE(shown.startsWith("disc ")) << shown.constData();
    EXPECT_TRUE(shown.contains(expected)) << shown.constData();
}
