#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QTcpSocket;

namespace Orbisong {

// A TCP client that reports every failure as a socket error number and text. Asynchronous
// (events on the thread that owns it) or blocking under a time-out, for worker threads.
class TSockets : public QObject
{
    Q_OBJECT

public:
    explicit TSockets(QObject *parent = nullptr);
    ~TSockets() override;

    QString IPAddr;
    QString Port;
    bool NonBlocking = true;
    int Timeout = 30; // seconds a blocking call may take; 0 waits without limit
    int MaximumReceiveLength = 8192;
    bool ReservedPort = false; // bind to a local port from 1024 down to 513 first

    // Starts the connection; in blocking mode returns once it is made or has failed.
    bool SConnect();
    // Returns the number of bytes handed to the connection, -1 on failure.
    qint64 SSend(const QByteArray &data);
    // At most `size` bytes (MaximumReceiveLength when 0); in blocking mode waits for data.
    QByteArray SReceive(int size = 0);
    // Closes with a reset instead of draining.
    void Disconnect();
    bool isConnected() const;
    int localPort() const;

    // The port a service name or number stands for; 0 when neither.
    static quint16 resolvePort(const QString &port);
    // "Error <code> in function <function>" CR LF and the text.
    static QString fullMessage(const QString &function, int code);

signals:
    void OnDataAvailable();
    void OnDataNeeded();
    void OnSessionConnected();
    void OnSessionClosed();
    void OnErrorOccurred(int code, const QString &text);

private:
    void report(const QString &function, int code);
    void reportText(const QString &text);
    bool bindReserved();
    bool waitFor(const std::function<bool(int)> &wait, const QString &function);

    QTcpSocket *m_socket = nullptr;
    bool m_connecting = false;
};

} // namespace Orbisong
