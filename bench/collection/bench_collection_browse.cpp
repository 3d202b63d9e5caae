// Times what the collection window does over a generated collection of realistic albums: the
// snapshot, grouping, sorting, searching and each statistic. Usage: bench_collection_browse
// [ALBUMS...] (default 100000).

#include "collection/AlbumGrouping.h"
#include "collection/AlbumSearch.h"
#include "collection/AlbumSortOrder.h"
#include "collection/Collection.h"
#include "collection/CollectionStatistics.h"
#include "collection/Settings.h"
#include "CollectionGenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <functional>

using namespace Orbisong;

namespace {

double cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The best of three runs, in milliseconds of wall and of processor time (the machine may be
// shared), with what the work counted.
void measure(const char *what, const std::function<qsizetype()> &work)
{
    double wall = 1e30;
    double cpu = 1e30;
    qsizetype result = 0;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = cpuMilliseconds();
        result = work();
        cpu = std::min(cpu, cpuMilliseconds() - cpuStart);
        wall = std::min(wall, double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%-34s %9.1f ms  %9.1f ms cpu  (%lld)\n", what, wall, cpu,
                static_cast<long long>(result));
}

void run(int albums)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.obc"));
    generateCollection(path, albums);
    std::printf("== %d albums\n", albums);
    Settings settings = Settings::defaults(dir.path(), QStringLiteral("ann"), QString());
    settings.SetOptionFlag(_GLOB_OPTION_COLLECTIONALWAYSOPEN, true);
    settings.peakCount = albums;
    settings.customFields = {QStringLiteral("Label"), QStringLiteral("Mood")};
    Collection collection(settings, path);
    collection.BuildAlbumIndex();

    QList<const AlbumIndexNode *> snapshot;
    measure("snapshot (audio albums)", [&] {
        snapshot = audioAlbums(collection);
        return snapshot.size();
    });
    measure("group by artist (members)",
            [&] { return groupMembers(snapshot, GroupField::Artist).size(); });
    const QList<GroupMember> years = groupMembers(snapshot, GroupField::Year);
    measure("albums of one year member",
            [&] { return albumsOfMember(snapshot, GroupField::Year, years.first()).size(); });
    AlbumSortOrder byTitle;
    byTitle.moveToFront('T');
    measure("sort by title (TATCYO -> TACYO)", [&] {
        QList<const AlbumIndexNode *> sorted = snapshot;
        byTitle.sort(sorted);
        return sorted.size();
    });
    measure("sort ATCYO", [&] {
        QList<const AlbumIndexNode *> sorted = snapshot;
        AlbumSortOrder().sort(sorted);
        return sorted.size();
    });
    AlbumSearch search(collection);
    measure("search title \"shadow\"", [&] { return search.run(SearchTitle, "shadow").size(); });
    measure("search any field, no match", [&] { return search.run(SearchAnyField, "zqx").size(); });
    measure("search track titles \"dream\"",
            [&] { return search.run(SearchTrackTitle, "dream").size(); });
    measure("search track other \"guest\"",
            [&] { return search.run(SearchTrackOther, "guest").size(); });
    CollectionStatistics statistics(collection);
    measure("most played albums", [&] { return statistics.mostPlayedAlbums().size(); });
    measure("most played tracks", [&] { return statistics.mostPlayedTracks(false).size(); });
    measure("most played tracks, merged", [&] { return statistics.mostPlayedTracks(true).size(); });
    measure("recently played albums", [&] { return statistics.recentlyPlayed().size(); });
    collection.ShutdownCollection();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(QByteArray(argv[i]).toInt());
    if (sizes.isEmpty())
        sizes = {100000};
    for (const int albums : sizes)
        run(albums);
    return 0;
}
