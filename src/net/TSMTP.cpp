#include "net/TSMTP.h"

#include "net/MailAddress.h"
#include "net/TSockets.h"
#include "net/WinsockErrors.h"

#include <QHostAddress>

namespace Orbisong {

namespace {

const QString TimedOutText = QStringLiteral("Operation timed out");
const QString CanceledText = QStringLiteral("Operation has been canceled");

} // namespace

TSMTP::TSMTP(QObject *parent) : QObject(parent), m_socket(new TSockets(this))
{
    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, [this] {
        --m_counter;
        m_loop.quit();
    });
    connect(m_socket, &TSockets::OnDataAvailable, this, [this] {
        takeIncoming();
        m_loop.quit();
    });
    connect(m_socket, &TSockets::OnSessionConnected, this, [this] {
        m_connected = true;
        m_loop.quit();
    });
    connect(m_socket, &TSockets::OnSessionClosed, this, [this] {
        m_peerClosed = true;
        m_loop.quit();
    });
    connect(m_socket, &TSockets::OnErrorOccurred, this, [this](int code, const QString &text) {
        m_socketError = code ? code : -1;
        m_socketErrorText = text;
        m_loop.quit();
    });
}

TSMTP::~TSMTP()
{
    Close();
}

void TSMTP::splitServer(const QString &server, QString *host, quint16 *port)
{
    const QString text = server.trimmed();
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    // More than one ":" is an IPv6 address without a port.
    if (colon < 0 || text.indexOf(QLatin1Char(':')) != colon) {
        *host = text;
        *port = 0;
        return;
    }
    bool ok = false;
    const uint value = text.mid(colon + 1).trimmed().toUInt(&ok);
    *host = text.left(colon).trimmed();
    *port = ok && value > 0 && value < 65536 ? quint16(value) : 0;
}

QString TSMTP::dotStuffed(const QString &line)
{
    return line.startsWith(QLatin1Char('.')) ? QLatin1Char('.') + line : line;
}

void TSMTP::setStatus(int status)
{
    if (m_status == status)
        return;
    m_status = status;
    emit OnStatusChange(status);
}

bool TSMTP::fail(ErrorKind kind, const QString &text)
{
    m_errorKind = kind;
    m_errorText = text;
    return false;
}

void TSMTP::Cancel()
{
    m_cancelled = true;
    QMetaObject::invokeMethod(
        this, [this] { m_loop.quit(); }, Qt::QueuedConnection);
}

void TSMTP::takeIncoming()
{
    for (;;) {
        const QByteArray bytes = m_socket->SReceive();
        if (bytes.isEmpty())
            return;
        m_reply.append(bytes);
    }
}

bool TSMTP::waitUntil(const std::function<bool()> &done)
{
    m_counter = TimeOut;
    for (;;) {
        if (m_cancelled) {
            setStatus(Cancelling);
            return fail(CanceledError, CanceledText);
        }
        if (m_reply.overflowed())
            return fail(MailError, QStringLiteral("The server's reply is too long"));
        if (done())
            return true;
        if (m_socketError)
            return fail(SocketError, m_socketErrorText);
        if (m_peerClosed)
            return fail(SocketError, WinsockErrorText(WSAECONNRESET));
        if (m_counter <= 0)
            return fail(TimedOutError, TimedOutText);
        m_tick.start();
        m_loop.exec();
        m_tick.stop();
    }
}

bool TSMTP::Start()
{
    m_errorKind = NoError;
    m_errorText.clear();
    m_transcript.clear();
    m_connected = m_peerClosed = false;
    m_socketError = 0;
    setStatus(Starting);
    QString host;
    splitServer(Server, &host, &m_port);
    if (host.isEmpty())
        return fail(MailError, QStringLiteral("Error resolving remote host"));
    QHostAddress address;
    if (address.setAddress(host)) {
        m_address = address.toString();
    } else {
        m_resolved = false;
        const int id = QHostInfo::lookupHost(host, this, [this](const QHostInfo &info) {
            m_hostInfo = info;
            m_resolved = true;
            m_loop.quit();
        });
        if (!waitUntil([this] { return m_resolved; })) {
            QHostInfo::abortHostLookup(id);
            return false;
        }
        const auto addresses = m_hostInfo.addresses();
        if (m_hostInfo.error() != QHostInfo::NoError || addresses.isEmpty())
            return fail(MailError, QStringLiteral("Error resolving remote host"));
        m_address = addresses.first().toString();
    }
    if (m_port == 0) {
        if (ServiceName.isEmpty())
            return fail(MailError, QStringLiteral("Service name is not specified"));
        m_port = TSockets::resolvePort(ServiceName);
        if (m_port == 0)
            m_port = DefaultPort;
    }
    return true;
}

bool TSMTP::Connect()
{
    setStatus(Connecting);
    m_socket->IPAddr = m_address;
    m_socket->Port = QString::number(m_port);
    m_socket->NonBlocking = true;
    m_reply.clear();
    if (!m_socket->SConnect() && !m_socketError)
        return fail(SocketError, WinsockErrorText(WSAECONNREFUSED));
    if (!waitUntil([this] { return m_connected; }))
        return false;
    if (!readReply())
        return false;
    const QString domain = MailAddress::parse(Message.from).domain();
    return command(UseDomainAddress ? QStringLiteral("HELO ") + domain : QStringLiteral("HELO"));
}

bool TSMTP::sendLine(const QString &line, bool record)
{
    if (record)
        m_transcript.append(line);
    if (m_socket->SSend(line.toUtf8() + "\r\n") < 0)
        return fail(SocketError, m_socketErrorText.isEmpty() ? WinsockErrorText(WSAECONNRESET)
                                                             : m_socketErrorText);
    return true;
}

bool TSMTP::readReply()
{
    if (!waitUntil([this] { return m_reply.complete(); }))
        return false;
    for (const QString &line : QString::fromUtf8(m_reply.bytes()).split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            m_transcript.append(line.trimmed());
    }
    const bool accepted = m_reply.accepted();
    const QString text = m_reply.text();
    m_reply.clear();
    return accepted ? true : fail(MailError, text);
}

bool TSMTP::command(const QString &line)
{
    m_reply.clear();
    return sendLine(HeaderSafe(line)) && readReply();
}

bool TSMTP::sendLines(const QStringList &lines, int status)
{
    setStatus(status);
    const int last = int(lines.size()) - 1;
    for (int i = 0; i <= last; ++i) {
        if (m_cancelled) {
            setStatus(Cancelling);
            return fail(CanceledError, CanceledText);
        }
        if (!sendLine(dotStuffed(lines.at(i)), false))
            return false;
        const int percent = last > 0 ? i * 100 / last : 100;
        if (percent % 10 == 0)
            emit OnProgress(percent);
    }
    return true;
}

bool TSMTP::SendMessage()
{
    QList<MimePart> parts;
    if (!Message.attachments.isEmpty()) {
        setStatus(Encoding);
        for (const QString &path : std::as_const(Message.attachments)) {
            if (m_cancelled) {
                setStatus(Cancelling);
                return fail(CanceledError, CanceledText);
            }
            MimePart part;
            if (!MimePart::fromFile(path, Message.encoding == MailMessage::Mime, &part))
                return fail(MailError, QStringLiteral("Cannot read the attachment ") + path);
            parts.append(part);
        }
    }
    setStatus(SendingEnvelope);
    const QString from = MailAddress::parse(Message.from).address;
    if (!from.isEmpty() && !command(QStringLiteral("MAIL FROM:<") + from + QLatin1Char('>')))
        return false;
    for (const QString &to : Message.envelopeRecipients()) {
        if (!command(QStringLiteral("RCPT TO:<") + to + QLatin1Char('>')))
            return false;
    }
    if (!command(QStringLiteral("DATA")))
        return false;

    const QStringList text = Message.text(parts);
    const qsizetype headerEnd = Message.headerLines(!parts.isEmpty()).size();
    const qsizetype bodyEnd = headerEnd + 1 + Message.bodyLines().size();
    if (!sendLines(text.mid(0, headerEnd), SendingHeaders) ||
        !sendLines(text.mid(headerEnd, bodyEnd - headerEnd), SendingBody) ||
        (!parts.isEmpty() && !sendLines(text.mid(bodyEnd), SendingAttachments)))
        return false;
    if (!command(QStringLiteral(".")))
        return false;
    emit OnProgress(0);
    return true;
}

bool TSMTP::Quit()
{
    setStatus(Quitting);
    if (!command(QStringLiteral("QUIT")))
        return false;
    setStatus(Idle);
    return true;
}

void TSMTP::Close()
{
    m_socket->Disconnect();
    m_connected = false;
}

bool TSMTP::SendMail()
{
    const bool sent = Start() && Connect() && SendMessage() && Quit();
    Close();
    if (!sent && m_status != Cancelling)
        setStatus(Idle);
    return sent;
}

} // namespace Orbisong
