#include "MailPeers.h"

#include "TestHome.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");

int freePort()
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost, 0) ? server.serverPort() : 0;
}

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.closeWriteChannel();
    process.kill();
    process.waitForFinished(5000);
}

} // namespace

SmtpSink::~SmtpSink()
{
    stop(m_process);
}

bool SmtpSink::start()
{
    m_port = freePort();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PYTHONUNBUFFERED"), QStringLiteral("1"));
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(Python, {QStringLiteral("-m"), QStringLiteral("aiosmtpd"), QStringLiteral("-n"),
                             QStringLiteral("-l"), QStringLiteral("127.0.0.1:%1").arg(m_port)});
    if (!m_process.waitForStarted(5000))
        return false;
    // The sink says nothing when it listens: it is ready once it takes a connection.
    for (int attempt = 0; attempt < 100; ++attempt) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, quint16(m_port));
        if (probe.waitForConnected(200) && probe.waitForReadyRead(5000))
            return true;
        if (m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForFinished(100);
    }
    return false;
}

QStringList SmtpSink::nextMessage()
{
    QStringList lines;
    bool inMessage = false;
    for (;;) {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(20000))
            return {};
        while (m_process.canReadLine()) {
            QString line = QString::fromUtf8(m_process.readLine());
            line.chop(1);
            if (line == QLatin1String("---------- MESSAGE FOLLOWS ----------"))
                inMessage = true;
            else if (line == QLatin1String("------------ END MESSAGE ------------"))
                return lines;
            else if (inMessage && !line.startsWith(QLatin1String("X-Peer: ")))
                lines.append(line);
        }
    }
}

SmtpPeer::~SmtpPeer()
{
    stop(m_process);
}

bool SmtpPeer::start(const QString &mode)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(Python, {TestHome::sourceDir() + QStringLiteral("/tests/peers/smtp_peer.py"),
                             QStringLiteral("--mode"), mode, QStringLiteral("--transcript"),
                             m_dir.filePath(QStringLiteral("transcript.txt"))});
    if (!m_process.waitForStarted(5000))
        return false;
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(10000))
            return false;
    }
    const QStringList words = QString::fromLatin1(m_process.readLine()).trimmed().split(' ');
    m_port = words.size() == 2 && words.at(0) == QLatin1String("SMTP") ? words.at(1).toInt() : 0;
    return m_port > 0;
}

QStringList SmtpPeer::transcript() const
{
    QFile file(m_dir.filePath(QStringLiteral("transcript.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
