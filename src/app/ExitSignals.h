#pragma once

#include <QObject>

class QSocketNotifier;

namespace Orbisong {

// Turns SIGTERM, SIGINT and SIGHUP into a queued Qt signal, so a session logout or a kill
// ends the player through its orderly close instead of dropping the album being played.
// One watcher per process; it restores the default handlers when destroyed.
class ExitSignals : public QObject
{
    Q_OBJECT

public:
    explicit ExitSignals(QObject *parent = nullptr);
    ~ExitSignals() override;

signals:
    void exitRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace Orbisong
