#include "cddb/TSubmitThread.h"

#include <QMutexLocker>

namespace Orbisong {

TSubmitThread::TSubmitThread(const SubmitJob &job, QObject *parent) : QThread(parent), m_job(job)
{
}

TSubmitThread::~TSubmitThread()
{
    requestStop();
    wait();
}

void TSubmitThread::requestStop()
{
    m_stop = true;
    QMutexLocker lock(&m_mutex);
    if (m_run)
        m_run->cancel();
}

void TSubmitThread::run()
{
    SubmitRun run;
    run.TimeOut = TimeOut;
    // Signals of an object on this thread reach the owner's thread queued.
    connect(&run, &SubmitRun::statusChanged, this, &TSubmitThread::statusChanged);
    {
        QMutexLocker lock(&m_mutex);
        m_run = &run;
        if (m_stop)
            run.cancel();
    }
    const SubmitRun::Result result = run.run(m_job);
    {
        QMutexLocker lock(&m_mutex);
        m_run = nullptr;
    }
    emit submitFinished(result, run.errorText());
}

} // namespace Orbisong
