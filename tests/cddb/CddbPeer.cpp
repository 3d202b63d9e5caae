#include "CddbPeer.h"

#include "TestHome.h"

#include <QDir>
#include <QFile>

CddbPeer::CddbPeer()
{
    QDir().mkpath(dbFolder());
}

CddbPeer::~CddbPeer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(2000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }
}

void CddbPeer::addEntry(const QString &category, const QString &discId, const QByteArray &text)
{
    QDir(dbFolder()).mkpath(category);
    QFile file(dbFolder() + QLatin1Char('/') + category + QLatin1Char('/') + discId);
    file.open(QIODevice::WriteOnly);
    file.write(text);
}

void CddbPeer::addInexact(const QString &discId, const QStringList &lines)
{
    QDir(dbFolder()).mkpath(QStringLiteral("inexact"));
    QFile file(dbFolder() + QStringLiteral("/inexact/") + discId);
    file.open(QIODevice::WriteOnly);
    file.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
}

QString CddbPeer::peerScript(const QString &name)
{
    return TestHome::sourceDir() + QStringLiteral("/tests/peers/") + name;
}

bool CddbPeer::startPeer(QProcess &process, const QString &script, const QStringList &args,
                         const QStringList &labels, QList<int> *ports)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral("/usr/bin/python3"), QStringList{script} + args);
    if (!process.waitForStarted(5000))
        return false;
    ports->clear();
    while (ports->size() < labels.size()) {
        if (!process.canReadLine() && !process.waitForReadyRead(5000))
            return false;
        while (process.canReadLine()) {
            const QStringList words =
                QString::fromLatin1(process.readLine()).split(QLatin1Char(' '));
            if (words.size() == 2 && labels.value(ports->size()) == words.at(0))
                ports->append(words.at(1).trimmed().toInt());
        }
    }
    return true;
}

bool CddbPeer::start(const QStringList &options)
{
    QList<int> ports;
    const QStringList args =
        QStringList{QStringLiteral("--db"), dbFolder(), QStringLiteral("--transcript"),
                    m_dir.filePath(QStringLiteral("transcript.txt"))} +
        options;
    QStringList labels{QStringLiteral("CDDBP"), QStringLiteral("HTTP")};
    if (options.contains(QStringLiteral("--tls-cert")))
        labels.append(QStringLiteral("HTTPS"));
    if (!startPeer(m_process, peerScript(QStringLiteral("cddb_peer.py")), args, labels, &ports))
        return false;
    m_cddbpPort = ports.at(0);
    m_httpPort = ports.at(1);
    m_httpsPort = ports.value(2);
    return true;
}

QStringList CddbPeer::transcript() const
{
    QFile file(m_dir.filePath(QStringLiteral("transcript.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
