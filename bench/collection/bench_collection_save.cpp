// Edits of a large collection while it is written in the background: what the editing thread
// pays for a setter, how long it is held up at most while a write runs, how long the write
// takes, and the memory at its peak next to the file's size. Also the two bulk operations
// that once grew with the square of their size: many keys in one section, and erasing many
// blocks without an ID. Usage: bench_collection_save [ALBUMS] (default 100000).

#include "collection/Collection.h"
#include "collection/Settings.h"
#include "collection/TCfgFile.h"
#include "CollectionGenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

using namespace Orbisong;

namespace {

double residentMegabytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void editWhileSaving(int albums)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.obc"));
    const QStringList sample = generateCollection(path, albums);
    const double fileMb = double(QFile(path).size()) / 1048576.0;
    std::printf("== %d albums, file %.1f MB\n", albums, fileMb);

    Settings settings = Settings::defaults(dir.path(), QStringLiteral("ann"), QString());
    settings.peakCount = albums;
    Collection collection(settings, path);
    QElapsedTimer timer;
    timer.start();
    collection.BuildAlbumIndex();
    std::printf("load and index              %9.1f ms\n", msSince(timer));
    const double rssBefore = residentMegabytes("VmRSS:");

    // The first setter finds the writer idle: it pays for the snapshot.
    timer.restart();
    collection.SetAlbumTitle(sample.at(0), QStringLiteral("First edit"));
    const double first = msSince(timer);

    // Edits go on, one a millisecond, while the write runs; the event loop turns between
    // them as the program's would. The longest gap is what the editing thread was held up.
    QElapsedTimer saving;
    saving.start();
    double longest = 0;
    double setterTotal = 0;
    double setterMax = 0;
    int edits = 0;
    QElapsedTimer gap;
    gap.start();
    int round = 0;
    while (saving.elapsed() < 60000) {
        QCoreApplication::processEvents();
        QElapsedTimer one;
        one.start();
        collection.SetAlbumTitle(sample.at(1 + edits % (sample.size() - 1)),
                                 QStringLiteral("Edit %1").arg(++round));
        const double ms = msSince(one);
        setterTotal += ms;
        setterMax = std::max(setterMax, ms);
        ++edits;
        longest = std::max(longest, msSince(gap) - 1.0);
        QThread::usleep(1000);
        gap.restart();
        // Two writes: the first one's and the one that carries the edits made meanwhile.
        if (edits > 10 && round > 2000)
            break;
    }
    timer.restart();
    const bool flushed = collection.flush();
    const double flushMs = msSince(timer);
    const double peak = residentMegabytes("VmHWM:");

    std::printf("setter starting a write     %9.3f ms on the calling thread\n", first);
    std::printf("setter while one runs       %9.4f ms mean, %.3f ms longest (%d edits)\n",
                setterTotal / edits, setterMax, edits);
    std::printf("longest stall while saving  %9.3f ms\n", std::max(0.0, longest));
    std::printf("edits over                  %9.1f ms, then flush %.1f ms (%s)\n",
                double(saving.elapsed()), flushMs, flushed ? "written" : "FAILED");
    std::printf("peak memory                 %9.1f MB = %.2f x the file (%.1f MB before "
                "editing)\n",
                peak, peak / fileMb, rssBefore);

    // One background write on its own, timed from the change to the file on disk.
    collection.SetAlbumTitle(sample.at(0), QStringLiteral("Timed edit"));
    timer.restart();
    collection.flush();
    std::printf("background save             %9.1f ms (snapshot, write, sync, rename)\n",
                msSince(timer));
    collection.ShutdownCollection();
}

void bulkOperations()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bulk.obc"));
    TCfgFile keys(path);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 20000; ++i)
        keys.WriteString(QStringLiteral("B"), QStringLiteral("S"), QStringLiteral("K%1").arg(i),
                         QStringLiteral("v"));
    std::printf("20000 keys in one section   %9.1f ms\n", msSince(timer));

    QByteArray text;
    for (int i = 0; i < 100000; ++i)
        text += "<NoId" + QByteArray::number(i) + ">\r\n [Album]\r\n  TL=x\r\n";
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    file.close();
    Settings settings = Settings::defaults(dir.path(), QStringLiteral("ann"), QString());
    Collection collection(settings, path);
    timer.restart();
    collection.BuildAlbumIndex();
    std::printf("index erasing 100000 blocks %9.1f ms (no ID)\n", msSince(timer));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    editWhileSaving(argc > 1 ? QByteArray(argv[1]).toInt() : 100000);
    bulkOperations();
    return 0;
}
