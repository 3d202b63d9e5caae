#include "base/ThreadWindow.h"
#include "cddb/CddbApply.h"
#include "cddb/RunningLookups.h"
#include "cddb/TCDDBThread.h"
#include "cddb/THTTPCDDBThread.h"
#include "CddbPeer.h"
#include "collection/Settings.h"
#include "ScriptedQuestionPort.h"
#include "TestHome.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSslConfiguration>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <gtest/gtest.h>

#include <functional>

using namespace Orbisong;

namespace {

const QString AlbumId = QStringLiteral("04018E0203A98");
const QString Query = QStringLiteral("04018E02 2 150 15000 400");

// Runs `action` when the first queued call reaches the watched object, before it is delivered.
class OnFirstCall : public QObject
{
public:
    explicit OnFirstCall(std::function<void()> action) : m_action(std::move(action)) {}

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MetaCall && !seen) {
            seen = true;
            m_action();
        }
        return false;
    }

    bool seen = false;

private:
    std::function<void()> m_action;
};

QByteArray entryText()
{
    return "# xmcd CD database file\n# Revision: 3\nDISCID=04018e02\n"
           "DTITLE=Test Artist / Test Album\nTTITLE0=first\nTTITLE1=second\nEXTD=\n"
           "EXTT0=\nEXTT1=\nPLAYORDER=\n";
}

struct Receiver : CddbEntryReceiver
{
    QList<CddbAlbumFields> applied;
    bool applyToAlbum(const QString &albumId, const CddbAlbumFields &fields) override
    {
        if (albumId != AlbumId)
            return false;
        applied.append(fields);
        return true;
    }
};

struct Windows : ThreadRequestHandler
{
    QStringList greetings;
    QStringList offered;
    int choice = 0; // index of the match to pick, -1 cancels
    QString forcedCategory;

    void showGreeting(const QString &greeting) override { greetings.append(greeting); }
    bool chooseMatch(const QString &candidates, QString *category, QString *discId) override
    {
        offered.append(candidates);
        QStringList lines = candidates.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        lines = lines.mid(1, lines.size() - 2);
        if (choice < 0 || choice >= lines.size())
            return false;
        const QStringList words = lines.at(choice).split(QLatin1Char(' '));
        *category = forcedCategory.isEmpty() ? words.value(0) : forcedCategory;
        *discId = words.value(1);
        return true;
    }
};

class RemoteLookup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_threadWindow.setHandler(&m_windows);
        m_threadWindow.setQuestionPort(&m_port);
        m_peer.addEntry(QStringLiteral("rock"), QStringLiteral("04018e02"), entryText());
    }

    CddbLookupSettings settings(bool http)
    {
        CddbLookupSettings s;
        s.protocol = http ? QStringLiteral("HTTP") : QStringLiteral("CDDBP");
        s.server = http ? QStringLiteral("127.0.0.1/~cddb/cddb.cgi") : QStringLiteral("127.0.0.1");
        s.port = http ? m_peer.httpPort() : m_peer.cddbpPort();
        s.login = QStringLiteral("tester");
        s.hostName = QStringLiteral("my-host");
        s.idleTimeoutSeconds = 2;
        return s;
    }

    int run(const CddbLookupSettings &s, const std::function<void(TCDDBThread *)> &during = {})
    {
        TCDDBThread *thread = TCDDBThread::StartLookup(m_lookups, s, AlbumId, Query);
        QSignalSpy finished(thread, &TCDDBThread::lookupFinished);
        QSignalSpy status(thread, &TCDDBThread::statusChanged);
        if (during)
            during(thread);
        EXPECT_TRUE(finished.wait(20000));
        for (const auto &args : status)
            m_statusTexts.append(args.at(0).toString());
        return finished.isEmpty() ? -1 : finished.at(0).at(0).toInt();
    }

    QList<int> askedIds() const
    {
        QList<int> ids;
        for (const auto &a : m_port.asked())
            ids.append(a.id);
        return ids;
    }

    ThreadWindow m_threadWindow;
    Windows m_windows;
    Receiver m_receiver;
    ScriptedQuestionPort m_port;
    RunningLookups m_lookups{&m_receiver, &m_threadWindow};
    CddbPeer m_peer;
    QStringList m_statusTexts;
};

} // namespace

TEST(CddbProtocol, FormEncodingAndCompletion)
{
    EXPECT_EQ(TCDDBThread::encodeFormValue(QStringLiteral("a b-c.D9")), QByteArray("a+b%2Dc%2ED9"));
    EXPECT_FALSE(TCDDBThread::responseComplete("210 rock x\r\nDISCID=1\r\n"));
    EXPECT_TRUE(TCDDBThread::responseComplete("210 rock x\r\nDISCID=1\r\n.\r\n"));
    EXPECT_TRUE(TCDDBThread::responseComplete("210 rock x\nDISCID=1\n.\n"));
    EXPECT_TRUE(TCDDBThread::responseComplete("200 ok\n"));
    EXPECT_FALSE(TCDDBThread::responseComplete("200 ok"));
    EXPECT_EQ(TCDDBThread::responseStatus("xyz"), 0);
    EXPECT_EQ(TCDDBThread::statusText(1, QStringLiteral("h")), QStringLiteral("Finding h"));
    EXPECT_EQ(TCDDBThread::decodeResponse("caf\xc3\xa9"), QStringLiteral("caf\u00e9"));
    EXPECT_EQ(TCDDBThread::decodeResponse("caf\xe9 \x80"), QStringLiteral("caf\u00e9 \u20ac"));
    // An exact match's status line names category and disc id however the server spaces it.
    EXPECT_EQ(TCDDBThread::word(QStringLiteral("200  rock 04018e02 A / B"), 1), "rock");
    EXPECT_EQ(TCDDBThread::word(QStringLiteral(" 200 rock   04018e02"), 2), "04018e02");
    EXPECT_EQ(TCDDBThread::word(QStringLiteral("200 rock"), 2), QString());
}

TEST(CddbProtocol, SettingsDefaultsAndProxy)
{
    Settings settings;
    settings.cddbServer = QStringLiteral(" cddb.example/~cddb/cddb.cgi ");
    settings.cddbPort = QStringLiteral("x");
    settings.cddbProtocol = QStringLiteral("http");
    settings.cddbProxyServer = QStringLiteral("proxy");
    settings.cddbProxyPort = QStringLiteral("bad");
    CddbLookupSettings s = CddbLookupSettings::fromSettings(settings);
    EXPECT_TRUE(s.usesHttp());
    EXPECT_EQ(s.port, 80);
    EXPECT_EQ(s.host(), QStringLiteral("cddb.example"));
    EXPECT_EQ(s.path(), QStringLiteral("/~cddb/cddb.cgi"));
    EXPECT_TRUE(s.proxyHost.isEmpty());
    settings.SetOptionFlag(_GLOB_OPTION_USEPROXY, true);
    settings.cddbProtocol = QStringLiteral("CDDBP");
    s = CddbLookupSettings::fromSettings(settings);
    EXPECT_FALSE(s.usesHttp());
    EXPECT_EQ(s.port, 888);
    EXPECT_EQ(s.proxyHost, QStringLiteral("proxy"));
    EXPECT_EQ(s.proxyPort, 1080);
    EXPECT_FALSE(s.login.isEmpty());
    EXPECT_FALSE(s.hostName.isEmpty());
    settings.cddbServer = QStringLiteral("https://secure.example:8443/cgi");
    EXPECT_TRUE(CddbLookupSettings::fromSettings(settings).usesHttps());
}

TEST_F(RemoteLookup, CddbpExactMatchIsAppliedAndWelcomeShown)
{
    ASSERT_TRUE(m_peer.start());
    EXPECT_EQ(run(settings(false)), 0);
    ASSERT_EQ(m_receiver.applied.size(), 1);
    const CddbAlbumFields &f = m_receiver.applied.at(0);
    EXPECT_EQ(f.artist, QStringLiteral("Test Artist"));
    EXPECT_EQ(f.category, QStringLiteral("Rock"));
    EXPECT_EQ(f.revision, 4);
    EXPECT_EQ(f.source, 3);
    EXPECT_EQ(f.trackTitles, QStringLiteral("First\rSecond"));
    ASSERT_EQ(m_windows.greetings.size(), 1);
    EXPECT_TRUE(m_windows.greetings.at(0).startsWith(QStringLiteral("210 Last modified")));
    EXPECT_TRUE(m_port.asked().isEmpty());
    const QStringList t = m_peer.transcript();
    EXPECT_EQ(t, (QStringList{QStringLiteral("CONNECT cddbp"),
                              QStringLiteral("cddb hello tester my-host Orbisong 4.0.3"),
                              QStringLiteral("motd"), QStringLiteral("cddb query ") + Query,
                              QStringLiteral("cddb read rock 04018e02"), QStringLiteral("quit")}));
    EXPECT_TRUE(m_statusTexts.contains(QStringLiteral("Finding 127.0.0.1")));
    EXPECT_TRUE(m_statusTexts.contains(QStringLiteral("Searching")));
    EXPECT_TRUE(m_statusTexts.contains(QStringLiteral("Loading")));
    EXPECT_EQ(m_statusTexts.last(), QString());
    EXPECT_EQ(m_lookups.count(), 0);
}

TEST_F(RemoteLookup, CddbpReadOnlyGreetingAndLfLineEnds)
{
    ASSERT_TRUE(m_peer.start({QStringLiteral("--greeting"), QStringLiteral("201"),
                              QStringLiteral("--fault"), QStringLiteral("lf")}));
    EXPECT_EQ(run(settings(false)), 0);
    EXPECT_EQ(m_receiver.applied.size(), 1);
}

TEST_F(RemoteLookup, CddbpRefusalsShowTheirMessages)
{
    const QList<QPair<int, int>> cases{{432, 8202}, {433, 8203}, {434, 8204}};
    for (const auto &[greeting, message] : cases) {
        CddbPeer peer;
        ASSERT_TRUE(peer.start({QStringLiteral("--greeting"), QString::number(greeting)}));
        CddbLookupSettings s = settings(false);
        s.port = peer.cddbpPort();
        EXPECT_EQ(run(s), 2);
        ASSERT_FALSE(m_port.asked().isEmpty());
        EXPECT_EQ(m_port.asked().last().id, message);
        EXPECT_EQ(peer.transcript().last(), QStringLiteral("quit"));
    }
    CddbPeer peer;
    ASSERT_TRUE(peer.start({QStringLiteral("--hello-status"), QStringLiteral("431")}));
    CddbLookupSettings s = settings(false);
    s.port = peer.cddbpPort();
    EXPECT_EQ(run(s), 2);
    EXPECT_EQ(m_port.asked().last().id, 8201);
    EXPECT_TRUE(m_receiver.applied.isEmpty());
}

TEST_F(RemoteLookup, UnknownDiscIsNotFoundWithoutMessage)
{
    ASSERT_TRUE(m_peer.start());
    TCDDBThread *thread =
        TCDDBThread::StartLookup(m_lookups, settings(false), QStringLiteral("AAAAAA0200096"),
                                 QStringLiteral("aaaaaa02 2 150 300 10"));
    QSignalSpy finished(thread, &TCDDBThread::lookupFinished);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), 1);
    EXPECT_TRUE(m_port.asked().isEmpty());
}

TEST_F(RemoteLookup, InexactMatchChoiceOpensSecondConnection)
{
    m_peer.addInexact(QStringLiteral("04018e02"),
                      {QStringLiteral("jazz 11111102 Other / Thing"),
                       QStringLiteral("rock 04018e02 Test Artist / Test Album")});
    m_peer.addEntry(QStringLiteral("misc"), QStringLiteral("x"), "");
    // No exact entry: move it so only the choice finds it.
    CddbPeer peer;
    peer.addEntry(QStringLiteral("rock"), QStringLiteral("04018e01"), entryText());
    peer.addInexact(QStringLiteral("04018e02"),
                    {QStringLiteral("jazz 11111102 Other / Thing"),
                     QStringLiteral("rock 04018e01 Test Artist / Test Album")});
    ASSERT_TRUE(peer.start());
    m_windows.choice = 1;
    CddbLookupSettings s = settings(false);
    s.port = peer.cddbpPort();
    EXPECT_EQ(run(s), 0);
    ASSERT_EQ(m_windows.offered.size(), 1);
    EXPECT_TRUE(m_windows.offered.at(0).startsWith(QStringLiteral("211 ")));
    EXPECT_EQ(m_receiver.applied.size(), 1);
    const QStringList t = peer.transcript();
    EXPECT_EQ(t.count(QStringLiteral("CONNECT cddbp")), 2);
    EXPECT_TRUE(t.contains(QStringLiteral("cddb read rock 04018e01")));
    EXPECT_EQ(t.count(QStringLiteral("motd")), 1);

    // The same over HTTP, and a cancelled choice ends quietly with 2.
    s = settings(true);
    s.port = peer.httpPort();
    EXPECT_EQ(run(s), 0);
    EXPECT_EQ(m_receiver.applied.size(), 2);
    m_windows.choice = -1;
    EXPECT_EQ(run(s), 2);
    s = settings(false);
    s.port = peer.cddbpPort();
    EXPECT_EQ(run(s), 2);
    EXPECT_EQ(m_receiver.applied.size(), 2);
    EXPECT_TRUE(m_port.asked().isEmpty());
}

TEST_F(RemoteLookup, UnsafeWordsFromTheServerAreRefused)
{
    CddbPeer peer;
    peer.addInexact(QStringLiteral("04018e02"), {QStringLiteral("rock 04018e02 A / B")});
    ASSERT_TRUE(peer.start());
    m_windows.forcedCategory = QStringLiteral("rock;quit");
    CddbLookupSettings s = settings(false);
    s.port = peer.cddbpPort();
    EXPECT_EQ(run(s), 2);
    EXPECT_EQ(askedIds(), QList<int>{16896});
    for (const QString &line : peer.transcript())
        EXPECT_FALSE(line.startsWith(QStringLiteral("cddb read")));
}

TEST_F(RemoteLookup, CddbpFaultsFailWithoutApplying)
{
    struct Case
    {
        QString fault;
        int message;
    };
    // A cut entry: the connection ends early; a 40 KB entry does not fit; silence times out;
    // garbage status lines end the dialogue quietly.
    const QList<Case> cases{{QStringLiteral("cut"), 16387},
                            {QStringLiteral("big"), 16896},
                            {QStringLiteral("silence"), 16393},
                            {QStringLiteral("garbage"), 0}};
    for (const Case &c : cases) {
        CddbPeer peer;
        peer.addEntry(QStringLiteral("rock"), QStringLiteral("04018e02"), entryText());
        ASSERT_TRUE(peer.start({QStringLiteral("--fault"), c.fault}));
        CddbLookupSettings s = settings(false);
        s.port = peer.cddbpPort();
        const qsizetype before = m_port.asked().size();
        EXPECT_EQ(run(s), 2) << c.fault.toStdString();
        if (c.message == 0) {
            EXPECT_EQ(m_port.asked().size(), before) << c.fault.toStdString();
        } else {
            ASSERT_EQ(m_port.asked().size(), before + 1) << c.fault.toStdString();
            EXPECT_EQ(m_port.asked().last().id, c.message) << c.fault.toStdString();
        }
    }
    EXPECT_TRUE(m_receiver.applied.isEmpty());
}

TEST_F(RemoteLookup, ConnectionRefusedNamesTheServer)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    CddbLookupSettings s = settings(false);
    s.port = closed.serverPort();
    closed.close();
    EXPECT_EQ(run(s), 2);
    ASSERT_EQ(m_port.asked().size(), 1);
    EXPECT_EQ(m_port.asked().at(0).id, 16386);
    EXPECT_EQ(m_port.asked().at(0).texts.value(0), QStringLiteral("127.0.0.1"));
}

TEST_F(RemoteLookup, StopEndsQuietly)
{
    ASSERT_TRUE(m_peer.start({QStringLiteral("--fault"), QStringLiteral("silence")}));
    for (bool http : {false, true}) {
        CddbLookupSettings s = settings(http);
        s.idleTimeoutSeconds = 60;
        EXPECT_EQ(run(s,
                      [this](TCDDBThread *) {
                          QTest::qWait(500);
                          EXPECT_EQ(m_lookups.count(), 1);
                          m_lookups.stopAll();
                      }),
                  2);
    }
    EXPECT_TRUE(m_port.asked().isEmpty());
}

TEST_F(RemoteLookup, HttpExactMatchAndFormBodies)
{
    ASSERT_TRUE(m_peer.start());
    EXPECT_EQ(run(settings(true)), 0);
    ASSERT_EQ(m_receiver.applied.size(), 1);
    EXPECT_EQ(m_windows.greetings.size(), 1);
    const QStringList t = m_peer.transcript();
    ASSERT_EQ(t.size(), 3);
    EXPECT_EQ(
        t.at(0),
        QStringLiteral(
            "POST /~cddb/cddb.cgi cmd=motd&hello=tester+my%2Dhost+Orbisong+4%2E0%2E3&proto=6"));
    EXPECT_TRUE(t.at(1).contains(QStringLiteral("cmd=cddb+query+04018E02+2+150+15000+400&")));
    EXPECT_TRUE(t.at(2).contains(QStringLiteral("cmd=cddb+read+rock+04018e02&")));
}

TEST_F(RemoteLookup, HttpAsksForItsProtocolLevelAndKeepsUtf8Letters)
{
    m_peer.addEntry(QStringLiteral("rock"), QStringLiteral("04018e02"),
                    "# xmcd\nDISCID=04018e02\nDTITLE=Bj\xc3\xb6rk / Homog\xc3\xa9nic\n"
                    "TTITLE0=J\xc3\xb3ga\nTTITLE1=Unravel\n");
    ASSERT_TRUE(m_peer.start());
    EXPECT_EQ(run(settings(true)), 0);
    ASSERT_EQ(m_receiver.applied.size(), 1);
    EXPECT_EQ(m_receiver.applied.at(0).artist, QStringLiteral("Bj\u00f6rk"));
    EXPECT_EQ(m_receiver.applied.at(0).title, QStringLiteral("Homog\u00e9nic"));
    EXPECT_TRUE(m_receiver.applied.at(0).trackTitles.startsWith(QStringLiteral("J\u00f3ga")));

    CddbLookupSettings s = settings(true);
    s.protocolLevel = 1;
    EXPECT_EQ(run(s), 0);
    EXPECT_TRUE(m_peer.transcript().value(3).endsWith(QStringLiteral("&proto=1")));

    Settings stored;
    stored.cddbProtocolLevel = 9;
    EXPECT_EQ(CddbLookupSettings::fromSettings(stored).protocolLevel, 6);
}

TEST_F(RemoteLookup, HttpFailedWelcomeStillQueries)
{
    ASSERT_TRUE(m_peer.start({QStringLiteral("--fault"), QStringLiteral("http-motd-fail")}));
    EXPECT_EQ(run(settings(true)), 0);
    EXPECT_TRUE(m_windows.greetings.isEmpty());
    EXPECT_TRUE(m_port.asked().isEmpty());
}

TEST_F(RemoteLookup, HttpFaultsAreInvalidResponses)
{
    for (const QString &fault :
         {QStringLiteral("garbage"), QStringLiteral("cut"), QStringLiteral("big")}) {
        CddbPeer peer;
        peer.addEntry(QStringLiteral("rock"), QStringLiteral("04018e02"), entryText());
        ASSERT_TRUE(peer.start({QStringLiteral("--fault"), fault}));
        CddbLookupSettings s = settings(true);
        s.port = peer.httpPort();
        const qsizetype before = m_port.asked().size();
        EXPECT_EQ(run(s), 2) << fault.toStdString();
        ASSERT_EQ(m_port.asked().size(), before + 1) << fault.toStdString();
        EXPECT_EQ(m_port.asked().last().id, 16896) << fault.toStdString();
    }
    EXPECT_TRUE(m_receiver.applied.isEmpty());
}

TEST_F(RemoteLookup, HttpHostNotFound)
{
    CddbLookupSettings s = settings(true);
    s.server = QStringLiteral("no-such-host.invalid/~cddb/cddb.cgi");
    EXPECT_EQ(run(s), 2);
    ASSERT_EQ(m_port.asked().size(), 1);
    EXPECT_EQ(m_port.asked().at(0).id, 16394);
    EXPECT_EQ(m_port.asked().at(0).texts.value(0), QStringLiteral("no-such-host.invalid"));
}

TEST_F(RemoteLookup, ClosingReleasesAWorkerWaitingForAWindow)
{
    CddbPeer peer;
    peer.addInexact(QStringLiteral("04018e02"), {QStringLiteral("rock 04018e01 A / B")});
    ASSERT_TRUE(peer.start());
    CddbLookupSettings s = settings(false);
    s.port = peer.cddbpPort();
    QSignalSpy count(&m_lookups, &RunningLookups::countChanged);
    TCDDBThread *thread = TCDDBThread::StartLookup(m_lookups, s, AlbumId, Query);
    EXPECT_EQ(m_lookups.count(), 1);
    QSignalSpy finished(thread, &TCDDBThread::lookupFinished);
    // The main thread is busy (closing) while the worker asks for the match window: the
    // worker's queued request shows it is waiting, and closing runs before that request is
    // delivered.
    bool stopped = false;
    OnFirstCall closer([&] { stopped = m_lookups.stopAndWait(30000); });
    m_threadWindow.installEventFilter(&closer);
    QElapsedTimer waited;
    waited.start();
    while (!closer.seen && waited.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    m_threadWindow.removeEventFilter(&closer);
    ASSERT_TRUE(closer.seen);
    EXPECT_TRUE(stopped);
    ASSERT_TRUE(finished.count() > 0 || finished.wait(30000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), 2);
    EXPECT_TRUE(m_windows.offered.isEmpty());
    EXPECT_TRUE(m_port.asked().isEmpty());
    EXPECT_EQ(m_lookups.count(), 0);
    EXPECT_EQ(count.last().at(0).toInt(), 0);
}

TEST_F(RemoteLookup, HttpsServer)
{
    QTemporaryDir dir;
    const QString cert = dir.filePath(QStringLiteral("cert.pem"));
    const QString key = dir.filePath(QStringLiteral("key.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-keyout"),
                   key, QStringLiteral("-out"), cert, QStringLiteral("-days"), QStringLiteral("2"),
                   QStringLiteral("-subj"), QStringLiteral("/CN=localhost"),
                   QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=DNS:localhost,IP:127.0.0.1")});
    if (!openssl.waitForStarted(5000))
        GTEST_SKIP() << "openssl is not installed";
    ASSERT_TRUE(openssl.waitForFinished(30000));
    ASSERT_EQ(openssl.exitCode(), 0);
    ASSERT_TRUE(
        m_peer.start({QStringLiteral("--tls-cert"), cert, QStringLiteral("--tls-key"), key}));

    // The test's own certificate authority stands in for the system's.
    QSslConfiguration previous = QSslConfiguration::defaultConfiguration();
    QSslConfiguration trusting = previous;
    trusting.addCaCertificates(cert);
    QSslConfiguration::setDefaultConfiguration(trusting);
    CddbLookupSettings s = settings(true);
    s.server = QStringLiteral("https://localhost/~cddb/cddb.cgi");
    s.port = m_peer.httpsPort();
    EXPECT_EQ(run(s), 0);
    EXPECT_EQ(m_receiver.applied.size(), 1);
    EXPECT_TRUE(m_port.asked().isEmpty());

    // A redirect may move up to HTTPS, never down from it.
    s.server = QStringLiteral("127.0.0.1/away/https");
    s.port = m_peer.httpPort();
    EXPECT_EQ(run(s), 0);
    EXPECT_EQ(m_receiver.applied.size(), 2);
    s.server = QStringLiteral("https://localhost/away/http");
    s.port = m_peer.httpsPort();
    EXPECT_EQ(run(s), 2);
    EXPECT_EQ(m_receiver.applied.size(), 2);
    ASSERT_EQ(m_port.asked().size(), 1);
    EXPECT_EQ(m_port.asked().at(0).id, 16896);
    QSslConfiguration::setDefaultConfiguration(previous);
}

TEST_F(RemoteLookup, SeveralExactMatchesAreOfferedForAChoice)
{
    m_peer.addEntry(QStringLiteral("jazz"), QStringLiteral("04018e02"),
                    "DISCID=04018e02\nDTITLE=Jazz / Take\nTTITLE0=a\nTTITLE1=b\nPLAYORDER=\n");
    ASSERT_TRUE(m_peer.start());
    m_windows.choice = 0; // jazz sorts before rock in the server's list
    EXPECT_EQ(run(settings(false)), 0);
    ASSERT_EQ(m_windows.offered.size(), 1);
    EXPECT_TRUE(m_windows.offered.at(0).startsWith(QStringLiteral("210 ")));
    ASSERT_EQ(m_receiver.applied.size(), 1);
    EXPECT_EQ(m_receiver.applied.at(0).category, QStringLiteral("Jazz"));
    EXPECT_TRUE(m_peer.transcript().contains(QStringLiteral("cddb read jazz 04018e02")));
}

TEST_F(RemoteLookup, HttpRedirectsAreFewAndNeverChangeTheScheme)
{
    ASSERT_TRUE(m_peer.start());
    const auto lookupAt = [&](const QString &path) {
        CddbLookupSettings s = settings(true);
        s.server = QStringLiteral("127.0.0.1") + path;
        return run(s);
    };
    // Two hops reach the script.
    EXPECT_EQ(lookupAt(QStringLiteral("/hop/1")), 0);
    EXPECT_EQ(m_receiver.applied.size(), 1);
    EXPECT_TRUE(m_port.asked().isEmpty());

    // A long chain, and a move to another kind of address, end as an invalid response.
    for (const QString &path : {QStringLiteral("/hop/10"), QStringLiteral("/away/ftp")}) {
        const qsizetype before = m_port.asked().size();
        EXPECT_EQ(lookupAt(path), 2) << path.toStdString();
        ASSERT_EQ(m_port.asked().size(), before + 1) << path.toStdString();
        EXPECT_EQ(m_port.asked().last().id, 16896) << path.toStdString();
    }
    EXPECT_EQ(m_receiver.applied.size(), 1);
    const QStringList t = m_peer.transcript();
    // The long chain was left after a few hops, never followed to its end.
    EXPECT_FALSE(t.join(QLatin1Char('\n')).contains(QStringLiteral("POST /hop/5 ")));
    EXPECT_TRUE(t.join(QLatin1Char('\n')).contains(QStringLiteral("POST /hop/10 ")));
}
