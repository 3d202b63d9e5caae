#pragma once

#include <string>

namespace Orbisong {

// Lets one process at a time type keys for the user: a lock file in the user's runtime
// folder, held until the process ends.
class ProcessLock
{
public:
    ProcessLock() = default;
    ~ProcessLock();
    ProcessLock(const ProcessLock &) = delete;
    ProcessLock &operator=(const ProcessLock &) = delete;

    // True when this process holds the lock; otherwise `problem` says why not, naming the
    // process that holds it.
    bool acquire(std::string &problem);

    static std::string lockPath();

private:
    int m_fd = -1;
};

} // namespace Orbisong
