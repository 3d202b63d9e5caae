#include "app/InstanceChannel.h"

#include "base/AppPaths.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcInstance, "orbisong.instance")

namespace Orbisong {

InstanceChannel::InstanceChannel(QObject *parent)
    : QObject(parent)
{
}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::serverName()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    display.replace(QLatin1Char(':'), QLatin1Char('_')).replace(QLatin1Char('/'), QLatin1Char('_'));
    QString name = QStringLiteral("orbisong-%1-%2").arg(loginName(), display);
    // Separate homes are separate players, so tests and portable installs never meet.
    const QString home = qEnvironmentVariable("ORBISONG_HOME");
    if (!home.isEmpty())
        name += QLatin1Char('-') + QString::number(qHash(home), 16);
    return name;
}

bool InstanceChannel::deliver(const Handover &handover, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(handover.encode().toUtf8() + '\n');
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

bool InstanceChannel::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(serverName())) {
        // A socket left behind by a crashed instance answers nobody; take its place.
        QLocalSocket probe;
        probe.connectToServer(serverName());
        if (probe.waitForConnected(500))
            return false;
        QLocalServer::removeServer(serverName());
        if (!m_server->listen(serverName()))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::acceptConnections);
    return true;
}

void InstanceChannel::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QString line = QString::fromUtf8(socket->readLine()).trimmed();
                const Handover handover = Handover::decode(line);
                qCInfo(lcInstance).noquote() << handover.encode();
                emit handoverReceived(handover);
            }
        });
    }
}

} // namespace Orbisong
