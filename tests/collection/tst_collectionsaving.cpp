// The collection in memory is the truth and reaches the disk in the background: edits return
// at once, flush() waits for the disk, failures are reported on the collection's own thread,
// and a process killed while it writes leaves a whole file.

#include "collection/AlbumRecord.h"
#include "collection/MediaKind.h"
#include "collection/TCfgFile.h"
#include "CollectionFixture.h"
#include "ScriptedQuestionPort.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QByteArray albumId(int n)
{
    return QByteArray::number(0x10000000 + n * 7919, 16).toUpper() + "00096";
}

QByteArray albums(int count)
{
    QByteArray text;
    for (int n = 0; n < count; ++n) {
        const QByteArray id = albumId(n);
        text += "<" + id + ">\r\n [Album]\r\n  ID=" + id + "\r\n  TL=Title " +
                QByteArray::number(n) + "\r\n [Media]\r\n  MD=65537\r\n [Tracks]\r\n  CT=12\r\n";
        for (int t = 1; t <= 12; ++t)
            text += "  TT[" + QByteArray::number(t) + "]=A track title long enough to matter\r\n";
    }
    return text;
}

// Records the thread each question came on.
class ThreadRecordingPort : public ScriptedQuestionPort
{
public:
    int ask(int id, const QString &text1, const QString &text2, const QString &text3) override
    {
        threads.append(QThread::currentThread());
        return ScriptedQuestionPort::ask(id, text1, text2, text3);
    }
    QList<QThread *> threads;
};

bool turnEventLoopUntil(const std::function<bool()> &done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
    return done();
}

// A whole file of `count` albums: every block has its ID, its kind and all its tracks.
::testing::AssertionResult isWhole(const QString &path, int count)
{
    TCfgFile file(path);
    if (!file.load())
        return ::testing::AssertionFailure() << "unreadable: " << file.errorString().toStdString();
    if (file.blockCount() != count)
        return ::testing::AssertionFailure() << file.blockCount() << " blocks";
    for (int n = 0; n < count; ++n) {
        const QString id = QString::fromLatin1(albumId(n));
        if (file.ReadString(id, "Album", "ID", {}) != id ||
            file.ReadInteger(id, "Media", "MD", 0) != 65537 ||
            file.ReadString(id, "Tracks", "TT[12]", {}).isEmpty())
            return ::testing::AssertionFailure() << "album " << n << " is cut";
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(CollectionSaving, EditsReturnWithTheWritePendingAndFlushWritesThemAll)
{
    CollectionFixture f;
    const QByteArray original = albums(3);
    f.write(original);
    auto collection = f.open();
    collection->holdWrites(true);
    const QString id = QString::fromLatin1(albumId(1));

    EXPECT_TRUE(collection->SetAlbumTitle(id, "Renamed"));
    EXPECT_TRUE(collection->isWritePending());
    EXPECT_EQ(f.read(), original) << "the setter waited for the disk";
    EXPECT_TRUE(collection->SetAlbumYear(id, "1999"));
    EXPECT_TRUE(collection->DeleteAlbum(QString::fromLatin1(albumId(2)), true));

    // Readers see the memory, not the older file on disk.
    DiscInfo disc;
    disc.id = id;
    disc.mediaKind = MediaKindAudioCd;
    disc.trackCount = 12;
    AlbumInfo album;
    PlaylistList playlists;
    WebLinkList links;
    ASSERT_TRUE(ReadAlbumInfo(*collection, links, album, playlists, disc));
    EXPECT_EQ(album.title, "Renamed");
    EXPECT_EQ(album.year, "1999");
    EXPECT_EQ(f.read(), original);

    ASSERT_TRUE(collection->flush());
    EXPECT_FALSE(collection->isWritePending());
    const QByteArray written = f.read();
    EXPECT_TRUE(written.contains("  TL=Renamed\r\n"));
    EXPECT_TRUE(written.contains("  YR=1999\r\n"));
    EXPECT_FALSE(written.contains(albumId(2)));
    EXPECT_TRUE(isWhole(f.path, 2));

    // Without holding, the program's event loop brings the next edit to the disk unasked.
    EXPECT_TRUE(collection->SetAlbumTitle(id, "Again"));
    EXPECT_TRUE(turnEventLoopUntil([&] { return f.read().contains("  TL=Again\r\n"); }));
    EXPECT_TRUE(turnEventLoopUntil([&] { return !collection->isWritePending(); }));
}

// The end of the program waits for the write that an edit a moment before started.
TEST(CollectionSaving, ShutdownWritesTheLastEdit)
{
    CollectionFixture f;
    const QByteArray original = albums(2);
    f.write(original);
    auto collection = f.open();
    collection->holdWrites(true);
    EXPECT_TRUE(collection->SetAlbumTitle(QString::fromLatin1(albumId(0)), "Last"));
    EXPECT_EQ(f.read(), original);
    ASSERT_TRUE(collection->ShutdownCollection());
    EXPECT_TRUE(f.read().contains("  TL=Last\r\n"));
    EXPECT_TRUE(isWhole(f.path, 2));
}

TEST(CollectionSaving, AFailedBackgroundWriteIsReportedOnTheCollectionsThread)
{
    CollectionFixture f;
    QDir(f.home.path()).mkdir("sub");
    f.path = f.home.file("sub/ann.obc");
    f.write(albums(2));
    ThreadRecordingPort port;
    auto collection = f.open(&port);
    const QString id = QString::fromLatin1(albumId(0));

    // The folder goes away under the program: the write in the background cannot succeed.
    ASSERT_TRUE(QDir(f.home.file("sub")).removeRecursively());
    EXPECT_TRUE(collection->SetAlbumTitle(id, "Kept"));
    ASSERT_TRUE(turnEventLoopUntil([&] { return !port.asked().isEmpty(); }));
    ASSERT_EQ(port.asked().size(), 1);
    EXPECT_EQ(port.asked()[0].id, 12309);
    EXPECT_EQ(port.threads[0], QThread::currentThread());
    EXPECT_FALSE(collection->lastError().isEmpty());
    // The next close tells its caller the data is not on disk yet.
    collection->OpenCollectionFile();
    EXPECT_FALSE(collection->CloseCollection());
    ASSERT_TRUE(turnEventLoopUntil([&] { return !collection->isWritePending(); }));

    // Nothing was lost: once the folder is back, the edit reaches the disk.
    ASSERT_TRUE(QDir(f.home.path()).mkdir("sub"));
    EXPECT_TRUE(collection->flush());
    EXPECT_TRUE(f.read().contains("  TL=Kept\r\n"));
    EXPECT_TRUE(isWhole(f.path, 2));
    collection->OpenCollectionFile();
    EXPECT_TRUE(collection->CloseCollection());
}

TEST(CollectionSaving, WithoutWriteBehindEachCloseWrites)
{
    CollectionFixture f;
    f.write(albums(2));
    auto collection = f.open();
    collection->setWriteBehind(false);
    EXPECT_TRUE(collection->SetAlbumTitle(QString::fromLatin1(albumId(0)), "Direct"));
    EXPECT_FALSE(collection->isWritePending());
    EXPECT_TRUE(f.read().contains("  TL=Direct\r\n"));
}

// A child edits a collection without pause, so background writes follow one another; each
// kill lands while one of them runs, and the file must always load whole.
TEST(CollectionSaving, KilledWhileWritingInTheBackgroundLeavesAWholeFile)
{
    CollectionFixture f;
    const int count = 4000;
    f.write(albums(count));
    // A known size: the one-time question would pin the file, which only the end writes.
    f.settings.peakCount = count;
    qputenv("ORBISONG_ANNOUNCE_WRITES", "1");
    int midWrite = 0;
    const int kills = 12;
    for (int k = 0; k < kills; ++k) {
        int announced[2];
        ASSERT_EQ(pipe(announced), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            dup2(announced[1], STDERR_FILENO);
            close(announced[0]);
            auto collection = f.open();
            for (int edit = 0;; ++edit)
                collection->SetAlbumTitle(QString::fromLatin1(albumId(edit % count)),
                                          QStringLiteral("Edit %1").arg(edit));
        }
        close(announced[1]);
        QByteArray said;
        char buffer[256];
        // Past the first write, so the kill may also land between two of them.
        while (said.count("write begins\n") < 2 + k % 3) {
            const ssize_t got = read(announced[0], buffer, sizeof buffer);
            ASSERT_GT(got, 0);
            said.append(buffer, got);
        }
        QThread::usleep(useconds_t(k * 700));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        for (ssize_t got; (got = read(announced[0], buffer, sizeof buffer)) > 0;)
            said.append(buffer, got);
        close(announced[0]);
        if (said.lastIndexOf("write begins\n") > said.lastIndexOf("write ends\n"))
            ++midWrite;
        ASSERT_TRUE(isWhole(f.path, count)) << "kill " << k;
    }
    qunsetenv("ORBISONG_ANNOUNCE_WRITES");
    EXPECT_GE(midWrite, kills / 3) << midWrite << " of " << kills << " kills landed mid-write";
}
