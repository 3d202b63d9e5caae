#pragma once

#include "cddb/TServerItem.h"

#include <QList>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace Orbisong {

// "Update List": asks a CDDB server for its list of sites over CDDBP.
class ServerListUpdate : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        // The new list; empty when the server's reply held no usable site or failed.
        std::optional<QList<TServerItem>> items;
        int errorCode = 0;
        QString errorText; // a socket failure or a refusal, empty otherwise
    };

    // The host used when the "List Server" or "List Port" setting is empty.
    static QString defaultHost();
    static QString defaultPort();

    // The whole dialogue on the calling thread, with blocking socket calls; `status` hears
    // "Connecting", "Loading" and "Closing".
    static Result run(const QString &host, const QString &port,
                      const std::function<void(const QString &)> &status = {});

    explicit ServerListUpdate(QObject *parent = nullptr);
    // A dialogue still running is left to end on its own; its result goes nowhere.
    ~ServerListUpdate() override;

    // Runs the dialogue on a worker thread; false while one is still running.
    bool start(const QString &host, const QString &port);
    bool isRunning() const { return m_running; }

signals:
    void statusChanged(const QString &text);
    void finished(const ServerListUpdate::Result &result);

private:
    struct Link;
    std::shared_ptr<Link> m_link;
    bool m_running = false;
};

} // namespace Orbisong
