#include "cddb/CddbApply.h"
#include "cddb/LocalCddbDatabase.h"
#include "cddb/RunningLookups.h"
#include "cddb/TLocalCDDBThread.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Orbisong;

namespace {

QByteArray entry(const char *id, const char *title)
{
    return QByteArray("# xmcd\nDISCID=") + id + "\nDTITLE=" + title + "\nTTITLE0=t\nPLAYORDER=\n";
}

// Sets a folder's modification time ten seconds on, as a later change would: a change made
// within the file system's time granularity would leave it where it was.
void moveFolderTimeOn(const QString &folder)
{
    struct stat info = {};
    ASSERT_EQ(stat(QFile::encodeName(folder).constData(), &info), 0);
    timespec times[2] = {info.st_atim, info.st_mtim};
    times[1].tv_sec += 10;
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(folder).constData(), times, 0), 0);
}

class LocalLookup : public ::testing::Test
{
protected:
    QString db() const { return m_dir.filePath(QStringLiteral("db")); }
    QString index() const { return m_dir.filePath(QStringLiteral("index")); }
    LocalCddbDatabase::Result find(const QString &id)
    {
        LocalCddbDatabase database(db(), index());
        return database.find(id);
    }

    QTemporaryDir m_dir;
};

struct Receiver : CddbEntryReceiver
{
    QList<CddbAlbumFields> applied;
    bool applyToAlbum(const QString &, const CddbAlbumFields &fields) override
    {
        applied.append(fields);
        return true;
    }
};

} // namespace

TEST(LocalCddbNames, CollectedRangesAndPlainNames)
{
    EXPECT_TRUE(
        LocalCddbDatabase::nameMatches(QStringLiteral("20to2f"), QStringLiteral("2a0b1c0d")));
    EXPECT_FALSE(
        LocalCddbDatabase::nameMatches(QStringLiteral("20to2f"), QStringLiteral("300b1c0d")));
    EXPECT_TRUE(
        LocalCddbDatabase::nameMatches(QStringLiteral("20TO2F"), QStringLiteral("20000000")));
    EXPECT_TRUE(
        LocalCddbDatabase::nameMatches(QStringLiteral("whatever"), QStringLiteral("300b1c0d")));
    EXPECT_FALSE(
        LocalCddbDatabase::nameMatches(QStringLiteral(".hidden1"), QStringLiteral("300b1c0d")));
    EXPECT_FALSE(
        LocalCddbDatabase::nameMatches(QStringLiteral("zzto2f"), QStringLiteral("200b1c0d")));
}

TEST_F(LocalLookup, FindsEntriesInBothLayouts)
{
    writeFile(db() + QStringLiteral("/rock/2a0b1c0d"), entry("2a0b1c0d", "A / B"));
    writeFile(db() + QStringLiteral("/jazz/20to2f"),
              entry("21000001", "First / One") + entry("2b000002,2c000003", "Second / Two") +
                  "#FILENAME=2d000004\n" + entry("2d000004", "Third / Three").mid(7));
    writeFile(db() + QStringLiteral("/jazz/30to3f"), entry("2b000002", "Wrong / Range"));
    writeFile(db() + QStringLiteral("/classica/40000001"), entry("40000001", "Bach / X"));
    writeFile(db() + QStringLiteral("/misc/empty000"), QByteArray());

    LocalCddbDatabase::Result r = find(QStringLiteral("2A0B1C0D"));
    EXPECT_EQ(r.status, LocalCddbDatabase::Found);
    EXPECT_EQ(r.category, QStringLiteral("rock"));
    // The last byte is kept: the entry ends with the line before PLAYORDER.
    EXPECT_TRUE(r.entry.endsWith(QStringLiteral("TTITLE0=t\n")));

    r = find(QStringLiteral("21000001"));
    ASSERT_EQ(r.status, LocalCddbDatabase::Found);
    EXPECT_TRUE(r.entry.startsWith(QStringLiteral("# xmcd\nDISCID=21000001")));

    r = find(QStringLiteral("2c000003"));
    ASSERT_EQ(r.status, LocalCddbDatabase::Found);
    EXPECT_EQ(r.category, QStringLiteral("jazz"));
    EXPECT_TRUE(r.entry.contains(QStringLiteral("Second / Two")));
    EXPECT_FALSE(r.entry.contains(QStringLiteral("First")));

    r = find(QStringLiteral("2d000004"));
    ASSERT_EQ(r.status, LocalCddbDatabase::Found);
    EXPECT_TRUE(r.entry.startsWith(QStringLiteral("#FILENAME=2d000004")));

    EXPECT_EQ(find(QStringLiteral("40000001")).category, QStringLiteral("classica"));
    EXPECT_EQ(find(QStringLiteral("55555555")).status, LocalCddbDatabase::NotFound);
    LocalCddbDatabase missing(m_dir.filePath(QStringLiteral("nope")), index());
    EXPECT_EQ(missing.find(QStringLiteral("2a0b1c0d")).status, LocalCddbDatabase::NoDatabase);
}

TEST_F(LocalLookup, FirstOccurrenceOutsideDiscIdLineMeansNoEntry)
{
    writeFile(db() + QStringLiteral("/rock/00to3f"),
              "# see also 12345678\nDISCID=11111111\nPLAYORDER=\nDISCID=12345678\nPLAYORDER=\n");
    EXPECT_EQ(find(QStringLiteral("12345678")).status, LocalCddbDatabase::NotFound);
}

TEST_F(LocalLookup, PlayorderIsFoundInAnyCase)
{
    writeFile(db() + QStringLiteral("/rock/00to3f"),
              "DISCID=11111111\nDTITLE=a\nplayorder=\nDISCID=22222222\nDTITLE=b\nPlayOrder=1\n"
              "DISCID=33333333\n");
    const LocalCddbDatabase::Result r = find(QStringLiteral("22222222"));
    ASSERT_EQ(r.status, LocalCddbDatabase::Found);
    EXPECT_EQ(r.entry, QStringLiteral("DISCID=22222222\nDTITLE=b\n"));
}

TEST_F(LocalLookup, IndexFollowsFolderChangesAndAgreesWithFullSearch)
{
    writeFile(db() + QStringLiteral("/rock/00to3f"), entry("11111111", "A / B"));
    EXPECT_EQ(find(QStringLiteral("12121212")).status, LocalCddbDatabase::NotFound);
    EXPECT_TRUE(QDir(index()).exists());
    writeFile(db() + QStringLiteral("/rock/12121212"), entry("12121212", "New / One"));
    moveFolderTimeOn(db() + QStringLiteral("/rock"));
    EXPECT_EQ(find(QStringLiteral("12121212")).status, LocalCddbDatabase::Found);

    // A file in an earlier category wins over the file named by the id.
    writeFile(db() + QStringLiteral("/blues/aaaaaaaa"), entry("12121212", "Blues / One"));
    writeFile(db() + QStringLiteral("/blues/zz"), "");
    moveFolderTimeOn(db() + QStringLiteral("/blues"));
    EXPECT_EQ(find(QStringLiteral("12121212")).category, QStringLiteral("blues"));
}

TEST_F(LocalLookup, ThreadAppliesWithLocalSource)
{
    Receiver receiver;
    RunningLookups lookups(&receiver, nullptr);
    writeFile(db() + QStringLiteral("/classica/04018e02"),
              "DISCID=04018e02\nDTITLE=Bach / Suites\nTTITLE0=one\nTTITLE1=two\nPLAYORDER=\n");
    TLocalCDDBThread *thread =
        TLocalCDDBThread::StartLookup(lookups, db(), QStringLiteral("04018E0203A98"), index());
    QSignalSpy finished(thread, &TLocalCDDBThread::lookupFinished);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), 0);
    ASSERT_EQ(receiver.applied.size(), 1);
    EXPECT_EQ(receiver.applied.at(0).category, QStringLiteral("Classical"));
    EXPECT_EQ(receiver.applied.at(0).source, 2);
    EXPECT_EQ(receiver.applied.at(0).trackTitles, QStringLiteral("One\rTwo"));

    thread = TLocalCDDBThread::StartLookup(lookups, m_dir.filePath(QStringLiteral("none")),
                                           QStringLiteral("04018E0203A98"), index());
    QSignalSpy missing(thread, &TLocalCDDBThread::lookupFinished);
    ASSERT_TRUE(missing.wait(10000));
    EXPECT_EQ(missing.at(0).at(0).toInt(), 2);
}

TEST_F(LocalLookup, DamagedIndexIsRebuiltAndStopEndsBetweenFiles)
{
    writeFile(db() + QStringLiteral("/rock/00to3f"), entry("12121212", "A / B"));
    EXPECT_EQ(find(QStringLiteral("12121212")).status, LocalCddbDatabase::Found);
    const QStringList indexes = QDir(index()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(indexes.size(), 1);
    QFile damaged(index() + QLatin1Char('/') + indexes.first() + QStringLiteral("/rock.idx"));
    ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
    damaged.resize(damaged.size() - 3);
    damaged.close();
    EXPECT_EQ(find(QStringLiteral("12121212")).status, LocalCddbDatabase::Found);

    // Counts so large that the size they imply overflows 64 bits: read as damaged.
    QByteArray bytes = readFile(damaged.fileName());
    for (const qint64 names : {qint64(1), qint64(0x7fffffffffffffff)}) {
        for (int i = 0; i < 8; ++i) {
            bytes[18 + i] = char(quint64(names) >> (56 - 8 * i));
            bytes[26 + i] = char(0x61 + i);
        }
        writeFile(damaged.fileName(), bytes);
        EXPECT_EQ(find(QStringLiteral("12121212")).status, LocalCddbDatabase::Found);
    }

    std::atomic<bool> stop{true};
    LocalCddbDatabase database(db(), index());
    EXPECT_EQ(database.find(QStringLiteral("12121212"), {}, &stop).status,
              LocalCddbDatabase::NotFound);
}

TEST_F(LocalLookup, IndexNamesNeverLeadOutOfTheCategory)
{
    // A file of collected entries, a folder beside it, and three folders up from the
    // category a file that the index must never lead to.
    writeFile(db() + QStringLiteral("/rock/12to12abcdefghijklmn"), entry("12121212", "A / B"));
    ASSERT_TRUE(QDir().mkpath(db() + QStringLiteral("/rock/12to12")));
    writeFile(m_dir.filePath(QStringLiteral("xyzw")), entry("12121212", "Outside / Evil"));
    EXPECT_EQ(find(QStringLiteral("12121212")).status, LocalCddbDatabase::Found);
    const QStringList indexes = QDir(index()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(indexes.size(), 1);
    const QString indexFile =
        index() + QLatin1Char('/') + indexes.first() + QStringLiteral("/rock.idx");
    QByteArray bytes = readFile(indexFile);
    ASSERT_EQ(bytes.count("12to12abcdefghijklmn\n"), 1);
    // Same length, so the index still looks whole and current.
    bytes.replace("12to12abcdefghijklmn\n", "12to12/../../../xyzw\n");
    writeFile(indexFile, bytes);
    const LocalCddbDatabase::Result result = find(QStringLiteral("12121212"));
    EXPECT_FALSE(result.entry.contains(QStringLiteral("Evil")));
    EXPECT_FALSE(result.file.contains(QStringLiteral("..")));
}
