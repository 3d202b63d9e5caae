#pragma once

#include "cddb/SubmitJob.h"
#include "cddb/SubmitRun.h"

#include <QMutex>
#include <QThread>

#include <atomic>

namespace Orbisong {

// A submission sent off the window thread. The object lives on the thread that starts it,
// which hears its status texts and its end there.
class TSubmitThread : public QThread
{
    Q_OBJECT

public:
    explicit TSubmitThread(const SubmitJob &job, QObject *parent = nullptr);
    ~TSubmitThread() override;

    const SubmitJob &job() const { return m_job; }
    int TimeOut = 60;
    // Ends the exchange at its next wait; the end is still reported.
    void requestStop();

signals:
    void statusChanged(const QString &text);
    void submitFinished(int result, const QString &errorText);

protected:
    void run() override;

private:
    SubmitJob m_job;
    QMutex m_mutex;
    SubmitRun *m_run = nullptr; // guarded by m_mutex; lives on the worker
    std::atomic<bool> m_stop{false};
};

} // namespace Orbisong
