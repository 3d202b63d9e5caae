// Opens, indexes, changes and saves generated collections of realistic albums and prints the
// figures. Usage: bench_collection [ALBUMS...] (default 10000 100000).

#include "collection/Collection.h"
#include "CollectionGenerator.h"
#include "collection/Settings.h"
#include "collection/TCfgFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace Orbisong;

namespace {

double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// The floor: read the file and split it into lines, nothing more.
double readAndSplit(const QString &path, qsizetype *lines)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray data = file.readAll();
    std::vector<QByteArrayView> split;
    const char *p = data.constData();
    const char *end = p + data.size();
    while (p < end) {
        const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        const char *lineEnd = lf ? lf : end;
        split.emplace_back(p, lineEnd - p);
        p = lineEnd + 1;
    }
    *lines = qsizetype(split.size());
    return double(timer.nsecsElapsed()) / 1e6;
}

// With `existing` set, that file is measured instead of a generated one.
void run(int albums, const QString &existing = {})
{
    QTemporaryDir dir;
    const QString path = existing.isEmpty() ? dir.filePath(QStringLiteral("bench.obc")) : existing;
    std::printf("== %s\n", existing.isEmpty() ? qPrintable(QString::number(albums) + " albums")
                                              : qPrintable(existing));
    QStringList sample;
    if (existing.isEmpty())
        sample = generateCollection(path, albums);
    std::printf("file size                 %8.1f MB\n", double(QFile(path).size()) / 1048576.0);

    qsizetype lines = 0;
    double floor = 1e30;
    for (int i = 0; i < 3; ++i)
        floor = std::min(floor, readAndSplit(path, &lines));
    std::printf("read and split (floor)    %8.1f ms  (%lld lines)\n", floor,
                static_cast<long long>(lines));

    Settings settings = Settings::defaults(dir.path(), QStringLiteral("ann"), QString());
    settings.SetOptionFlag(_GLOB_OPTION_COLLECTIONALWAYSOPEN, true);
    settings.peakCount = albums;
    resetPeak();
    const double before = peakMegabytes();
    QElapsedTimer timer;
    timer.start();
    Collection collection(settings, path);
    collection.BuildAlbumIndex();
    const double open = double(timer.nsecsElapsed()) / 1e6;
    std::printf("open + BuildAlbumIndex    %8.1f ms  (%d albums indexed)\n", open,
                collection.albumCount());
    std::printf("ratio to the floor        %8.2f x\n", open / floor);
    if (sample.isEmpty()) {
        const QList<const AlbumIndexNode *> all = collection.albums();
        for (qsizetype i = 0; i < all.size(); i += 97)
            sample.append(all.at(i)->id);
    }
    const double peak = peakMegabytes();
    std::printf("peak memory               %8.1f MB  (%.1f MB more than before opening)\n",
                peak, peak - before);

    timer.restart();
    int changed = 0;
    for (int i = 0; i < sample.size(); ++i)
        changed += collection.SetAlbumTitle(
            sample.at(i),
            QStringLiteral("Retitled %1").arg(QRandomGenerator::global()->generate()));
    const double setter = double(timer.nsecsElapsed()) / 1e6 / sample.size();
    std::printf("setter on pinned file     %8.4f ms  (mean of %d, %d changed)\n", setter,
                int(sample.size()), changed);

    timer.restart();
    const bool saved = collection.ShutdownCollection();
    std::printf("save                      %8.1f ms  (%s)\n", double(timer.nsecsElapsed()) / 1e6,
                saved ? "written" : "FAILED");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i) {
        bool isNumber = false;
        const int albums = QByteArray(argv[i]).toInt(&isNumber);
        if (isNumber)
            sizes.append(albums);
        else
            run(0, QString::fromLocal8Bit(argv[i]));
    }
    if (argc > 1 && sizes.isEmpty())
        return 0;
    if (sizes.isEmpty())
        sizes = {10000, 100000};
    for (const int albums : sizes)
        run(albums);
    return 0;
}
