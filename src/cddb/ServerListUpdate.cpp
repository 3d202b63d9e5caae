#include "cddb/ServerListUpdate.h"

#include "cddb/CddbServerList.h"
#include "net/TSockets.h"

#include <QMutex>
#include <QThread>

namespace Orbisong {

namespace {

constexpr int ReplyLimit = 32767;

class Dialogue
{
public:
    Dialogue(const QString &host, const QString &port)
    {
        m_socket.IPAddr = host;
        m_socket.Port = port;
        m_socket.NonBlocking = false;
        QObject::connect(&m_socket, &TSockets::OnErrorOccurred,
                         [this](int code, const QString &text) {
                             if (m_result.errorText.isEmpty()) {
                                 m_result.errorCode = code;
                                 m_result.errorText = text;
                             }
                         });
    }

    bool connect() { return m_socket.SConnect(); }

    bool send(const QByteArray &command) { return m_socket.SSend(command + "\r\n") >= 0; }

    // One whole reply; false when the connection failed or ended first.
    bool receive(QByteArray *reply)
    {
        reply->clear();
        while (!CddbServerList::replyComplete(*reply)) {
            if (reply->size() >= ReplyLimit || !m_socket.isConnected())
                return false;
            const QByteArray data = m_socket.SReceive(ReplyLimit - int(reply->size()));
            if (data.isEmpty())
                return false;
            reply->append(data);
        }
        return true;
    }

    void close() { m_socket.Disconnect(); }
    ServerListUpdate::Result &result() { return m_result; }

private:
    TSockets m_socket;
    ServerListUpdate::Result m_result;
};

QString firstLine(const QByteArray &reply)
{
    return QString::fromUtf8(reply.left(reply.indexOf('\n'))).trimmed();
}

} // namespace

struct ServerListUpdate::Link
{
    QMutex mutex;
    ServerListUpdate *owner = nullptr;

    // Hands `call` to the owner's thread while the owner lives.
    void post(std::function<void(ServerListUpdate *)> call)
    {
        QMutexLocker lock(&mutex);
        if (!owner)
            return;
        ServerListUpdate *target = owner;
        QMetaObject::invokeMethod(
            target, [target, call] { call(target); }, Qt::QueuedConnection);
    }
};

QString ServerListUpdate::defaultHost()
{
    return QStringLiteral("gnudb.gnudb.org");
}

QString ServerListUpdate::defaultPort()
{
    return QStringLiteral("888");
}

ServerListUpdate::Result ServerListUpdate::run(const QString &host, const QString &port,
                                               const std::function<void(const QString &)> &status)
{
    auto report = [&status](const QString &text) {
        if (status)
            status(text);
    };
    const bool useDefault = host.trimmed().isEmpty() || port.trimmed().isEmpty();
    Dialogue dialogue(useDefault ? defaultHost() : host.trimmed(),
                      useDefault ? defaultPort() : port.trimmed());
    report(QStringLiteral("Connecting"));
    QByteArray reply;
    if (dialogue.connect() && dialogue.receive(&reply)) {
        if (reply.startsWith("200") || reply.startsWith("201")) {
            report(QStringLiteral("Loading"));
            QByteArray sites;
            if (dialogue.send("proto 3") && dialogue.receive(&reply) && dialogue.send("sites") &&
                dialogue.receive(&sites)) {
                report(QStringLiteral("Closing"));
                if (dialogue.send("quit"))
                    dialogue.receive(&reply);
                dialogue.result().items = CddbServerList::fromSitesReply(sites);
                if (!dialogue.result().items && dialogue.result().errorText.isEmpty())
                    dialogue.result().errorText = firstLine(sites);
            }
        } else {
            dialogue.result().errorText = firstLine(reply);
        }
    }
    dialogue.close();
    Result result = dialogue.result();
    // A failure after the list arrived (the goodbye cut short) does not undo the list.
    if (result.items) {
        result.errorCode = 0;
        result.errorText.clear();
    } else if (result.errorText.isEmpty()) {
        result.errorText = QStringLiteral("The server closed the connection.");
    }
    return result;
}

ServerListUpdate::ServerListUpdate(QObject *parent)
    : QObject(parent), m_link(std::make_shared<Link>())
{
    m_link->owner = this;
}

ServerListUpdate::~ServerListUpdate()
{
    QMutexLocker lock(&m_link->mutex);
    m_link->owner = nullptr;
}

bool ServerListUpdate::start(const QString &host, const QString &port)
{
    if (m_running)
        return false;
    m_running = true;
    std::shared_ptr<Link> link = m_link;
    QThread *worker = QThread::create([link, host, port] {
        const Result result = run(host, port, [link](const QString &text) {
            link->post([text](ServerListUpdate *owner) { emit owner->statusChanged(text); });
        });
        link->post([result](ServerListUpdate *owner) {
            owner->m_running = false;
            emit owner->finished(result);
        });
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
    return true;
}

} // namespace Orbisong
