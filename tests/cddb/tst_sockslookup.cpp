#include "base/ThreadWindow.h"
#include "cddb/CddbApply.h"
#include "cddb/RunningLookups.h"
#include "cddb/TCDDBThread.h"
#include "CddbPeer.h"
#include "ScriptedQuestionPort.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

const QString AlbumId = QStringLiteral("04018E0203A98");

struct Receiver : CddbEntryReceiver
{
    int applied = 0;
    bool applyToAlbum(const QString &, const CddbAlbumFields &) override
    {
        ++applied;
        return true;
    }
};

int freePort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

// Starts dante on a port that was free a moment ago; another process may take it first, and
// then dante reports the failed bind and ends, and the next free port is tried. Returns the
// port once dante reports that it runs, or 0.
int startDante(const QString &danted, const QTemporaryDir &dir, QProcess &dante)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int port = freePort();
        QFile conf(dir.filePath(QStringLiteral("danted.conf")));
        if (!conf.open(QIODevice::WriteOnly))
            return 0;
        conf.write(QStringLiteral("logoutput: stderr\n"
                                  "internal: 127.0.0.1 port = %1\n"
                                  "external: 127.0.0.1\n"
                                  "clientmethod: none\n"
                                  "socksmethod: none\n"
                                  "client pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }\n"
                                  "socks pass { from: 127.0.0.0/8 to: 0.0.0.0/0 protocol: tcp }\n")
                       .arg(port)
                       .toLatin1());
        conf.close();
        dante.setReadChannel(QProcess::StandardError);
        dante.start(danted, {QStringLiteral("-f"), conf.fileName(), QStringLiteral("-p"),
                             dir.filePath(QStringLiteral("danted.pid"))});
        if (!dante.waitForStarted(30000))
            return 0;
        QByteArray log;
        while (!log.contains(" running") && dante.waitForReadyRead(30000))
            log += dante.readAllStandardError();
        if (log.contains(" running"))
            return port;
        dante.waitForFinished(30000);
    }
    return 0;
}

class SocksLookup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_threadWindow.setQuestionPort(&m_port);
        m_peer.addEntry(QStringLiteral("rock"), QStringLiteral("04018e02"),
                        "DISCID=04018e02\nDTITLE=A / B\nTTITLE0=x\nTTITLE1=y\nPLAYORDER=\n");
        ASSERT_TRUE(m_peer.start());
    }

    int run(quint16 proxyPort)
    {
        CddbLookupSettings s;
        s.server = QStringLiteral("127.0.0.1");
        s.port = m_peer.cddbpPort();
        s.proxyHost = QStringLiteral("127.0.0.1");
        s.proxyPort = proxyPort;
        s.proxyUserId = QStringLiteral("tester");
        s.login = QStringLiteral("tester");
        s.hostName = QStringLiteral("here");
        s.idleTimeoutSeconds = 3;
        TCDDBThread *thread = TCDDBThread::StartLookup(m_lookups, s, AlbumId,
                                                       QStringLiteral("04018E02 2 150 15000 400"));
        QSignalSpy finished(thread, &TCDDBThread::lookupFinished);
        EXPECT_TRUE(finished.wait(20000));
        return finished.isEmpty() ? -1 : finished.at(0).at(0).toInt();
    }

    ThreadWindow m_threadWindow;
    Receiver m_receiver;
    ScriptedQuestionPort m_port;
    RunningLookups m_lookups{&m_receiver, &m_threadWindow};
    CddbPeer m_peer;
};

} // namespace

TEST_F(SocksLookup, ThroughDante)
{
    const QString danted = QStandardPaths::findExecutable(
        QStringLiteral("danted"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (danted.isEmpty())
        GTEST_SKIP() << "danted is not installed";
    QTemporaryDir dir;
    QProcess dante;
    const int port = startDante(danted, dir, dante);
    ASSERT_GT(port, 0) << "dante did not start";
    EXPECT_EQ(run(quint16(port)), 0);
    EXPECT_EQ(m_receiver.applied, 1);
    EXPECT_TRUE(m_port.asked().isEmpty());
    EXPECT_TRUE(m_peer.transcript().contains(QStringLiteral("cddb read rock 04018e02")));
    dante.terminate();
    dante.waitForFinished(5000);
}

TEST_F(SocksLookup, RefusalsAndShortRepliesFail)
{
    struct Case
    {
        QStringList args;
        int message;
    };
    const QList<Case> cases{
        {{QStringLiteral("--reply"), QStringLiteral("91")}, 16640},
        {{QStringLiteral("--reply"), QStringLiteral("92")}, 16641},
        {{QStringLiteral("--reply"), QStringLiteral("93")}, 16642},
        {{QStringLiteral("--reply"), QStringLiteral("77")}, 16640},
        {{QStringLiteral("--reply"), QStringLiteral("90"), QStringLiteral("--short")}, 16640},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString transcript = dir.filePath(QStringLiteral("socks.txt"));
        QProcess proxy;
        QList<int> ports;
        ASSERT_TRUE(
            CddbPeer::startPeer(proxy, CddbPeer::peerScript(QStringLiteral("socks4_peer.py")),
                                c.args + QStringList{QStringLiteral("--transcript"), transcript},
                                {QStringLiteral("SOCKS")}, &ports));
        const qsizetype before = m_port.asked().size();
        EXPECT_EQ(run(quint16(ports.at(0))), 2);
        ASSERT_EQ(m_port.asked().size(), before + 1);
        EXPECT_EQ(m_port.asked().last().id, c.message);
        EXPECT_EQ(m_port.asked().last().texts.value(0), QStringLiteral("127.0.0.1"));
        QFile seen(transcript);
        ASSERT_TRUE(seen.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromLatin1(seen.readAll()).trimmed(),
                  QStringLiteral("4 1 127.0.0.1:%1 tester").arg(m_peer.cddbpPort()));
        proxy.closeWriteChannel();
        proxy.waitForFinished(2000);
    }
    EXPECT_EQ(m_receiver.applied, 0);
}
