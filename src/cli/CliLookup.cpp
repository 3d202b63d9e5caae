#include "cli/CliCommand.h"
#include "cli/CliLookupMusicBrainz.h"

#include "base/AppPaths.h"
#include "base/MessageText.h"
#include "base/QuestionPort.h"
#include "base/StringTable.h"
#include "base/ThreadWindow.h"
#include "cddb/CddbApply.h"
#include "cddb/CddbQuery.h"
#include "cddb/LocalCddbDatabase.h"
#include "cddb/RunningLookups.h"
#include "cddb/TCDDBThread.h"
#include "cli/CliCddbAlbum.h"
#include "cli/CliQuestionPort.h"
#include "collection/DiscId.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <unistd.h>

namespace Orbisong::Cli {

namespace {

const QString Synopsis =
    QStringLiteral(
        "lookup local --album ID [--path DIR] | lookup remote --server HOST[:PORT][/PATH] "
        "--protocol cddbp|http [--socks HOST:PORT] [--choose N] [--timeout S] "
        "--leadout L F1 ... FN | ") +
    musicBrainzLookupSynopsis().mid(7);
const QString Details =
    QStringLiteral(
        "  local --album ID [--path DIR]  looks the album up in a local xmcd database (DIR, else\n"
        "                                 the settings' one); prints \"found CATEGORY\"\n"
        "  remote                         looks a disc up on a CDDB server:\n"
        "    --server HOST[:PORT][/PATH]  the server (port 888 for cddbp, 80 for http)\n"
        "    --protocol cddbp|http\n"
        "    --socks HOST:PORT            through a SOCKS proxy (port 1080 when left out)\n"
        "    --choose N                   the Nth of several matches (1 by default)\n"
        "    --timeout S                  give up after S seconds of silence (60 by default)\n"
        "    --leadout L F1 ... FN        the disc: lead-out and track starts in frames\n"
        "A found entry is applied to the album in the collection (made when missing).\n"
        "Exit 1 and \"not found\" when the server has no entry; errors go to stderr.\n") +
    musicBrainzLookupDetails();

// A port as typed; 0 when it is not one.
int portOf(const QString &text)
{
    bool ok = false;
    const int port = text.toInt(&ok);
    return ok && port >= 1 && port <= 65535 ? port : 0;
}

// Options of the form "--name value"; the rest stays in order.
QMap<QString, QString> takeOptions(QStringList &args, const QStringList &names)
{
    QMap<QString, QString> options;
    for (int i = 0; i < args.size() - 1;) {
        if (names.contains(args.at(i))) {
            options.insert(args.at(i), args.at(i + 1));
            args.remove(i, 2);
        } else {
            ++i;
        }
    }
    return options;
}

bool isAlbumId(const QString &id)
{
    return id.size() == 13 && std::all_of(id.begin(), id.end(), [](QChar ch) {
               return ch.isDigit() || (ch >= QLatin1Char('A') && ch <= QLatin1Char('F'));
           });
}

int lookupLocal(Context &c, QStringList args)
{
    const auto options = takeOptions(args, {QStringLiteral("--album"), QStringLiteral("--path")});
    const QString albumId = options.value(QStringLiteral("--album")).toUpper();
    if (!args.isEmpty() || !isAlbumId(albumId))
        return c.usage(Synopsis);
    CddbAlbumSession session(c.collection, c.questions);
    const QString path = options.value(QStringLiteral("--path"), session.settings().cddbLocalPath);
    LocalCddbDatabase database(path, LocalCddbDatabase::defaultIndexFolder());
    const LocalCddbDatabase::Result result = database.find(albumId.left(8));
    if (result.status == LocalCddbDatabase::NoDatabase)
        return c.fail(QStringLiteral("no database at %1").arg(path));
    if (result.status != LocalCddbDatabase::Found) {
        c.out << "not found\n";
        return NotFound;
    }
    session.applyEntry(albumId, result.category, SourceLocalDatabase, result.entry);
    if (!session.close())
        return c.fail(QStringLiteral("cannot write the collection"));
    c.out << "found " << result.category << '\n';
    return Success;
}

// Answers the lookup's windows without a screen: the chosen match, no welcome message.
struct CliRequests : ThreadRequestHandler
{
    int choice = 1;
    void showGreeting(const QString &) override {}
    bool chooseMatch(const QString &candidates, QString *category, QString *discId) override
    {
        QStringList lines = candidates.split(QLatin1Char('\n'));
        for (QString &line : lines)
            line = line.trimmed();
        lines.removeAll(QString());
        lines = lines.mid(1, lines.size() - 2);
        if (choice < 1 || choice > lines.size())
            return false;
        const QStringList words = lines.at(choice - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        *category = words.value(0);
        *discId = words.value(1);
        return true;
    }
};

// Keeps the message the lookup would have shown.
struct CliMessages : QuestionPort
{
    QString text;
    QString proxy; // HOST:PORT of the SOCKS proxy, empty without one
    int ask(int id, const QString &t1, const QString &t2, const QString &t3) override
    {
        // Through a proxy the connection that failed is the one to the proxy.
        const bool connecting = id >= 16385 && id <= 16394;
        const bool viaProxy = !proxy.isEmpty() && connecting;
        const MessageText message =
            MessageText::parse(StringTable::text(id), viaProxy ? proxy : t1, t2, t3);
        if (text.isEmpty()) {
            text = CliQuestionPort::commandLineText(message.title, message.body);
            if (viaProxy) {
                text = QStringLiteral("SOCKS proxy %1: %2").arg(proxy, text);
                text.replace(QStringLiteral("choose a different server with --server"),
                             QStringLiteral("check --socks"));
                text.replace(QStringLiteral("Choose a different server with --server"),
                             QStringLiteral("Check --socks"));
            }
        }
        return message.enterResult();
    }
};

int lookupRemote(Context &c, QStringList args)
{
    const auto options =
        takeOptions(args, {QStringLiteral("--server"), QStringLiteral("--protocol"),
                           QStringLiteral("--socks"), QStringLiteral("--choose"),
                           QStringLiteral("--leadout"), QStringLiteral("--timeout")});
    bool ok = false;
    const int leadOut = options.value(QStringLiteral("--leadout")).toInt(&ok);
    QList<int> starts;
    for (const QString &word : args) {
        bool frameOk = false;
        starts.append(word.toInt(&frameOk));
        ok = ok && frameOk;
    }
    const QString protocol = options.value(QStringLiteral("--protocol")).toLower();
    const QString server = options.value(QStringLiteral("--server"));
    if (!ok || starts.isEmpty() || server.isEmpty() ||
        (protocol != QLatin1String("cddbp") && protocol != QLatin1String("http")))
        return c.usage(Synopsis);
    if (const QString problem = TocProblem(starts, leadOut); !problem.isEmpty())
        return c.fail(QStringLiteral("not a table of contents: %1").arg(problem));

    CddbLookupSettings settings;
    settings.protocol = protocol.toUpper();
    // HOST[:PORT][/PATH]
    const qsizetype slash = server.indexOf(QLatin1Char('/'));
    QString hostPort = slash < 0 ? server : server.left(slash);
    const QString path = slash < 0 ? QString() : server.mid(slash);
    settings.port = protocol == QLatin1String("http") ? 80 : 888;
    if (const qsizetype colon = hostPort.lastIndexOf(QLatin1Char(':')); colon > 0) {
        settings.port = portOf(hostPort.mid(colon + 1));
        if (settings.port == 0)
            return c.fail(QStringLiteral("--server %1: the port must be 1-65535").arg(server));
        hostPort = hostPort.left(colon);
    }
    if (options.contains(QStringLiteral("--timeout"))) {
        bool timeoutOk = false;
        settings.idleTimeoutSeconds = options.value(QStringLiteral("--timeout")).toInt(&timeoutOk);
        if (!timeoutOk || settings.idleTimeoutSeconds < 1)
            return c.fail(QStringLiteral("--timeout needs a number of seconds of at least 1"));
    }
    settings.server = hostPort + path;
    settings.login = loginName();
    settings.hostName = QStringLiteral("orbisong-cli");
    if (options.contains(QStringLiteral("--socks"))) {
        const QString socks = options.value(QStringLiteral("--socks"));
        const qsizetype colon = socks.lastIndexOf(QLatin1Char(':'));
        settings.proxyHost = colon > 0 ? socks.left(colon) : socks;
        const int port = colon > 0 ? portOf(socks.mid(colon + 1)) : 1080;
        if (port == 0)
            return c.fail(QStringLiteral("--socks %1: the port must be 1-65535").arg(socks));
        settings.proxyPort = quint16(port);
        settings.proxyUserId = settings.login;
    }

    const QString albumId = AlbumId(starts, leadOut);
    CddbAlbumSession session(c.collection, c.questions);
    session.setDisc(starts, leadOut);
    ThreadWindow threadWindow;
    CliRequests requests;
    requests.choice = options.value(QStringLiteral("--choose"), QStringLiteral("1")).toInt();
    threadWindow.setHandler(&requests);
    CliMessages messages;
    if (!settings.proxyHost.isEmpty())
        messages.proxy = QStringLiteral("%1:%2").arg(settings.proxyHost).arg(settings.proxyPort);
    threadWindow.setQuestionPort(&messages);
    // Without a receiver the lookup leaves the entry to us, applied like any other.
    RunningLookups lookups(nullptr, &threadWindow);

    TCDDBThread *thread = TCDDBThread::StartLookup(lookups, settings, albumId,
                                                   CddbQueryText(albumId, starts, leadOut / 75));
    int result = TCDDBThread::Failed;
    QString category;
    QString discId;
    QString entry;
    QEventLoop loop;
    // A person at a terminal sees that the lookup is still waiting; scripts see nothing.
    QTimer progress;
    QElapsedTimer clock;
    clock.start();
    const bool terminal = isatty(STDERR_FILENO) == 1;
    if (terminal) {
        c.err << "looking up " << albumId << " on " << hostPort << ':' << settings.port << Qt::endl;
        QObject::connect(&progress, &QTimer::timeout, &loop, [&] {
            c.err << "\rwaiting " << (clock.elapsed() + 500) / 1000 << " s" << Qt::flush;
        });
        progress.start(1000);
    }
    QObject::connect(thread, &TCDDBThread::lookupFinished, &loop, [&](int code) {
        result = code;
        category = thread->category();
        discId = thread->chosenDiscId();
        entry = thread->entry();
        loop.quit();
    });
    loop.exec();
    if (terminal && clock.elapsed() >= 1000)
        c.err << '\n';
    if (result == TCDDBThread::Found && !entry.isEmpty())
        session.applyEntry(albumId, category, SourceCddbServer, entry);
    if (!session.close())
        return c.fail(QStringLiteral("cannot write the collection"));
    if (result == TCDDBThread::Found) {
        c.out << "found " << category << ' ' << discId << '\n';
        return Success;
    }
    if (result == TCDDBThread::NotFound) {
        c.out << "not found\n";
        return NotFound;
    }
    return c.fail(QStringLiteral("failed: ") + messages.text);
}

int lookupCommand(Context &c)
{
    QStringList args = c.args;
    const QString verb = args.isEmpty() ? QString() : args.takeFirst();
    if (verb == QLatin1String("local"))
        return lookupLocal(c, args);
    if (verb == QLatin1String("remote"))
        return lookupRemote(c, args);
    if (verb == QLatin1String("musicbrainz"))
        return lookupMusicBrainz(c, args);
    return c.usage(Synopsis);
}

const Registration registration(QStringLiteral("lookup"), Synopsis, lookupCommand, Details);

} // namespace

} // namespace Orbisong::Cli
