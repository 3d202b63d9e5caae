#include "cddb/TSockCDDBThread.h"

#include "base/MessageIds.h"
#include "base/ThreadWindow.h"
#include "net/WinsockErrors.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QHostInfo>
#include <QTcpSocket>

#include <memory>

namespace Orbisong {

namespace {

constexpr int PollMs = 100;
constexpr int CloseWaitMs = 30000;

// A dotted address is used as it is; "255.255.255.255" counts as one too.
bool resolve(const QString &name, QHostAddress *address, int *error)
{
    if (address->setAddress(name) && address->protocol() == QAbstractSocket::IPv4Protocol)
        return true;
    const QHostInfo info = QHostInfo::fromName(name);
    for (const QHostAddress &candidate : info.addresses()) {
        if (candidate.protocol() == QAbstractSocket::IPv4Protocol) {
            *address = candidate;
            return true;
        }
    }
    *error = info.error() == QHostInfo::HostNotFound ? 11001 : 11002;
    return false;
}

} // namespace

TSockCDDBThread::TSockCDDBThread(RunningLookups &lookups, const CddbLookupSettings &settings,
                                 const QString &albumId, const QString &query)
    : TCDDBThread(lookups, settings, albumId, query)
{
}

void TSockCDDBThread::runLookup()
{
    std::unique_ptr<QTcpSocket> socket;
    m_state = AwaitGreeting;
    while (!m_stop && m_errorKind == NoError) {
        socket = std::make_unique<QTcpSocket>();
        m_socket = socket.get();
        if (!connectToServer())
            break;
        while (!m_stop && m_errorKind == NoError && m_state != Disconnecting &&
               m_state != InexactReceived) {
            QByteArray response;
            if (!receiveResponse(&response))
                break;
            handleResponse(response);
        }
        if (!m_stop && m_errorKind == NoError)
            waitForServerClose();
        closeSocket();
        if (m_stop || m_errorKind != NoError || m_state != InexactReceived)
            break;
        if (!chooseMatch())
            break;
        m_state = AwaitSecondGreeting;
    }
    m_socket = nullptr;
}

bool TSockCDDBThread::connectToServer()
{
    const int previous = m_state;
    const bool viaProxy = !m_settings.proxyHost.isEmpty();
    setState(Finding);
    QHostAddress address;
    int error = 0;
    if (!resolve(viaProxy ? m_settings.proxyHost : m_settings.host(), &address, &error)) {
        fail(ResolveFailed, error);
        return false;
    }
    setState(Connecting);
    m_socket->connectToHost(address, viaProxy ? m_settings.proxyPort : quint16(m_settings.port));
    while (!m_stop && m_socket->state() != QAbstractSocket::ConnectedState) {
        if (!m_socket->waitForConnected(PollMs) &&
            m_socket->error() != QAbstractSocket::SocketTimeoutError) {
            fail(ResolveFailed, WinsockErrorFromQt(m_socket->error()));
            return false;
        }
    }
    if (m_stop)
        return false;
    if (viaProxy && !socksHandshake())
        return false;
    m_state = previous;
    return true;
}

bool TSockCDDBThread::socksHandshake()
{
    QHostAddress server;
    int error = 0;
    if (!resolve(m_settings.host(), &server, &error)) {
        fail(ResolveFailed, error);
        return false;
    }
    QByteArray request;
    request += char(4);
    request += char(1);
    const quint16 port = quint16(m_settings.port);
    request += char(port >> 8);
    request += char(port & 0xff);
    const quint32 ip = server.toIPv4Address();
    for (int shift = 24; shift >= 0; shift -= 8)
        request += char((ip >> shift) & 0xff);
    request += m_settings.proxyUserId.toLatin1();
    request += char(0);
    m_socket->write(request);
    while (!m_stop && m_socket->bytesToWrite() > 0) {
        if (!m_socket->waitForBytesWritten(PollMs) &&
            m_socket->error() != QAbstractSocket::SocketTimeoutError) {
            fail(SendFailed, WinsockErrorFromQt(m_socket->error()));
            return false;
        }
    }
    // Only a whole reply granting the request counts; a short or closed reply is a refusal.
    QByteArray reply;
    while (!m_stop && reply.size() < 8) {
        if (m_socket->bytesAvailable() == 0 && !waitForData(m_settings.idleTimeoutSeconds * 1000))
            break;
        reply += m_socket->read(8 - reply.size());
    }
    if (m_stop)
        return false;
    const int code = reply.size() > 1 ? static_cast<unsigned char>(reply.at(1)) : 0;
    if (reply.size() == 8 && code == 90)
        return true;
    m_errorKind = NoError;
    fail(ProxyFailed, code == 92 ? -3 : code == 93 ? -4 : -2);
    return false;
}

bool TSockCDDBThread::waitForData(int timeoutMs)
{
    QElapsedTimer idle;
    idle.start();
    while (!m_stop) {
        if (m_socket->waitForReadyRead(PollMs))
            return true;
        if (m_socket->error() != QAbstractSocket::SocketTimeoutError ||
            m_socket->state() != QAbstractSocket::ConnectedState) {
            fail(ReceiveFailed, WSAECONNRESET);
            return false;
        }
        if (timeoutMs > 0 && idle.hasExpired(timeoutMs)) {
            fail(ReceiveFailed, WSAETIMEDOUT);
            return false;
        }
    }
    return false;
}

bool TSockCDDBThread::sendCommand(const QString &command)
{
    if (m_socket->write(command.toUtf8() + "\r\n") < 0) {
        fail(SendFailed, WinsockErrorFromQt(m_socket->error()));
        return false;
    }
    while (!m_stop && m_socket->bytesToWrite() > 0) {
        if (!m_socket->waitForBytesWritten(PollMs) &&
            m_socket->error() != QAbstractSocket::SocketTimeoutError) {
            fail(SendFailed, WinsockErrorFromQt(m_socket->error()));
            return false;
        }
    }
    return !m_stop;
}

bool TSockCDDBThread::receiveResponse(QByteArray *response)
{
    QByteArray buffer;
    while (!m_stop) {
        buffer += m_socket->readAll();
        // A response that does not fit is never used in part.
        if (buffer.size() > BufferSize) {
            fail(BadResponse, -5);
            return false;
        }
        if (responseComplete(buffer)) {
            *response = buffer;
            return true;
        }
        if (!waitForData(m_settings.idleTimeoutSeconds * 1000)) {
            // Whatever arrived before the close still counts.
            buffer += m_socket->readAll();
            if (responseComplete(buffer) && buffer.size() <= BufferSize) {
                m_errorKind = NoError;
                *response = buffer;
                return true;
            }
            return false;
        }
    }
    return false;
}

void TSockCDDBThread::quit()
{
    setState(Disconnecting);
    sendCommand(QStringLiteral("quit"));
}

void TSockCDDBThread::handleResponse(const QByteArray &raw)
{
    const int status = responseStatus(raw);
    const QString response = decodeResponse(raw);
    const QString statusLine = response.section(QLatin1Char('\n'), 0, 0).trimmed();
    auto refuse = [this](int messageId) {
        if (!m_stop) {
            ThreadRequest request;
            request.kind = ThreadRequest::ShowMessage;
            request.value = messageId;
            askMainThread(&request);
        }
        quit();
    };
    switch (m_state) {
    case AwaitGreeting:
    case AwaitSecondGreeting:
        if (status == 200 || status == 201) {
            m_state = m_state == AwaitGreeting ? HandshakeSent : SecondHandshakeSent;
            sendCommand(QStringLiteral("cddb hello ") + helloText());
        } else if (status == 432) {
            refuse(Msg::CddbPermissionDenied);
        } else if (status == 433) {
            refuse(Msg::CddbTooManyUsers);
        } else if (status == 434) {
            refuse(Msg::CddbLoadTooHigh);
        } else {
            quit();
        }
        return;
    case HandshakeSent:
        if (status == 200) {
            m_state = MotdRequested;
            sendCommand(QStringLiteral("motd"));
        } else if (status == 431) {
            refuse(Msg::CddbHandshakeFailed);
        } else {
            quit();
        }
        return;
    case MotdRequested:
        if (status == 210)
            m_welcome = response;
        setState(QuerySent);
        sendCommand(QStringLiteral("cddb query ") + m_query);
        return;
    case QuerySent:
        if (status == 200) {
            if (!takeMatch(word(statusLine, 1), word(statusLine, 2)))
                return;
            setState(ReadSent);
            sendCommand(QStringLiteral("cddb read ") + m_category + QLatin1Char(' ') + m_discId);
        } else if (status == 202) {
            m_result = NotFound;
            quit();
        } else if (status == 211 || status == 210) {
            // Several exact matches are offered for a choice just like inexact ones.
            m_matches = response;
            m_state = InexactReceived;
            sendCommand(QStringLiteral("quit"));
        } else {
            quit();
        }
        return;
    case SecondHandshakeSent:
        if (status == 200) {
            setState(ReadSent);
            sendCommand(QStringLiteral("cddb read ") + m_category + QLatin1Char(' ') + m_discId);
        } else if (status == 431) {
            refuse(Msg::CddbHandshakeFailed);
        } else {
            quit();
        }
        return;
    case ReadSent:
        if (status == 210) {
            m_entry = response;
            m_result = Found;
        }
        quit();
        return;
    default:
        quit();
        return;
    }
}

void TSockCDDBThread::waitForServerClose()
{
    QElapsedTimer waited;
    waited.start();
    while (!m_stop && m_socket->state() == QAbstractSocket::ConnectedState &&
           !waited.hasExpired(CloseWaitMs)) {
        m_socket->waitForReadyRead(PollMs);
        m_socket->readAll();
    }
}

void TSockCDDBThread::closeSocket()
{
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        m_socket->disconnectFromHost();
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        m_socket->waitForDisconnected(PollMs);
    m_socket->abort();
}

} // namespace Orbisong
