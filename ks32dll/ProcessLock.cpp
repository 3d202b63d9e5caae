#include "ProcessLock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <unistd.h>

namespace Orbisong {

namespace {

std::string processName()
{
    std::ifstream comm("/proc/self/comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? std::string("unknown") : name;
}

} // namespace

ProcessLock::~ProcessLock()
{
    if (m_fd >= 0)
        close(m_fd);
}

std::string ProcessLock::lockPath()
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime)
        return std::string(runtime) + "/ks32.lock";
    return "/tmp/ks32-" + std::to_string(getuid()) + ".lock";
}

bool ProcessLock::acquire(std::string &problem)
{
    if (m_fd >= 0)
        return true;
    const std::string path = lockPath();
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        problem = "cannot open the lock file " + path;
        return false;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        char buffer[256] = {};
        const ssize_t size = pread(fd, buffer, sizeof buffer - 1, 0);
        std::string text(buffer, size > 0 ? std::size_t(size) : 0);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\0'))
            text.pop_back();
        problem = "the key-sending library is in use by process " +
                  (text.empty() ? std::string("unknown") : text);
        close(fd);
        return false;
    }
    const std::string owner = std::to_string(getpid()) + " (" + processName() + ")\n";
    if (ftruncate(fd, 0) == 0)
        (void)!pwrite(fd, owner.data(), owner.size(), 0);
    m_fd = fd;
    return true;
}

} // namespace Orbisong
