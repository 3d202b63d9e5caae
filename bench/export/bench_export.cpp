// Times the export of a generated collection of realistic albums: reading the albums from the
// collection in memory, the shipped HTML template (one page per album and the index) and the
// delimited text with track titles. Usage: bench_export [ALBUMS...] (default 10000).

#include "base/AppPaths.h"
#include "collection/Collection.h"
#include "collection/Settings.h"
#include "CollectionGenerator.h"
#include "export/ExportJob.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

using namespace Orbisong;

namespace {

double cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// One export from the reading of the collection to the last file written.
void measure(const char *what, Collection &collection, const ExportProfile &profile,
             const QString &templatePath)
{
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = cpuMilliseconds();
    const ExportJob job(collection, profile, templatePath);
    const double readWall = double(timer.nsecsElapsed()) / 1e6;
    const ExportResult result = job.run();
    const double wall = double(timer.nsecsElapsed()) / 1e6;
    std::printf("%-22s %9.1f ms  (reading %7.1f ms)  %9.1f ms cpu  %d albums, %lld files%s\n", what,
                wall, readWall, cpuMilliseconds() - cpuStart, result.albums,
                static_cast<long long>(result.files.size()), result.succeeded() ? "" : "  FAILED");
}

void run(int albums)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.obc"));
    generateCollection(path, albums);
    std::printf("== %d albums\n", albums);
    Settings settings = Settings::defaults(dir.path(), QStringLiteral("ann"), QString());
    settings.peakCount = albums;
    Collection collection(settings, path);
    collection.BuildAlbumIndex();
    collection.pin();

    ExportProfile html;
    html.flags = ExportAllAlbums | ExportFormatHtml;
    html.outputFolder = dir.filePath(QStringLiteral("site"));
    QDir().mkpath(html.outputFolder);
    measure("HTML (shipped template)", collection, html,
            AppPaths::shippedFile(QStringLiteral("templates/collection.obt")));

    ExportProfile text;
    text.flags = ExportAllAlbums | ExportFormatAscii | ExportTrackTitles;
    text.outputFile = dir.filePath(QStringLiteral("albums.txt"));
    measure("delimited text", collection, text, {});

    ExportProfile obc;
    obc.flags = ExportAllAlbums | ExportFormatCollection;
    obc.outputFile = dir.filePath(QStringLiteral("albums.obc"));
    measure("collection file", collection, obc, {});
    collection.ShutdownCollection();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("ORBISONG_HOME", home.path().toUtf8());
    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.append(QString::fromLocal8Bit(argv[i]).toInt());
    if (counts.isEmpty())
        counts.append(10000);
    for (const int count : counts)
        run(count);
    return 0;
}
