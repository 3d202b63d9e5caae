#include "net/TSockets.h"

#include "net/WinsockErrors.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QLoggingCategory>
#include <QMetaMethod>
#include <QTcpSocket>

#include <netdb.h>
#include <sys/socket.h>

namespace Orbisong {

namespace {
Q_LOGGING_CATEGORY(lcSockets, "orbisong.net.sockets")
constexpr int BlockingTimedOut = 10060;
} // namespace

TSockets::TSockets(QObject *parent) : QObject(parent)
{
}

TSockets::~TSockets()
{
    if (m_socket)
        Disconnect();
}

quint16 TSockets::resolvePort(const QString &port)
{
    const QByteArray name = port.trimmed().toLatin1();
    if (name.isEmpty())
        return 0;
    // getservbyname is not reentrant; ports are resolved on the thread that connects, which is
    // the main thread for this component.
    if (const servent *service = getservbyname(name.constData(), "tcp"))
        return ntohs(quint16(service->s_port));
    bool ok = false;
    const uint value = port.trimmed().toUInt(&ok);
    return ok && value <= 65535 ? quint16(value) : 0;
}

QString TSockets::fullMessage(const QString &function, int code)
{
    return QStringLiteral("Error %1 in function %2\r\n%3")
        .arg(code)
        .arg(function, WinsockErrorText(code));
}

void TSockets::report(const QString &function, int code)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&TSockets::OnErrorOccurred))) {
        emit OnErrorOccurred(code, WinsockErrorText(code));
        return;
    }
    qCWarning(lcSockets).noquote() << "WINSOCK ERROR:" << fullMessage(function, code);
}

void TSockets::reportText(const QString &text)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&TSockets::OnErrorOccurred)))
        emit OnErrorOccurred(0, text);
}

bool TSockets::bindReserved()
{
    for (quint16 port = 1024; port >= 513; --port) {
        if (m_socket->bind(QHostAddress::AnyIPv4, port))
            return true;
        if (m_socket->error() != QAbstractSocket::AddressInUseError) {
            report(QStringLiteral("SConnect bind()"), WinsockErrorFromQt(m_socket->error()));
            return false;
        }
    }
    report(QStringLiteral("SConnect bind()"), WSAEADDRINUSE);
    return false;
}

bool TSockets::SConnect()
{
    if (Port.isEmpty()) {
        reportText(QStringLiteral("No server port was specified."));
        return false;
    }
    if (IPAddr.isEmpty()) {
        reportText(QStringLiteral("No server address was specified."));
        return false;
    }
    const quint16 port = resolvePort(Port);
    QHostAddress address;
    if (!address.setAddress(IPAddr)) {
        const QHostInfo info = QHostInfo::fromName(IPAddr);
        const auto addresses = info.addresses();
        auto ipv4 = std::find_if(addresses.begin(), addresses.end(), [](const QHostAddress &a) {
            return a.protocol() == QAbstractSocket::IPv4Protocol;
        });
        if (info.error() != QHostInfo::NoError || addresses.isEmpty()) {
            reportText(QStringLiteral("Unable to locate the server:\r ") + IPAddr +
                       QStringLiteral("\rThe server does not have a DNS entry."));
            return false;
        }
        address = ipv4 != addresses.end() ? *ipv4 : addresses.first();
    }

    if (m_socket)
        Disconnect();
    m_socket = new QTcpSocket(this);
    if (ReservedPort && !bindReserved()) {
        delete m_socket;
        m_socket = nullptr;
        return false;
    }
    if (NonBlocking) {
        connect(m_socket, &QTcpSocket::readyRead, this, &TSockets::OnDataAvailable);
        connect(m_socket, &QTcpSocket::bytesWritten, this, &TSockets::OnDataNeeded);
        connect(m_socket, &QTcpSocket::connected, this, [this] {
            m_connecting = false;
            emit OnSessionConnected();
            emit OnDataNeeded();
        });
        connect(m_socket, &QTcpSocket::disconnected, this, &TSockets::OnSessionClosed);
        connect(m_socket, &QTcpSocket::errorOccurred, this,
                [this](QAbstractSocket::SocketError error) {
                    if (error == QAbstractSocket::RemoteHostClosedError)
                        return; // a peer's close is an event, not a failure
                    report(m_connecting ? QStringLiteral("FD_CONNECT") : QStringLiteral("FD_READ"),
                           WinsockErrorFromQt(error));
                });
        m_connecting = true;
        m_socket->connectToHost(address, port);
        return true;
    }
    m_socket->connectToHost(address, port);
    return waitFor([this](int ms) { return m_socket->waitForConnected(ms); },
                   QStringLiteral("SConnect"));
}

bool TSockets::waitFor(const std::function<bool(int)> &wait, const QString &function)
{
    if (wait(Timeout > 0 ? Timeout * 1000 : -1))
        return true;
    if (m_socket->error() == QAbstractSocket::SocketTimeoutError) {
        if (isSignalConnected(QMetaMethod::fromSignal(&TSockets::OnErrorOccurred)))
            emit OnErrorOccurred(BlockingTimedOut, QStringLiteral("Blocking call timed out"));
        else
            qCWarning(lcSockets).noquote()
                << "WINSOCK CALL CANCELED: Error" << BlockingTimedOut << "Blocking call timed out";
        return false;
    }
    report(function, WinsockErrorFromQt(m_socket->error()));
    return false;
}

qint64 TSockets::SSend(const QByteArray &data)
{
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState) {
        report(QStringLiteral("SSend"), 10057);
        return -1;
    }
    const qint64 written = m_socket->write(data);
    if (written < 0) {
        report(QStringLiteral("SSend"), WinsockErrorFromQt(m_socket->error()));
        return -1;
    }
    if (!NonBlocking) {
        while (m_socket->bytesToWrite() > 0) {
            if (!waitFor([this](int ms) { return m_socket->waitForBytesWritten(ms); },
                         QStringLiteral("SSend")))
                return -1;
        }
    }
    return written;
}

QByteArray TSockets::SReceive(int size)
{
    if (!m_socket) {
        report(QStringLiteral("SReceive"), 10057);
        return {};
    }
    const int limit = size > 0 ? size : MaximumReceiveLength;
    if (!NonBlocking && m_socket->bytesAvailable() == 0 &&
        m_socket->state() == QAbstractSocket::ConnectedState) {
        if (!waitFor([this](int ms) { return m_socket->waitForReadyRead(ms); },
                     QStringLiteral("SReceive")))
            return {};
    }
    return m_socket->read(limit);
}

void TSockets::Disconnect()
{
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    const qintptr fd = m_socket->socketDescriptor();
    if (fd >= 0) {
        // A zero linger time resets the connection instead of draining it.
        linger option{1, 0};
        setsockopt(int(fd), SOL_SOCKET, SO_LINGER, &option, sizeof option);
    }
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
    m_connecting = false;
}

bool TSockets::isConnected() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

int TSockets::localPort() const
{
    return m_socket ? m_socket->localPort() : 0;
}

} // namespace Orbisong
