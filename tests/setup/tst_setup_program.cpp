#include "InstallDiskFixture.h"
#include "Installer.h"
#include "SetupStrings.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Orbisong;

namespace {

QString decode(const QString &text)
{
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\') && i + 1 < text.size()) {
            ++i;
            result += text.at(i) == QLatin1Char('n') ? QLatin1Char('\n') : text.at(i);
        } else {
            result += text.at(i);
        }
    }
    return result;
}

QString message(int id, const QStringList &args = {})
{
    return SetupStrings::format(id, args);
}

// Runs the built setup program from a generated installation disk, with its windows
// answered through the test switches and every path below one temporary folder.
class setupProgram : public ::testing::Test
{
protected:
    setupProgram()
        : m_disk(path("disk"), TestHome::program(QStringLiteral("setup")), path("record.txt"))
    {
        for (const char *folder : {"home", "tmp", "platform"})
            QDir().mkpath(path(folder));
    }

    QString path(const char *name) const { return m_root.filePath(QString::fromLatin1(name)); }
    QString home(const QString &name) const { return path("home") + QLatin1Char('/') + name; }

    struct Outcome
    {
        int exitCode = -1;
        QStringList messages;
        QStringList titles;
    };

    Outcome run(const QStringList &destinations, const QString &answers = {},
                const QString &cancelAt = {})
    {
        QFile::remove(path("log.txt"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), path("home"));
        env.insert(QStringLiteral("TMPDIR"), path("tmp"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path("home") + QStringLiteral("/.config"));
        env.insert(QStringLiteral("ARCWELL_PLATFORM_DIR"), path("platform"));
        env.insert(QStringLiteral("ARCWELL_SETUP_TEST_LOG"), path("log.txt"));
        env.insert(QStringLiteral("ARCWELL_SETUP_TEST_DESTINATIONS"),
                   destinations.join(QLatin1Char('\n')));
        env.insert(QStringLiteral("ARCWELL_SETUP_TEST_ANSWERS"), answers);
        env.insert(QStringLiteral("ARCWELL_SETUP_TEST_CANCEL_AT"), cancelAt);
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(path("tmp"));
        process.start(m_disk.setupPath(), {});
        Outcome outcome;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "setup did not finish: " << process.readAllStandardError().data();
            return outcome;
        }
        outcome.exitCode = process.exitCode();
        const QString log = QString::fromUtf8(readFile(path("log.txt")));
        for (const QString &line : log.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            outcome.titles << decode(line.left(tab));
            outcome.messages << decode(line.mid(tab + 1));
        }
        return outcome;
    }

    // The fake product's record: its working folder, then its arguments.
    QStringList waitForProduct()
    {
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            const QByteArray text = readFile(path("record.txt"));
            if (text.endsWith('\n'))
                return QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            QThread::msleep(20);
        }
        return {};
    }

    // Every file below the temporary root that is not on the disk, in `destination`, or
    // one of the test's own records.
    QStringList strayFiles(const QString &destination) const
    {
        QStringList stray;
        QDirIterator it(m_root.path(), QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (file.startsWith(destination + QLatin1Char('/')) ||
                file.startsWith(path("disk") + QLatin1Char('/')) ||
                file.startsWith(path("tmp") + QLatin1Char('/')) || file == path("log.txt") ||
                file == path("record.txt"))
                continue;
            stray << file;
        }
        return stray;
    }

    void expectInstalled(const QString &destination)
    {
        for (const QString &name : Installer::looseFiles())
            EXPECT_EQ(readFile(destination + QLatin1Char('/') + name),
                      InstallDiskFixture::looseFileContent(name))
                << name.toStdString();
        for (const FixtureEntry &entry : m_disk.goodEntries()) {
            if (entry.name.endsWith('/') || entry.name == "ARCWELL32.EX_")
                continue;
            const QString name =
                QString::fromUtf8(entry.name).replace(QLatin1Char('\\'), QLatin1Char('/'));
            EXPECT_EQ(readFile(destination + QLatin1Char('/') + name), entry.data)
                << entry.name.data();
        }
        const QString program = destination + QStringLiteral("/ARCWELL32.EXE");
        EXPECT_EQ(readFile(program), m_disk.fakeProduct());
        EXPECT_TRUE(QFileInfo(program).isExecutable());
        EXPECT_FALSE(QFileInfo::exists(destination + QStringLiteral("/ARCWELL32.EX_")));
    }

    QTemporaryDir m_root;
    InstallDiskFixture m_disk;
};

TEST_F(setupProgram, GoodDiskInstallsEveryFileAndStartsTheProductInTheDestination)
{
    ASSERT_TRUE(m_disk.build());
    const QString destination = home(QStringLiteral("Program Files/Arcwell"));
    const Outcome outcome = run({QStringLiteral("~/Program Files/Arcwell/")});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.messages.isEmpty())
        << outcome.messages.join(QLatin1Char('|')).toStdString();
    expectInstalled(destination);
    EXPECT_EQ(waitForProduct(), QStringList({destination, QStringLiteral("/installS")}));
    EXPECT_TRUE(strayFiles(destination).isEmpty())
        << strayFiles(destination).join(QLatin1Char(' ')).toStdString();
}

TEST_F(setupProgram, RefusedFolderKeepsTheDialogOpenForAnotherTry)
{
    ASSERT_TRUE(m_disk.build());
    const Outcome outcome = run({QStringLiteral("Arcwell"), QStringLiteral("C:\\Arcwell"),
                                 m_disk.folder() + QLatin1Char('/'), QStringLiteral("~/Arcwell")});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.messages, QStringList({message(1024), message(1024), message(1016)}));
    EXPECT_EQ(outcome.titles.value(0), QStringLiteral("Arcwell Setup"));
    expectInstalled(home(QStringLiteral("Arcwell")));
    EXPECT_EQ(waitForProduct().value(0), home(QStringLiteral("Arcwell")));
}

TEST_F(setupProgram, CancelShowsNotInstalledAndClosingEndsSilently)
{
    ASSERT_TRUE(m_disk.build());
    Outcome outcome = run({QStringLiteral("<cancel>")});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.messages, QStringList{message(1006)});
    outcome = run({QStringLiteral("<close>")});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.messages.isEmpty());
    EXPECT_TRUE(QDir(path("home")).isEmpty());
}

TEST_F(setupProgram, FaultyDiskStopsWithItsMessageThenNotInstalled)
{
    ASSERT_TRUE(m_disk.build());
    const QString target = QStringLiteral("~/Arcwell");

    QFile::remove(m_disk.folder() + QStringLiteral("/ORDER.TXT"));
    EXPECT_EQ(run({target}).messages,
              QStringList({message(1013, {QStringLiteral("ORDER.TXT")}), message(1006)}));

    ASSERT_TRUE(m_disk.build());
    {
        QFile license(m_disk.folder() + QStringLiteral("/LICENSE.TXT"));
        ASSERT_TRUE(license.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            license.setFileTime(m_disk.stamp().addSecs(3600), QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(run({target}).messages,
              QStringList({message(1023, {QStringLiteral("LICENSE.TXT")}), message(1006)}));

    ASSERT_TRUE(m_disk.build());
    QFile::remove(m_disk.folder() + QStringLiteral("/setup.aw"));
    EXPECT_EQ(run({target}).messages,
              QStringList({QStringLiteral("setup.aw is missing"), message(1006)}));
    EXPECT_FALSE(QFileInfo::exists(home(QStringLiteral("Arcwell"))));

    ASSERT_TRUE(m_disk.build());
    QFile blocker(home(QStringLiteral("Blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(
        run({QStringLiteral("~/Blocked/Arcwell")}).messages,
        QStringList({message(1004, {home(QStringLiteral("Blocked/Arcwell"))}), message(1006)}));
}

TEST_F(setupProgram, DamagedArchiveStopsWithItsMessageAndNothingOutsideTheDestination)
{
    const QString destination = home(QStringLiteral("Arcwell"));
    struct Case
    {
        FixtureEntry entry;
        QString text;
    };
    FixtureEntry damaged{"DAMAGED.TXT", "damaged data\n", 8};
    damaged.badCrc = true;
    const quint32 crc = ZipFixture::crc("damaged data\n");
    const QList<Case> cases = {
        {{"IMPLODED.DAT", "imploded", 6}, message(1032)},
        {damaged, message(1033, {QStringLiteral("DAMAGED.TXT"),
                                 QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0')),
                                 QStringLiteral("%1").arg(crc + 1, 8, 16, QLatin1Char('0'))})},
        {{"../../ESCAPED.TXT", "evil", 0}, message(1034)},
        {{"/tmp/ESCAPED.TXT", "evil", 0}, message(1034)},
        {{"..\\..\\ESCAPED.TXT", "evil", 0}, message(1034)},
    };
    for (const Case &c : cases) {
        QDir(destination).removeRecursively();
        QList<FixtureEntry> entries = m_disk.goodEntries();
        entries.insert(2, c.entry);
        ASSERT_TRUE(m_disk.build(entries));
        const Outcome outcome = run({QStringLiteral("~/Arcwell")});
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.messages, QStringList({c.text, message(1006)})) << c.entry.name.data();
        EXPECT_TRUE(strayFiles(destination).isEmpty()) << c.entry.name.data();
        EXPECT_FALSE(QFileInfo::exists(destination + QStringLiteral("/ARCWELL32.EXE")));
        // Entries before the damaged one stay; there is no rollback.
        EXPECT_TRUE(QFileInfo::exists(destination + QStringLiteral("/STORED.TXT")));
        EXPECT_FALSE(QFileInfo::exists(destination + QStringLiteral("/BIG.DAT")));
    }
    EXPECT_TRUE(readFile(path("record.txt")).isEmpty());
}

TEST_F(setupProgram, SecondSetupIsRefusedWhileOneRuns)
{
    ASSERT_TRUE(m_disk.build());
    QLockFile lock(path("tmp") + QStringLiteral("/arcwell-setup-%1.lock").arg(::getuid()));
    ASSERT_TRUE(lock.tryLock(0));
    const Outcome outcome = run({QStringLiteral("~/Arcwell")});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.messages, QStringList{message(1025)});
    EXPECT_FALSE(QFileInfo::exists(home(QStringLiteral("Arcwell"))));
}

TEST_F(setupProgram, RecordedInstallationIsOfferedAndItsProgramReplaced)
{
    ASSERT_TRUE(m_disk.build());
    const QString existing = home(QStringLiteral("Old Place"));
    QDir().mkpath(existing);
    QFile old(existing + QStringLiteral("/ARCWELL32.EXE"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old program");
    old.close();
    writeFile(path("platform") + QStringLiteral("/win.ini"),
              "[windows]\nload=\n\n[Extensions]\ntxt=notepad.exe ^.txt\nZip=" +
                  QFile::encodeName(existing) + "/arcwell32.exe ^.zip\n");
    const Outcome outcome = run({QStringLiteral("<keep>")});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.messages.isEmpty());
    expectInstalled(existing);
    EXPECT_EQ(waitForProduct().value(0), existing);
}

TEST_F(setupProgram, ProductThatCannotStartIsReported)
{
    QList<FixtureEntry> entries = m_disk.goodEntries();
    entries[0].data = "#!/nonexistent/interpreter\n";
    ASSERT_TRUE(m_disk.build(entries));
    const Outcome outcome = run({QStringLiteral("~/Arcwell")});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(
        outcome.messages,
        QStringList{
            QStringLiteral("Error running %1/ARCWELL32.EXE").arg(home(QStringLiteral("Arcwell")))});
}

TEST_F(setupProgram, CancelDuringCopyFinishesTheFileInHandThenStops)
{
    ASSERT_TRUE(m_disk.build());
    const QString destination = home(QStringLiteral("Arcwell"));
    Outcome outcome =
        run({QStringLiteral("~/Arcwell")}, QStringLiteral("yes"), QStringLiteral("ARCWELL.TXT"));
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.messages, QStringList({message(1005), message(1006)}));
    EXPECT_EQ(readFile(destination + QStringLiteral("/ARCWELL.TXT")),
              InstallDiskFixture::looseFileContent(QStringLiteral("ARCWELL.TXT")));
    EXPECT_FALSE(QFileInfo::exists(destination + QStringLiteral("/LICENSE.TXT")));

    QDir(destination).removeRecursively();
    outcome = run({QStringLiteral("~/Arcwell")}, QStringLiteral("no"), QStringLiteral("BIG.DAT"));
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.messages, QStringList{message(1005)});
    expectInstalled(destination);
}

} // namespace
