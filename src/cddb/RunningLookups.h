#pragma once

#include <QList>
#include <QObject>

namespace Orbisong {

class CddbEntryReceiver;
class TCDDBThread;
class ThreadWindow;

// The program's CDDB lookups. Every lookup is started with it and reaches through it what lies
// outside its thread: the receiver of found entries and the thread window for its windows and
// messages (either may be missing: a lookup without a receiver leaves its entry to whoever
// started it, one without a window asks nothing). It counts the running remote lookups: with
// one or more the player shows its stop button and the "AVI_RCDDB_GET" animation.
// The composition root owns it, after the receiver and the window; it lives on the main thread.
class RunningLookups : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *Animation = "AVI_RCDDB_GET";

    RunningLookups(CddbEntryReceiver *receiver, ThreadWindow *window, QObject *parent = nullptr);
    // Asks the running lookups to stop; they end on their own.
    ~RunningLookups() override;

    CddbEntryReceiver *receiver() const { return m_receiver; }
    ThreadWindow *threadWindow() const { return m_window; }

    int count() const { return int(m_running.size()); }
    // Asks every running remote lookup to stop; none of them shows a message afterwards.
    void stopAll();
    // Waits up to `msecs` for the running remote lookups to end; true when none is left.
    bool waitForAll(int msecs);
    // Stops every running lookup and waits up to `msecs` for them to end; workers waiting on
    // a window give up once the thread window is closing. True when none is left.
    bool stopAndWait(int msecs);

signals:
    void countChanged(int count);

private:
    friend class TCDDBThread;
    void add(TCDDBThread *lookup);
    void remove(TCDDBThread *lookup);

    CddbEntryReceiver *m_receiver;
    ThreadWindow *m_window;
    QList<TCDDBThread *> m_running;
};

} // namespace Orbisong
