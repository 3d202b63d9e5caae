#include "collection/Conversion.h"
#include "collection/TCfgFile.h"
#include "CollectionFixture.h"
#include "ScriptedQuestionPort.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

constexpr int BaseAlbums = 10000;
constexpr int MergedAlbums = 100;
constexpr int SavedAlbums = 50;
// The old version's folder in the test data converts to exactly one album.
constexpr int ConvertedAlbums = 1;

QString albumId(int n)
{
    return QString::number(0x10000000 + n * 7919, 16).toUpper() + QStringLiteral("00096");
}

QByteArray albums(int from, int count, const QByteArray &title)
{
    QByteArray text;
    for (int n = from; n < from + count; ++n) {
        const QByteArray id = albumId(n).toLatin1();
        text += "<" + id + ">\r\n [Album]\r\n  ID=" + id + "\r\n  TL=" + title + "\r\n" +
                " [Media]\r\n  MD=65537\r\n [Tracks]\r\n  CT=12\r\n";
        for (int t = 1; t <= 12; ++t)
            text += "  TT[" + QByteArray::number(t) + "]=A track title long enough to matter\r\n";
    }
    return text;
}

// The operations a child repeats, in this order, each on the collection the previous one left:
// convert an old version's folder (the collection becomes its albums), import a whole other
// collection, save edits to some albums, merge a few new ones.
enum Operation { Convert, Import, Save, Merge };

Operation operationOf(int generation)
{
    return Operation(generation % 4);
}

struct Scene
{
    QString importFile;
    QString mergeFile;
    QString oldFolder;
};

void runOperation(Collection &collection, const Scene &scene, int generation)
{
    switch (operationOf(generation)) {
    case Convert:
        ConvertCollection(collection, {scene.oldFolder});
        break;
    case Import:
        collection.ImportCollection(scene.importFile);
        break;
    case Save:
        collection.OpenCollectionFile();
        for (int n = 0; n < SavedAlbums; ++n)
            collection.SetAlbumTitle(albumId(n), QStringLiteral("Gen %1").arg(generation));
        collection.CloseCollection();
        break;
    case Merge:
        collection.ImportCollection(scene.mergeFile);
        break;
    }
    collection.flush();
}

bool hasWholeAlbums(TCfgFile &file, int from, int count, const QString &title, int titled)
{
    for (int n = from; n < from + count; ++n) {
        const QString id = albumId(n);
        if (file.ReadString(id, "Album", "ID", {}) != id ||
            file.ReadInteger(id, "Media", "MD", 0) != 65537 ||
            file.ReadString(id, "Tracks", "TT[12]", {}).isEmpty())
            return false;
        if (n < from + titled && file.ReadString(id, "Album", "TL", {}) != title)
            return false;
    }
    return true;
}

// Whether the file is the collection as it stands after `generation` (-1: as first written).
bool isStateAfter(TCfgFile &file, int generation)
{
    const int blocks = file.blockCount();
    if (generation < 0)
        return blocks == BaseAlbums && hasWholeAlbums(file, 0, BaseAlbums, "Title", BaseAlbums);
    switch (operationOf(generation)) {
    case Convert:
        return blocks == ConvertedAlbums && !file.blockExists(albumId(0));
    case Import:
        return blocks == BaseAlbums + ConvertedAlbums &&
               hasWholeAlbums(file, 0, BaseAlbums, "Title", BaseAlbums);
    case Save:
        return blocks == BaseAlbums + ConvertedAlbums &&
               hasWholeAlbums(file, 0, BaseAlbums, QStringLiteral("Gen %1").arg(generation),
                              SavedAlbums);
    case Merge:
        return blocks == BaseAlbums + ConvertedAlbums + MergedAlbums &&
               hasWholeAlbums(file, 0, BaseAlbums, QStringLiteral("Gen %1").arg(generation - 1),
                              SavedAlbums) &&
               hasWholeAlbums(file, BaseAlbums, MergedAlbums, "Merged", MergedAlbums);
    }
    return false;
}

int killCount()
{
    bool ok = false;
    const int asked = qEnvironmentVariableIntValue("ORBISONG_CRASH_KILLS", &ok);
    if (ok && asked > 0)
        return asked;
#ifdef __SANITIZE_ADDRESS__
    // Instrumented, every operation on 10,000 albums takes several times as long; a few kills
    // still put the interrupted paths under the sanitizers.
    return 8;
#else
    return 30;
#endif
}

} // namespace

// A child converts, imports, saves and merges on a collection of 10,000 albums without
// pause; the parent kills it at random moments. What is left must always load and be either
// the collection before the operation the kill interrupted or the one after it.
// ORBISONG_CRASH_KILLS sets the number of kills (30 by default, 8 under the address
// sanitizer; the full run is 1,000).
TEST(CrashKills, EverySurvivingCollectionIsTheOldOrTheNewOne)
{
    CollectionFixture f;
    f.write(albums(0, BaseAlbums, "Title"));
    f.settings.peakCount = BaseAlbums + MergedAlbums + ConvertedAlbums;
    Scene scene;
    scene.importFile = f.home.file(QStringLiteral("other.obc"));
    scene.mergeFile = f.home.file(QStringLiteral("few.obc"));
    scene.oldFolder = TestHome::sourceDir() + QStringLiteral("/tests/data/collection/old");
    for (const auto &[path, bytes] :
         {std::pair{scene.importFile, albums(0, BaseAlbums, "Title")},
          std::pair{scene.mergeFile, albums(BaseAlbums, MergedAlbums, "Merged")}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    const int kills = killCount();
    int done = -1; // the last generation whose result is known to be on disk
    int span[4] = {1000, 1000, 1000, 1000}; // milliseconds each operation may take
    bool seen[4] = {};                      // whether the operation ever ended
    int oldKept = 0;
    int newFound = 0;
    int damaged = 0;
    for (int k = 0; k < kills; ++k) {
        int report[2];
        ASSERT_EQ(pipe(report), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            close(report[0]);
            ScriptedQuestionPort port;
            Collection collection(f.settings, f.path);
            collection.setQuestionPort(&port);
            collection.BuildAlbumIndex();
            if (write(report[1], "ready\n", 6) != 6)
                _exit(1);
            for (int generation = done + 1;; ++generation) {
                QElapsedTimer took;
                took.start();
                runOperation(collection, scene, generation);
                const QByteArray line = "done " + QByteArray::number(generation) + " " +
                                        QByteArray::number(took.elapsed()) + "\n";
                if (write(report[1], line.constData(), size_t(line.size())) != line.size())
                    _exit(1);
            }
        }
        close(report[1]);
        QByteArray said;
        char buffer[256];
        while (!said.contains("ready\n")) {
            const ssize_t got = read(report[0], buffer, sizeof buffer);
            ASSERT_GT(got, 0) << "the child died before it was ready";
            said.append(buffer, got);
        }
        // Somewhere within one and a half times the longest the next operation has taken: the
        // kill lands in it, or just after it so that the child gets on to the next one. A kill
        // before an operation ever ended only says it takes longer, so the span grows.
        const int next = operationOf(done + 1);
        QThread::usleep(useconds_t(random.bounded(quint32(span[next] * 1500))));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        for (ssize_t got; (got = read(report[0], buffer, sizeof buffer)) > 0;)
            said.append(buffer, got);
        close(report[0]);
        const int before = done;
        for (const QByteArray &line : said.split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words.size() == 3 && words[0] == "done") {
                done = words[1].toInt();
                span[operationOf(done)] = std::max(span[operationOf(done)], words[2].toInt());
                seen[operationOf(done)] = true;
            }
        }
        if (done == before && !seen[next])
            span[next] = span[next] * 3 / 2;

        TCfgFile file(f.path);
        if (!file.load()) {
            ++damaged;
            ADD_FAILURE() << "kill " << k << " (seed " << seed << "): the file does not load";
            break;
        }
        if (isStateAfter(file, done)) {
            ++oldKept;
        } else if (isStateAfter(file, done + 1)) {
            ++newFound;
            ++done;
        } else {
            ++damaged;
            ADD_FAILURE() << "kill " << k << " (seed " << seed << "): after generation " << done
                          << " the file is neither the old nor the new collection";
            break;
        }
    }
    std::printf("crash test: %d kills, %d generations finished, %d kills kept the old "
                "collection, %d found the new one, %d damaged\n",
                kills, done + 1, oldKept, newFound, damaged);
    EXPECT_EQ(damaged, 0);
}
