#pragma once

#include "app/CommandLine.h"

#include <QObject>

class QLocalServer;

namespace Orbisong {

// One player per user and display: the first instance listens on a local socket, a second
// start delivers its hand-over there and ends.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    explicit InstanceChannel(QObject *parent = nullptr);
    ~InstanceChannel() override;

    // The socket name for this user and display.
    static QString serverName();
    // Delivers a hand-over to a running first instance; false when none answers.
    static bool deliver(const Handover &handover, int timeoutMs = 1500);

    // Starts listening as the first instance; false when another instance already listens.
    bool listen();

signals:
    void handoverReceived(const Orbisong::Handover &handover);

private:
    void acceptConnections();

    QLocalServer *m_server = nullptr;
};

} // namespace Orbisong
