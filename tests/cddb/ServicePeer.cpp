#include "ServicePeer.h"

#include "CddbPeer.h"

#include <QFile>
#include <QJsonDocument>

ServicePeer::~ServicePeer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }
}

void ServicePeer::setRoutes(const QJsonObject &routes)
{
    QFile file(m_dir.filePath(QStringLiteral("routes.json")));
    if (file.open(QIODevice::WriteOnly))
        file.write(QJsonDocument(routes).toJson());
}

bool ServicePeer::startMusicBrainz(const QJsonObject &routes)
{
    setRoutes(routes);
    QList<int> ports;
    const QStringList args{
        QStringLiteral("--routes"), m_dir.filePath(QStringLiteral("routes.json")),
        QStringLiteral("--transcript"), m_dir.filePath(QStringLiteral("transcript.txt"))};
    if (!CddbPeer::startPeer(m_process, CddbPeer::peerScript(QStringLiteral("musicbrainz_peer.py")),
                             args, {QStringLiteral("HTTP")}, &ports))
        return false;
    m_port = ports.at(0);
    return true;
}

bool ServicePeer::startCover(const QStringList &pictureArgs, const QString &elsewhere)
{
    QStringList args{QStringLiteral("--transcript"),
                     m_dir.filePath(QStringLiteral("transcript.txt"))};
    for (const QString &picture : pictureArgs)
        args << QStringLiteral("--picture") << picture;
    if (!elsewhere.isEmpty())
        args << QStringLiteral("--elsewhere") << elsewhere;
    QList<int> ports;
    if (!CddbPeer::startPeer(m_process, CddbPeer::peerScript(QStringLiteral("cover_peer.py")), args,
                             {QStringLiteral("HTTP")}, &ports))
        return false;
    m_port = ports.at(0);
    return true;
}

QStringList ServicePeer::transcript() const
{
    QFile file(m_dir.filePath(QStringLiteral("transcript.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList ServicePeer::requests() const
{
    QStringList lines;
    for (const QString &line : transcript()) {
        if (line.contains(QLatin1String(" GET ")))
            lines.append(line.section(QLatin1Char(' '), 1));
        else if (line.startsWith(QLatin1String("GET ")))
            lines.append(line);
    }
    return lines;
}

QList<double> ServicePeer::arrivals() const
{
    QList<double> times;
    for (const QString &line : transcript()) {
        if (line.contains(QLatin1String(" GET ")))
            times.append(line.section(QLatin1Char(' '), 0, 0).toDouble());
    }
    return times;
}

QJsonObject ServicePeer::reply(int status, const QByteArray &body, double delay)
{
    return QJsonObject{{QStringLiteral("status"), status},
                       {QStringLiteral("body"), QString::fromUtf8(body)},
                       {QStringLiteral("delay"), delay}};
}
