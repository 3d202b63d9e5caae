#include "collection/CollectionSaver.h"

namespace Orbisong {

CollectionSaver::CollectionSaver(std::function<void()> finished)
    : m_finished(std::move(finished)), m_thread([this] { run(); })
{
}

CollectionSaver::~CollectionSaver()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CollectionSaver::submit(TCfgFile::Snapshot snapshot, quint64 generation)
{
    {
        std::lock_guard lock(m_mutex);
        m_queued = std::move(snapshot);
        m_queuedGeneration = generation;
    }
    m_wake.notify_all();
}

bool CollectionSaver::isBusy() const
{
    std::lock_guard lock(m_mutex);
    return m_writing || m_queued.has_value();
}

void CollectionSaver::setHeld(bool held)
{
    {
        std::lock_guard lock(m_mutex);
        m_held = held;
    }
    m_wake.notify_all();
}

void CollectionSaver::waitUntilIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_writing && !m_queued; });
}

QList<CollectionSaver::Result> CollectionSaver::takeResults()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_results, {});
}

void CollectionSaver::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || (m_queued && !m_held); });
        if (!m_queued)
            return;
        TCfgFile::Snapshot snapshot = std::move(*m_queued);
        m_queued.reset();
        Result result;
        result.generation = m_queuedGeneration;
        m_writing = true;
        lock.unlock();
        result.written = snapshot.write(&result.error);
        // The blocks go while unlocked: freeing the last copies of a large file takes a while.
        snapshot = TCfgFile::Snapshot();
        lock.lock();
        m_results.append(result);
        m_writing = false;
        const bool idle = !m_queued;
        if (idle)
            m_idle.notify_all();
        if (m_finished) {
            lock.unlock();
            m_finished();
            lock.lock();
        }
    }
}

} // namespace Orbisong
