// Start-up of the player: from process start to the player window shown, and on to the
// collection indexed (which happens behind the shown window), for generated collections.
// Prints milliseconds and the peak memory of the process.
// Usage: bench_startup [ALBUMS...] (default 0 10000 100000).

#include "base/AppPaths.h"
#include "CollectionGenerator.h"
#include "collection/SettingsStore.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Run
{
    double ms = -1;
    double indexedMs = -1;
    long peakKb = 0;
    std::string line;
};

Run startOnce(const QString &home)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    QElapsedTimer timer;
    timer.start();
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        const int quiet = ::open("/dev/null", O_WRONLY);
        dup2(quiet, STDERR_FILENO);
        close(out[0]);
        setenv("ORBISONG_HOME", home.toLocal8Bit().constData(), 1);
        setenv("ORBISONG_STARTUP_PROBE", "1", 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(ORBISONG_PROGRAM, ORBISONG_PROGRAM, "/NODRIVE", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(out[1]);
    Run run;
    char buffer[256];
    // "shown" comes when the window is up, "indexed N albums" once the index is built.
    for (;;) {
        const ssize_t got = read(out[0], buffer, sizeof buffer - 1);
        if (got <= 0)
            break;
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        run.line.append(buffer, std::size_t(got));
        if (run.ms < 0 && run.line.find("shown") != std::string::npos)
            run.ms = ms;
        if (run.line.find("indexed") != std::string::npos) {
            run.indexedMs = ms;
            break;
        }
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.peakKb = usage.ru_maxrss;
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(std::atoi(argv[i]));
    if (sizes.isEmpty())
        sizes = {0, 10000, 100000};
    std::printf("%-10s %12s %12s %12s %14s\n", "albums", "first ms", "best of 4", "indexed ms",
                "peak memory");
    for (int albums : sizes) {
        QTemporaryDir home;
        // The collection the program opens by default: the user's own file in the data folder.
        generateCollection(home.filePath(Orbisong::loginName() + QStringLiteral(".OBC")), albums);
        // A returning user's start: the collection's size is known, so the one-time question
        // about keeping a large collection in memory is not asked.
        Orbisong::SettingsStore store(home.filePath(QStringLiteral("orbisong.ini")),
                                      Orbisong::SettingsStore::defaultRootKey());
        store.writeInteger(QStringLiteral("Options"), QStringLiteral("Peak Count"), albums);
        store.sync();
        Run first = startOnce(home.path());
        double best = first.ms;
        double bestIndexed = first.indexedMs;
        long peak = first.peakKb;
        for (int i = 0; i < 3; ++i) {
            const Run run = startOnce(home.path());
            best = std::min(best, run.ms);
            bestIndexed = std::min(bestIndexed, run.indexedMs);
            peak = std::max(peak, run.peakKb);
        }
        std::string report = first.line.empty() ? "(no report)\n" : first.line;
        std::replace(report.begin(), report.end(), '\n', ' ');
        std::printf("%-10d %12.1f %12.1f %12.1f %11ld KB   %s\n", albums, first.ms, best,
                    bestIndexed, peak, report.c_str());
    }
    return 0;
}
