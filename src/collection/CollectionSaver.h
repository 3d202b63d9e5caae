#pragma once

#include "collection/TCfgFile.h"

#include <QList>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace Orbisong {

// Writes snapshots of the collection file on a thread of its own, so that the thread that
// changed the collection never waits for the disk. A snapshot submitted while another is
// still queued replaces it: only the newest content needs to reach the disk.
class CollectionSaver
{
public:
    struct Result
    {
        quint64 generation = 0;
        bool written = false;
        QString error;
    };

    // `finished` is called on the saver's thread after each write; it must only hand the
    // news to the owner's thread, which then calls takeResults().
    explicit CollectionSaver(std::function<void()> finished = {});
    // Writes what is still queued, then ends the thread.
    ~CollectionSaver();

    CollectionSaver(const CollectionSaver &) = delete;
    CollectionSaver &operator=(const CollectionSaver &) = delete;

    void submit(TCfgFile::Snapshot snapshot, quint64 generation);
    // True while a snapshot is queued or being written.
    bool isBusy() const;
    // While held, queued snapshots wait (so tests can look at a write not yet done).
    void setHeld(bool held);
    // Returns once nothing is queued or being written.
    void waitUntilIdle();
    // The results of the writes finished since the last call, oldest first.
    QList<Result> takeResults();

private:
    void run();

    std::function<void()> m_finished;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<TCfgFile::Snapshot> m_queued;
    quint64 m_queuedGeneration = 0;
    bool m_writing = false;
    bool m_held = false;
    bool m_stopping = false;
    QList<Result> m_results;
    std::thread m_thread;
};

} // namespace Orbisong
