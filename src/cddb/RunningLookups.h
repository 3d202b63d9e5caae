#pragma once

#include <QObject>

namespace Orbisong {

// Tells the player how many remote lookups are running: with one or more it shows its stop
// button and the "AVI_RCDDB_GET" animation. Lives on the main thread.
class RunningLookups : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *Animation = "AVI_RCDDB_GET";

    static RunningLookups *instance();
    int count() const { return m_count; }

    // Stops every running lookup and waits up to `msecs` for them to end; workers waiting on
    // a window give up once the thread window is closing. True when none is left.
    static bool stopAndWait(int msecs);

signals:
    void countChanged(int count);

private:
    friend class TCDDBThread;
    void setCount(int count);

    int m_count = 0;
};

} // namespace Orbisong
