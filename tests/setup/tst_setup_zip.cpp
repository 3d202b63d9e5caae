#include "InstallDiskFixture.h"
#include "SetupStrings.h"
#include "TestFiles.h"
#include "ZipReader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// Every file below `folder`, relative, sorted.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

class setupZipReader : public ::testing::Test
{
protected:
    QString archive() const { return m_dir.filePath(QStringLiteral("test.aw")); }
    QString destination() const { return m_dir.filePath(QStringLiteral("dest")); }

    bool extract(const QList<FixtureEntry> &entries, ZipReader *reader = nullptr)
    {
        ZipFixture zip;
        for (const FixtureEntry &entry : entries)
            zip.add(entry);
        EXPECT_TRUE(zip.write(archive()));
        QDir().mkpath(destination());
        ZipReader local(archive(), destination());
        ZipReader &used = reader ? *reader : local;
        const bool ok = used.extractAll();
        m_error = used.errorMessage();
        return ok;
    }

    QTemporaryDir m_dir;
    QString m_error;
};

TEST_F(setupZipReader, ExtractsEveryKindOfGoodEntryWithItsExactBytes)
{
    const InstallDiskFixture disk(m_dir.filePath(QStringLiteral("disk")), {}, QStringLiteral("/x"));
    const QList<FixtureEntry> entries = disk.goodEntries();
    qint64 progress = 0;
    QStringList started;
    ZipFixture zip;
    for (const FixtureEntry &entry : entries)
        zip.add(entry);
    ASSERT_TRUE(zip.write(archive()));
    QDir().mkpath(destination());
    ZipReader reader(archive(), destination());
    reader.setFileStartedHandler([&](const QString &name) { started << name; });
    reader.setProgressHandler([&](qint64 bytes) {
        progress += bytes;
        return true;
    });
    ASSERT_TRUE(reader.extractAll()) << reader.errorMessage().toStdString();

    for (const FixtureEntry &entry : entries) {
        if (entry.name.endsWith('/'))
            continue;
        const QString path = ZipReader::confinedName(QString::fromUtf8(entry.name));
        EXPECT_EQ(readFile(destination() + QLatin1Char('/') + path), entry.data)
            << entry.name.data();
        EXPECT_TRUE(QFileInfo(destination() + QLatin1Char('/') + path).isFile())
            << entry.name.data();
    }
    EXPECT_TRUE(QFileInfo(destination() + QStringLiteral("/docs/sub/NOTES.TXT")).isFile());
    EXPECT_EQ(started.size(), entries.size() - 1);
    EXPECT_GT(progress, 0);
    EXPECT_LE(progress, QFileInfo(archive()).size());
    EXPECT_EQ(reader.writtenFiles().size(), entries.size() - 1);
}

TEST_F(setupZipReader, AddsZipExtensionToNameWithoutOneAndSkipsEmptyFilesOnRequest)
{
    ZipFixture zip;
    zip.add({"EMPTY.TXT", {}, 0});
    zip.add({"FULL.TXT", "full", 0});
    ASSERT_TRUE(zip.write(m_dir.filePath(QStringLiteral("plain.ZIP"))));
    QDir().mkpath(destination());
    ZipReader reader(m_dir.filePath(QStringLiteral("plain")), destination());
    reader.setSkipEmptyFiles(true);
    ASSERT_TRUE(reader.extractAll()) << reader.errorMessage().toStdString();
    EXPECT_EQ(filesBelow(destination()), QStringList{QStringLiteral("FULL.TXT")});
}

TEST_F(setupZipReader, UnknownMethodStopsWithUnknownCompression)
{
    EXPECT_FALSE(extract(
        {{"FIRST.TXT", "first", 0}, {"IMPLODED.DAT", "whatever", 6}, {"LATER.TXT", "later", 0}}));
    EXPECT_EQ(m_error, QStringLiteral("unknown compression"));
    EXPECT_EQ(filesBelow(destination()), QStringList{QStringLiteral("FIRST.TXT")});
}

TEST_F(setupZipReader, BadCrcNamesBothValuesAndLeavesNoFile)
{
    const QByteArray data = "the data of a damaged entry\n";
    FixtureEntry damaged{"DAMAGED.TXT", data, 8};
    damaged.badCrc = true;
    EXPECT_FALSE(extract({damaged}));
    const quint32 good = ZipFixture::crc(data);
    EXPECT_EQ(m_error, QStringLiteral("ZIP damaged: file DAMAGED.TXT: Bad CRC %1 (should be %2)")
                           .arg(good, 8, 16, QLatin1Char('0'))
                           .arg(good + 1, 8, 16, QLatin1Char('0')));
    EXPECT_TRUE(filesBelow(destination()).isEmpty());
}

// The CRC that follows the data (flag bit 3) is the one checked, whatever the header holds.
TEST_F(setupZipReader, BadCrcInADataDescriptorIsCaught)
{
    const QByteArray data = "an entry whose CRC follows its data\n";
    const quint32 good = ZipFixture::crc(data);
    const QString expected = QStringLiteral("ZIP damaged: file LATE.TXT: Bad CRC %1 (should be %2)")
                                 .arg(good, 8, 16, QLatin1Char('0'))
                                 .arg(good + 1, 8, 16, QLatin1Char('0'));
    struct Shape
    {
        int method;
        bool signature;
        bool sizesInHeader;
    };
    for (const Shape shape : {Shape{8, true, false}, Shape{8, false, false}, Shape{0, true, true},
                              Shape{8, true, true}}) {
        SCOPED_TRACE(testing::Message()
                     << "method " << shape.method << ", signature " << shape.signature
                     << ", sizes in header " << shape.sizesInHeader);
        QDir(destination()).removeRecursively();
        FixtureEntry late{"LATE.TXT", data, shape.method,    false,
                          {},         true, shape.signature, shape.sizesInHeader};
        late.badCrc = true;
        EXPECT_FALSE(extract({{"FIRST.TXT", "first", 8}, late, {"AFTER.TXT", "after", 8}}));
        EXPECT_EQ(m_error, expected);
        EXPECT_EQ(filesBelow(destination()), QStringList{QStringLiteral("FIRST.TXT")});
    }
}

TEST_F(setupZipReader, RefusesNamesThatLeaveTheDestination)
{
    const QList<QByteArray> hostile = {"../ESCAPED.TXT",
                                       "/tmp/ABSOLUTE.TXT",
                                       "C:\\WINDOWS\\X.TXT",
                                       "C:X.TXT",
                                       "docs\\..\\..\\ESCAPED.TXT",
                                       "docs/../../ESCAPED.TXT",
                                       "\\\\server\\share\\X.TXT"};
    for (const QByteArray &name : hostile) {
        QDir(destination()).removeRecursively();
        EXPECT_FALSE(extract({{"GOOD.TXT", "good", 0}, {name, "evil", 0}})) << name.data();
        EXPECT_EQ(m_error, QStringLiteral("Invalid Zipfile Header")) << name.data();
        EXPECT_EQ(filesBelow(m_dir.path()),
                  QStringList({QStringLiteral("dest/GOOD.TXT"), QStringLiteral("test.aw")}))
            << name.data();
    }
    EXPECT_EQ(ZipReader::confinedName(QStringLiteral("a\\b/./c.txt")), QStringLiteral("a/b/c.txt"));
}

TEST_F(setupZipReader, NeverWritesThroughALinkInTheDestination)
{
    const QString outside = m_dir.filePath(QStringLiteral("outside"));
    QDir().mkpath(outside);
    QDir().mkpath(destination());
    ASSERT_TRUE(QFile::link(outside, destination() + QStringLiteral("/linked")));
    EXPECT_FALSE(extract({{"linked/X.TXT", "evil", 0}}));
    EXPECT_EQ(m_error, SetupStrings::format(SetupStrings::CannotCreateOutput,
                                            {destination() + QStringLiteral("/linked/X.TXT")}));
    EXPECT_TRUE(QDir(outside).isEmpty());

    // A link in place of a file is replaced by the file, its target left alone.
    const QString victim = m_dir.filePath(QStringLiteral("victim.txt"));
    QFile victimFile(victim);
    ASSERT_TRUE(victimFile.open(QIODevice::WriteOnly));
    victimFile.write("untouched");
    victimFile.close();
    ASSERT_TRUE(QFile::link(victim, destination() + QStringLiteral("/FILE.TXT")));
    EXPECT_TRUE(extract({{"FILE.TXT", "fresh", 0}})) << m_error.toStdString();
    EXPECT_EQ(readFile(victim), QByteArray("untouched"));
    EXPECT_FALSE(QFileInfo(destination() + QStringLiteral("/FILE.TXT")).isSymLink());
    EXPECT_EQ(readFile(destination() + QStringLiteral("/FILE.TXT")), QByteArray("fresh"));
}

TEST_F(setupZipReader, NeverWritesMoreThanTheDeclaredSize)
{
    FixtureEntry bomb{"BOMB.DAT", QByteArray(200000, 'x'), 8};
    bomb.declaredSize = 1000;
    EXPECT_FALSE(extract({bomb}));
    EXPECT_EQ(m_error, QStringLiteral("Invalid Zipfile Header"));
    EXPECT_TRUE(filesBelow(destination()).isEmpty());

    FixtureEntry lying{"LYING.DAT", QByteArray(5000, 'y'), 8, false, {}, true};
    lying.declaredSize = 10;
    EXPECT_FALSE(extract({lying}));
    EXPECT_TRUE(filesBelow(destination()).isEmpty());
}

TEST_F(setupZipReader, WrongOrMissingPasswordAbandonsTheExtraction)
{
    EXPECT_FALSE(extract({{"SEALED.TXT", "sealed", 8, true, "another password"}}));
    EXPECT_EQ(m_error, QStringLiteral("INCORRECT PASSWORD: SEALED.TXT"));

    ZipReader reader(archive(), destination());
    reader.setPassword(QByteArray(""));
    EXPECT_FALSE(extract({{"SEALED.TXT", "sealed", 8, true, "another password"}}, &reader));
    EXPECT_EQ(m_error, QStringLiteral("NO PASSWORD: SEALED.TXT"));

    ZipReader own(archive(), destination());
    own.setPassword("another password");
    EXPECT_TRUE(extract({{"SEALED.TXT", "sealed", 8, true, "another password"}}, &own));
    EXPECT_EQ(readFile(destination() + QStringLiteral("/SEALED.TXT")), QByteArray("sealed"));
}

TEST_F(setupZipReader, DamagedArchivesGiveTheirMessages)
{
    ZipFixture zip;
    zip.add({"ONE.TXT", QByteArray(3000, 'a'), 0});
    const QByteArray whole = zip.bytes();
    QDir().mkpath(destination());

    auto run = [&](const QByteArray &bytes) {
        QFile file(archive());
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        ZipReader reader(archive(), destination());
        EXPECT_FALSE(reader.extractAll());
        return reader.errorMessage();
    };
    EXPECT_EQ(run(whole.left(1000)),
              QStringLiteral("Error reading %1.  Possible cause: bad disk").arg(archive()));
    EXPECT_EQ(run(whole.left(20)), QStringLiteral("Invalid Zipfile Header"));
    EXPECT_EQ(run("not a zip archive at all"), QStringLiteral("Invalid Zipfile Header"));

    QByteArray corrupt = whole;
    ZipFixture deflated;
    deflated.add({"TWO.TXT", QByteArray(3000, 'b'), 8});
    corrupt = deflated.bytes();
    corrupt[30 + 7 + 4] = char(0xFF); // the first byte of the deflate stream
    EXPECT_TRUE(run(corrupt).startsWith(QStringLiteral("ZIP damaged: file TWO.TXT")));

    ZipReader missing(m_dir.filePath(QStringLiteral("nothing.aw")), destination());
    EXPECT_FALSE(missing.extractAll());
    EXPECT_EQ(missing.errorMessage(), QStringLiteral("Can't open input file: %1")
                                          .arg(m_dir.filePath(QStringLiteral("nothing.aw"))));
}

TEST_F(setupZipReader, ProgressHandlerCancels)
{
    ZipFixture zip;
    zip.add({"ONE.TXT", "one", 0});
    zip.add({"TWO.TXT", "two", 0});
    ASSERT_TRUE(zip.write(archive()));
    QDir().mkpath(destination());
    ZipReader reader(archive(), destination());
    reader.setProgressHandler([](qint64) { return false; });
    EXPECT_FALSE(reader.extractAll());
    EXPECT_TRUE(reader.cancelled());
    EXPECT_TRUE(reader.errorMessage().isEmpty());
    EXPECT_TRUE(filesBelow(destination()).isEmpty());
}

TEST(setupStrings, ContinuationsAndMissingIds)
{
    EXPECT_EQ(SetupStrings::text(1021), QStringLiteral("Arcwell Setup"));
    EXPECT_EQ(SetupStrings::format(1013, {QStringLiteral("README.TXT")}),
              QStringLiteral("The file README.TXT is missing from the installation disk.\n"
                             "Setup cannot continue."));
    EXPECT_EQ(SetupStrings::text(1039).count(QLatin1Char('!')), 0);
    EXPECT_TRUE(SetupStrings::text(1039).endsWith(QStringLiteral("registration?")));
    EXPECT_EQ(SetupStrings::text(1003),
              QStringLiteral("Internal error: string resource not found: 1003"));
    EXPECT_EQ(SetupStrings::fill(QStringLiteral("%s: %08lx %d%%"),
                                 {QStringLiteral("a"), QStringLiteral("1f"), QStringLiteral("7")}),
              QStringLiteral("a: 0000001f 7%"));
}

} // namespace

namespace {

TEST_F(setupZipReader, NamesWithoutTheUtf8FlagFallBackToWindows1252)
{
    EXPECT_TRUE(extract({{"CAF\xC9.TXT", "latin", 0}, {"NA\xC3\xAFVE.TXT", "utf-8", 0}}))
        << m_error.toStdString();
    EXPECT_EQ(filesBelow(destination()),
              QStringList({QStringLiteral("CAF\u00C9.TXT"), QStringLiteral("NA\u00EFVE.TXT")}));
}

// The generator must write what an independent reader accepts, or the reader's tests would
// only prove that both sides share the same mistakes.
TEST_F(setupZipReader, FixtureArchivesPassAnIndependentReader)
{
    if (!QFileInfo::exists(QStringLiteral("/usr/bin/python3")))
        GTEST_SKIP() << "no python3 to cross-check with";
    const InstallDiskFixture disk(m_dir.filePath(QStringLiteral("disk")), {}, QStringLiteral("/x"));
    ZipFixture zip;
    for (const FixtureEntry &entry : disk.goodEntries())
        zip.add(entry);
    ASSERT_TRUE(zip.write(archive()));
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, zipfile\n"
                                 "z = zipfile.ZipFile(sys.argv[1])\n"
                                 "z.setpassword(sys.argv[2].encode())\n"
                                 "for i in z.infolist():\n"
                                 "    data = z.read(i)\n"
                                 "    print(i.filename, len(data))\n"),
                  archive(), QString::fromLatin1(ZipReader::builtInPassword())});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(python.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QList<FixtureEntry> entries = disk.goodEntries();
    ASSERT_EQ(lines.size(), entries.size());
    for (int i = 0; i < lines.size(); ++i) {
        const FixtureEntry &entry = entries.at(i);
        EXPECT_EQ(lines.at(i), QString::fromUtf8(entry.name) + QLatin1Char(' ') +
                                   QString::number(entry.data.size()));
    }
}

} // namespace
