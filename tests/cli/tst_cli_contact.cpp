#include "CliRunner.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>

#include <gtest/gtest.h>

namespace {

enum Stream { Out, Err };

// One command line as a new user types it: what it must exit with and print. Words may name
// the fixture's files: {home}, {coll}, {demo}, {short}, {entry}, {random}, {junk}, {silent}.
struct Case
{
    QStringList words;
    int exitCode;
    Stream stream;
    QString expected;        // contained in `stream`
    QString absent = {};     // contained in neither stream
    bool keepsFiles = false; // the collection file and the settings are left as they were
};

const QString AlbumId = QStringLiteral("04018E0203A98");
const QString OtherId = QStringLiteral("0A0B0C0203A98");

QByteArray albumBlock(const QString &id, const QByteArray &title)
{
    const QByteArray raw = id.toLatin1();
    return "<" + raw + ">\r\n [Album]\r\n  ID=" + raw + "\r\n  TL=" + title +
           "\r\n  AR=Artist\r\n [Media]\r\n  MD=65537\r\n [Tracks]\r\n  CT=2\r\n"
           "  TT[1]=One\r\n  TT[2]=Two\r\n [Comments]\r\n  TX=Kept\r\n";
}

class CliContact : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_home = new TestHome;
        const QString collection = s_home->file(QStringLiteral("c.obc"));
        writeFile(collection, albumBlock(AlbumId, "First") + albumBlock(OtherId, "Second"));
        writeFile(s_home->file(QStringLiteral("entry.txt")),
                  "# xmcd\n#\nDISCID=0a0b0c02,04018e02\nDTITLE=New Band / New Title\n"
                  "TTITLE0=uno\nTTITLE1=dos\n");
        QByteArray noise(5000, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) % 251);
        writeFile(s_home->file(QStringLiteral("random.bin")), noise);
        writeFile(s_home->file(QStringLiteral("junk.obc")), "\x01\x02 no album here\r\n[x]\r\n");

        const QString demo = s_home->file(QStringLiteral("demo"));
        ASSERT_EQ(runCli(s_home->path(), {QStringLiteral("demo-disc"), demo}).exitCode, 0);
        const QString cue = QDir(demo).entryList({QStringLiteral("*.cue")}).value(0);
        const QString bin = QDir(demo).entryList({QStringLiteral("*.bin")}).value(0);
        ASSERT_FALSE(cue.isEmpty());
        s_cue = QDir(demo).filePath(cue);
        // The first 100,000 bytes of the demo's data, beside a copy of its sheet.
        QDir().mkpath(s_home->file(QStringLiteral("short")));
        s_short = s_home->file(QStringLiteral("short/") + cue);
        QFile::copy(s_cue, s_short);
        writeFile(s_home->file(QStringLiteral("short/") + bin),
                  readFile(QDir(demo).filePath(bin)).left(100000));

        // Accepts connections (the kernel completes them) and never says a word.
        s_silent = new QTcpServer;
        ASSERT_TRUE(s_silent->listen(QHostAddress::LocalHost));
    }

    static void TearDownTestSuite()
    {
        delete s_silent;
        delete s_home;
    }

    static QStringList expand(const QStringList &words)
    {
        QStringList out;
        for (QString word : words) {
            word.replace(QStringLiteral("{home}"), s_home->path());
            word.replace(QStringLiteral("{coll}"), s_home->file(QStringLiteral("c.obc")));
            word.replace(QStringLiteral("{demo}"), s_cue);
            word.replace(QStringLiteral("{short}"), s_short);
            word.replace(QStringLiteral("{entry}"), s_home->file(QStringLiteral("entry.txt")));
            word.replace(QStringLiteral("{random}"), s_home->file(QStringLiteral("random.bin")));
            word.replace(QStringLiteral("{junk}"), s_home->file(QStringLiteral("junk.obc")));
            word.replace(QStringLiteral("{silent}"),
                         QStringLiteral("127.0.0.1:%1").arg(s_silent->serverPort()));
            out.append(word);
        }
        return out;
    }

    static void check(const Case &c)
    {
        const QStringList words = expand(c.words);
        const QString line = words.join(QLatin1Char(' '));
        const QString collection = s_home->file(QStringLiteral("c.obc"));
        const QByteArray before = readFile(collection);
        const QByteArray settingsBefore = readFile(s_home->file(QStringLiteral("orbisong.ini")));
        const CliResult r = runCli(s_home->path(), words);
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(line) << "\nerr: " << qPrintable(r.err);
        const QString &text = c.stream == Out ? r.out : r.err;
        EXPECT_TRUE(text.contains(c.expected))
            << qPrintable(line) << "\nwanted on " << (c.stream == Out ? "stdout" : "stderr") << ": "
            << qPrintable(c.expected) << "\nout: " << qPrintable(r.out)
            << "\nerr: " << qPrintable(r.err);
        if (!c.absent.isEmpty()) {
            EXPECT_FALSE(r.out.contains(c.absent) || r.err.contains(c.absent))
                << qPrintable(line) << "\nprinted " << qPrintable(c.absent);
        }
        if (c.keepsFiles) {
            EXPECT_EQ(readFile(collection), before) << qPrintable(line);
            EXPECT_EQ(readFile(s_home->file(QStringLiteral("orbisong.ini"))), settingsBefore)
                << qPrintable(line);
        }
    }

    static inline TestHome *s_home = nullptr;
    static inline QTcpServer *s_silent = nullptr;
    static inline QString s_cue;
    static inline QString s_short;
};

// Words of an xmcd apply to the fixture's first album.
QStringList apply(const QString &file, const QStringList &more = {})
{
    return QStringList{QStringLiteral("--collection"),
                       QStringLiteral("{coll}"),
                       QStringLiteral("xmcd"),
                       QStringLiteral("apply"),
                       file,
                       QStringLiteral("--album"),
                       AlbumId,
                       QStringLiteral("--category"),
                       QStringLiteral("rock")} +
           more;
}

QStringList onCollection(const QStringList &words)
{
    return QStringList{QStringLiteral("--collection"), QStringLiteral("{coll}")} + words;
}

} // namespace

TEST_F(CliContact, EntriesThatAreNoEntryChangeNothing)
{
    const QList<Case> cases{
        {apply(QStringLiteral("{random}")), 2, Err, "not an xmcd entry: no \"# xmcd\"", {}, true},
        {apply(QStringLiteral("/dev/urandom")), 2, Err, "larger than 1048576 bytes", {}, true},
        {apply(QStringLiteral("{home}/none.txt")), 1, Err, "no such file", {}, true},
        {apply(QStringLiteral("{entry}"), {QStringLiteral("--album"), "11118E0203A98"}),
         2,
         Err,
         "does not name disc 11118E02",
         {},
         true},
        {apply(QStringLiteral("{entry}"), {QStringLiteral("--album"), "0A0B0C0203A99"}),
         1,
         Err,
         "no album 0A0B0C0203A99 in the collection (--create makes it)",
         {},
         true},
        {apply(QStringLiteral("{entry}"), {QStringLiteral("--album"), "0401"}),
         2,
         Err,
         "--album needs a 13-digit album ID",
         {},
         true},
        {apply(QStringLiteral("{entry}")), 0, Out, "", {}, false},
        {onCollection({"collection", "show", AlbumId}), 0, Out, "TL=New Title"},
        {onCollection({"collection", "show", AlbumId}), 0, Out, "TT[2]=Dos"},
    };
    for (const Case &c : cases)
        check(c);
}

TEST_F(CliContact, ImagesShorterThanTheirSheetAreRefused)
{
    const QList<Case> cases{
        {{"toc", "{demo}"}, 0, Out, "leadout "},
        {{"toc", "{short}"}, 2, Err, "is shorter than its sheet says", "not multiple"},
        {{"play", "{short}", "--seconds", "1"}, 2, Err, "is shorter than its sheet says"},
        {{"play", "{demo}", "--seconds", "-1"}, 2, Err, "--seconds needs a number of at least 1"},
        {{"play", "{demo}", "--seconds", "0.5"}, 2, Err, "at least 1"},
        {{"toc", "/dev/null"}, 2, Err, "/dev/null", "ioctl"},
    };
    for (const Case &c : cases)
        check(c);
}

TEST_F(CliContact, HelpAndUsage)
{
    const QList<Case> cases{
        {{"-h"}, 0, Out, "exit codes:"},
        {{"--help"}, 0, Out, "--home DIR"},
        {{"help"}, 0, Out, "--collection FILE"},
        {{"help"}, 0, Out, "settings list [SECTION]"},
        {{"help", "collection"}, 0, Out, "track-title:N"},
        {{"help", "collection"}, 0, Out, "title (TL)"},
        {{"help", "message"}, 0, Out, "8193-17158"},
        {{"help", "script"}, 0, Out, "ParamStr"},
        {{"help", "lookup"}, 0, Out, "--timeout S"},
        {{"help", "nosuch"}, 1, Err, "help: no command nosuch"},
        {{"message", "8193"}, 0, Out, "picture: "},
        {{"message", "17158"}, 0, Out, "picture: "},
        {{"message", "1"}, 1, Err, "ids are 8193-17158"},
        {{}, 2, Err, "no command given"},
        {{"--home"}, 2, Err, "--home needs a value"},
        {{"--collection"}, 2, Err, "--collection needs a value"},
        {{"--bogus"}, 2, Err, "unknown option --bogus"},
        {{"frobnicate"}, 2, Err, "unknown command frobnicate"},
        {{"settings", "flag", "1000"}, 2, Err, "flag 1000: no such option bit", {}, true},
        {{"settings", "flag", "18", "maybe"}, 2, Err, "say on or off", {}, true},
        {{"settings", "list"}, 0, Out, "Options\n"},
        {{"settings", "list", "Options"}, 0, Out, "Options\tIntro Value\t0:20\n"},
        {{"settings", "list", "Nowhere"}, 1, Err, "no section Nowhere"},
        {{"settings", "get", "Options", "No Such"}, 1, Err, "no value No Such"},
    };
    for (const Case &c : cases)
        check(c);
}

TEST_F(CliContact, ExitCodesAndWhereMessagesGo)
{
    const QList<Case> cases{
        {{"--home", "/nonexistent/orbisong", "settings", "get", "Options", "Intro Value"},
         1,
         Err,
         "--home: no such folder: /nonexistent/orbisong"},
        {{"--collection", "{home}", "collection", "list"}, 2, Err, "is a folder", {}, true},
        {onCollection({"collection", "show", "0B00000000001"}), 1, Err, "no album 0B00000000001"},
        {onCollection({"collection", "set", "0B00000000001", "title", "x"}),
         1,
         Err,
         "no album 0B00000000001",
         {},
         true},
        {onCollection({"collection", "delete", "0B00000000001"}), 1, Err, "no album", {}, true},
        {onCollection({"collection", "set", AlbumId, "colour", "x"}),
         2,
         Err,
         "the fields are: artist (AR)",
         {},
         true},
        {{"--collection", "{home}/none.obc", "collection", "show", AlbumId},
         1,
         Err,
         "no collection file at"},
        {onCollection({"collection", "merge", "{home}/none.obc"}),
         1,
         Err,
         "no such file",
         {},
         true},
        {onCollection({"collection", "merge", "{junk}"}), 2, Err, "holds no album", {}, true},
        {onCollection({"collection", "set", AlbumId, "TL", "By Key"}), 0, Out, "changed\n"},
        {onCollection({"collection", "show", AlbumId}), 0, Out, "TL=By Key\r\n"},
        {onCollection({"collection", "set", AlbumId, "comments", "line1\\rline2"}), 0, Out,
         "changed\n"},
        {onCollection({"collection", "show", AlbumId}), 0, Out, "TX=line1\\nline2\r\n"},
        {onCollection({"collection", "set", AlbumId, "track-note:1", "a\\rb"}), 0, Out,
         "changed\n"},
        {{"script", "run", "{home}/none.qs"}, 1, Err, "script not found"},
        {{"convert", "--from", "{home}/nofolder"}, 1, Err, "no such folder"},
        {{"lookup", "local", "--album", AlbumId, "--path", "{home}/nodb"},
         2,
         Err,
         "no database at",
         "no database\n"},
    };
    for (const Case &c : cases)
        check(c);
}

TEST_F(CliContact, RemoteLookupOptions)
{
    const QStringList toc{"--leadout", "30000", "150", "15000"};
    auto remote = [&](const QStringList &options) {
        return onCollection(QStringList{"lookup", "remote", "--protocol", "cddbp"} + options + toc);
    };
    const QList<Case> cases{
        {remote({"--server", "127.0.0.1:70000"}), 2, Err, "the port must be 1-65535", {}, true},
        {remote({"--server", "127.0.0.1:0"}), 2, Err, "the port must be 1-65535", {}, true},
        {remote({"--server", "{silent}", "--socks", "127.0.0.1:99999"}),
         2,
         Err,
         "--socks 127.0.0.1:99999: the port must be 1-65535",
         {},
         true},
        {remote({"--server", "{silent}", "--timeout", "0"}), 2, Err, "--timeout needs", {}, true},
        {remote({"--server", "{silent}", "--timeout", "1"}), 2, Err,
         "failed: ", "'Options' under the 'File' menu"},
    };
    for (const Case &c : cases)
        check(c);

    // Through a proxy that is not there, the error names the proxy, not the server.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    check(
        {remote({"--server", "cddb.invalid", "--socks", QStringLiteral("127.0.0.1:%1").arg(port)}),
         2, Err, QStringLiteral("SOCKS proxy 127.0.0.1:%1").arg(port), "cddb.invalid"});
}

// Read-only commands on a large collection print nothing on stderr: no questions, no notices,
// no diagnostics of the parts underneath.
TEST(CliContactLarge, ReadOnlyCommandsKeepStderrEmpty)
{
    TestHome home;
    const QString collection = home.file(QStringLiteral("large.obc"));
    QByteArray text;
    QString firstId;
    for (int n = 0; n < 6000; ++n) {
        const QString id =
            QStringLiteral("%1").arg(0x100000u + unsigned(n) * 613u, 6, 16).toUpper() +
            QStringLiteral("0203A98");
        if (n == 0)
            firstId = id;
        text += albumBlock(id, "Title " + QByteArray::number(n));
    }
    writeFile(collection, text);
    const QList<QStringList> commands{
        {"collection", "list"},
        {"collection", "show", firstId},
        {"xmcd", "write", firstId},
        {"settings", "get", "Options", "Intro Value"},
        {"settings", "list", "Options"},
        {"settings", "flag", "18"},
        {"message", "12290"},
        {"discid", "--leadout", "30000", "150", "15000"},
        {"toc", "/dev/null"},
        {"help"},
    };
    for (const QStringList &words : commands) {
        const CliResult r =
            runCli(home.path(), QStringList{QStringLiteral("--collection"), collection} + words);
        EXPECT_TRUE(r.err.isEmpty() || words.first() == QLatin1String("toc"))
            << qPrintable(words.join(' ')) << ": " << qPrintable(r.err);
        if (words.first() == QLatin1String("toc"))
            EXPECT_EQ(r.err, QStringLiteral("no disc in /dev/null\n"));
        else
            EXPECT_EQ(r.exitCode, 0) << qPrintable(words.join(' '));
    }
    EXPECT_EQ(readFile(collection), text);
}
