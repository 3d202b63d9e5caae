#pragma once

#include "net/MailMessage.h"
#include "net/SmtpReply.h"

#include <QEventLoop>
#include <QHostInfo>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <atomic>
#include <functional>

namespace Orbisong {

class TSockets;

// The mail client: one message handed to an SMTP server. Each step waits in an event loop
// of its own thread, so it may run on a worker thread; every wait ends when the awaited event
// arrives, after `TimeOut` seconds of silence, or on Cancel().
class TSMTP : public QObject
{
    Q_OBJECT

public:
    enum Status {
        Idle = 0,
        Starting = 1,
        Connecting = 2,
        Quitting = 3,
        SendingHeaders = 4,
        SendingEnvelope = 5,
        SendingBody = 6,
        SendingAttachments = 7,
        Cancelling = 8,
        Encoding = 9,
    };
    // What ended a failed step: a socket failure, a refusing server, silence, or the user.
    enum ErrorKind { NoError, SocketError, MailError, TimedOutError, CanceledError };

    explicit TSMTP(QObject *parent = nullptr);
    ~TSMTP() override;

    QString Server; // host name or dotted address, optionally followed by ":" and a port
    QString ServiceName = QStringLiteral("smtp");
    quint16 DefaultPort = 25; // when the service name is unknown to the system
    int TimeOut = 60;         // seconds each wait may last
    bool UseDomainAddress = true;
    MailMessage Message;

    // Start, connect, send, quit and close; false when a step failed.
    bool SendMail();
    bool Start();
    bool Connect();
    bool SendMessage();
    bool Quit();
    void Close();
    // Any thread: ends the running wait, and every later one, as cancelled.
    void Cancel();

    int status() const { return m_status; }
    ErrorKind errorKind() const { return m_errorKind; }
    QString errorText() const { return m_errorText; }
    // Every command sent (message lines left out) and every reply line received.
    QStringList transcript() const { return m_transcript; }

    // Splits "host:port"; `port` is 0 when the text names none.
    static void splitServer(const QString &server, QString *host, quint16 *port);
    // Lines of a message with a leading "." doubled, so none of them ends the DATA phase.
    static QString dotStuffed(const QString &line);

signals:
    void OnStatusChange(int status);
    void OnProgress(int percent);

private:
    void setStatus(int status);
    bool fail(ErrorKind kind, const QString &text);
    // Runs the event loop until `done` holds, a failure or cancellation arrives, or the time
    // runs out.
    bool waitUntil(const std::function<bool()> &done);
    bool sendLine(const QString &line, bool record = true);
    bool command(const QString &line);
    bool readReply();
    bool sendLines(const QStringList &lines, int status);
    void takeIncoming();

    TSockets *m_socket = nullptr;
    QEventLoop m_loop;
    QTimer m_tick;
    int m_counter = 0;
    int m_status = Idle;
    std::atomic<bool> m_cancelled{false};
    ErrorKind m_errorKind = NoError;
    QString m_errorText;
    QStringList m_transcript;
    QString m_address;
    quint16 m_port = 0;
    bool m_connected = false;
    bool m_peerClosed = false;
    int m_socketError = 0;
    QString m_socketErrorText;
    bool m_resolved = false;
    QHostInfo m_hostInfo;
    SmtpReply m_reply;
};

} // namespace Orbisong
