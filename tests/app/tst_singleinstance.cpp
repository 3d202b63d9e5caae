#include "TestHome.h"

#include "app/InstanceChannel.h"
#include "TestFiles.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace {

QProcessEnvironment playerEnvironment(const TestHome &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORBISONG_HOME"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

// Waits until the first instance's log shows `text`, reading as it goes.
bool waitForLog(QProcess &process, QByteArray &log, const QByteArray &text, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        process.waitForReadyRead(100);
        log += process.readAllStandardError();
        if (log.contains(text))
            return true;
    }
    return false;
}

} // namespace

TEST(SingleInstance, SecondStartHandsOverAndExits)
{
    TestHome home;
    QProcess first;
    first.setProcessEnvironment(playerEnvironment(home));
    first.start(TestHome::program(QStringLiteral("orbisong")), {QStringLiteral("/NODRIVE")});
    ASSERT_TRUE(first.waitForStarted());

    // Wait until the first instance listens; an empty connection asks nothing of it.
    bool listening = false;
    for (int attempt = 0; attempt < 200 && !listening; ++attempt) {
        QLocalSocket probe;
        probe.connectToServer(Orbisong::InstanceChannel::serverName());
        listening = probe.waitForConnected(100);
        if (!listening)
            QThread::msleep(50);
    }
    ASSERT_TRUE(listening);

    QByteArray log;
    QProcess second;
    second.setProcessEnvironment(playerEnvironment(home));
    second.start(TestHome::program(QStringLiteral("orbisong")), {QStringLiteral("/PLAY")});
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(waitForLog(first, log, "PLAY drive=", 5000)) << log.constData();
    EXPECT_TRUE(log.contains("ignored in no-drive mode")) << log.constData();

    // A CD audio track file hands over its track; its first letter names the drive.
    QByteArray trackFile("RIFF\x24\0\0\0CDDAfmt \x18\0\0\0\x01\0\x05\0", 24);
    trackFile += QByteArray(20, '\0');
    writeFile(home.file(QStringLiteral("Track05.cda")), trackFile);
    QProcess third;
    third.setProcessEnvironment(playerEnvironment(home));
    third.setWorkingDirectory(home.path());
    third.start(TestHome::program(QStringLiteral("orbisong")), {QStringLiteral("Track05.cda")});
    ASSERT_TRUE(third.waitForFinished(5000));
    EXPECT_EQ(third.exitCode(), 0);
    EXPECT_TRUE(waitForLog(first, log, "PLAYTRACK drive=T track=5", 5000)) << log.constData();

    first.terminate();
    first.waitForFinished(5000);
}
