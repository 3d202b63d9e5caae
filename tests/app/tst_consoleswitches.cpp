#include "TestHome.h"

#include "app/InstanceChannel.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// The environment of a desktop session without any display: Qt falls back to xcb.
QProcessEnvironment headlessEnvironment(const TestHome &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORBISONG_HOME"), home.path());
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_SOCKET"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return env;
}

struct Outcome
{
    bool finished = false;
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QByteArray out;
    QByteArray err;
};

Outcome run(const QString &name, const QStringList &arguments, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(TestHome::program(name), arguments);
    Outcome outcome;
    outcome.finished = process.waitForFinished(30000);
    outcome.exitCode = process.exitCode();
    outcome.status = process.exitStatus();
    outcome.out = process.readAllStandardOutput();
    outcome.err = process.readAllStandardError();
    return outcome;
}

bool waitForListening()
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        QLocalSocket probe;
        probe.connectToServer(Orbisong::InstanceChannel::serverName());
        if (probe.waitForConnected(100))
            return true;
        QThread::msleep(50);
    }
    return false;
}

} // namespace

TEST(ConsoleSwitches, EveryProgramRefusesPolitelyWithoutDisplay)
{
    TestHome home;
    const QProcessEnvironment env = headlessEnvironment(home);
    for (const QString name :
         {QStringLiteral("orbisong"), QStringLiteral("grabvid"), QStringLiteral("setup")}) {
        const Outcome outcome = run(name, {}, env);
        ASSERT_TRUE(outcome.finished) << qPrintable(name);
        EXPECT_EQ(outcome.status, QProcess::NormalExit) << qPrintable(name);
        EXPECT_EQ(outcome.exitCode, 1) << qPrintable(name);
        EXPECT_EQ(outcome.err, name.toUtf8() + ": no display (set DISPLAY or WAYLAND_DISPLAY)\n");
    }
}

TEST(ConsoleSwitches, HelpAndVersionPrintWithoutDisplayOrHandOver)
{
    TestHome home;
    QProcessEnvironment playerEnv = headlessEnvironment(home);
    playerEnv.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess first;
    first.setProcessEnvironment(playerEnv);
    first.start(TestHome::program(QStringLiteral("orbisong")), {QStringLiteral("/NODRIVE")});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(waitForListening());

    const QProcessEnvironment env = headlessEnvironment(home);
    const Outcome help =
        run(QStringLiteral("orbisong"), {QStringLiteral("--help"), QStringLiteral("/PLAY")}, env);
    ASSERT_TRUE(help.finished);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.err.isEmpty()) << help.err.constData();
    for (const char *item :
         {"/PLAY", "/CLOSE", "/NODRIVE", "/CONVERT", "/NOANIM", "--demo", "image"})
        EXPECT_TRUE(help.out.contains(item)) << item;

    const Outcome version = run(QStringLiteral("orbisong"),
                                {QStringLiteral("/PLAY"), QStringLiteral("--version")}, env);
    ASSERT_TRUE(version.finished);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QByteArray("Orbisong 4.0.3\n"));

    // A plain /PLAY hands over; its line must be the only one the running player received.
    const Outcome play = run(QStringLiteral("orbisong"), {QStringLiteral("/PLAY")}, env);
    ASSERT_TRUE(play.finished);
    EXPECT_EQ(play.exitCode, 0);
    QByteArray log;
    QElapsedTimer waited;
    waited.start();
    while (!log.contains("PLAY drive=") && waited.elapsed() < 10000) {
        first.waitForReadyRead(100);
        log += first.readAllStandardError();
    }
    EXPECT_EQ(log.count("PLAY drive="), 1) << log.constData();
    first.terminate();
    first.waitForFinished(5000);
}
