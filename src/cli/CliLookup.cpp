#include "cli/CliCommand.h"

#include "base/AppPaths.h"
#include "cddb/CddbApply.h"
#include "cddb/CddbQuery.h"
#include "cli/CliCddbAlbum.h"
#include "collection/DiscId.h"
#include "cddb/LocalCddbDatabase.h"
#include "cddb/RunningLookups.h"
#include "base/MessageText.h"
#include "base/QuestionPort.h"
#include "base/StringTable.h"
#include "cddb/TCDDBThread.h"
#include "base/ThreadWindow.h"

#include <QEventLoop>

namespace Orbisong::Cli {

namespace {

const QString Synopsis = QStringLiteral(
    "lookup local --album ID [--path DIR] | lookup remote --server HOST[:PORT][/PATH] "
    "--protocol cddbp|http [--socks HOST:PORT] [--choose N] --leadout L F1 ... FN");

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
    if (result.status == LocalCddbDatabase::NoDatabase) {
        c.out << "no database\n";
        return Failure;
    }
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
    int ask(int id, const QString &t1, const QString &t2, const QString &t3) override
    {
        const MessageText message = MessageText::parse(StringTable::text(id), t1, t2, t3);
        if (text.isEmpty())
            text = message.title + QLatin1Char(' ') + message.body;
        return message.enterResult();
    }
};

int lookupRemote(Context &c, QStringList args)
{
    const auto options = takeOptions(
        args, {QStringLiteral("--server"), QStringLiteral("--protocol"), QStringLiteral("--socks"),
               QStringLiteral("--choose"), QStringLiteral("--leadout")});
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
    if (!ok || starts.isEmpty() || starts.size() > 99 || server.isEmpty() ||
        (protocol != QLatin1String("cddbp") && protocol != QLatin1String("http")))
        return c.usage(Synopsis);

    CddbLookupSettings settings;
    settings.protocol = protocol.toUpper();
    // HOST[:PORT][/PATH]
    const qsizetype slash = server.indexOf(QLatin1Char('/'));
    QString hostPort = slash < 0 ? server : server.left(slash);
    const QString path = slash < 0 ? QString() : server.mid(slash);
    settings.port = protocol == QLatin1String("http") ? 80 : 888;
    if (const qsizetype colon = hostPort.lastIndexOf(QLatin1Char(':')); colon > 0) {
        settings.port = hostPort.mid(colon + 1).toInt();
        hostPort = hostPort.left(colon);
    }
    settings.server = hostPort + path;
    settings.login = loginName();
    settings.hostName = QStringLiteral("orbisong-cli");
    if (options.contains(QStringLiteral("--socks"))) {
        const QString socks = options.value(QStringLiteral("--socks"));
        const qsizetype colon = socks.lastIndexOf(QLatin1Char(':'));
        settings.proxyHost = colon > 0 ? socks.left(colon) : socks;
        settings.proxyPort = quint16(colon > 0 ? socks.mid(colon + 1).toUInt() : 1080);
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
    QObject::connect(thread, &TCDDBThread::lookupFinished, &loop, [&](int code) {
        result = code;
        category = thread->category();
        discId = thread->chosenDiscId();
        entry = thread->entry();
        loop.quit();
    });
    loop.exec();
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
    c.out << "failed: " << messages.text << '\n';
    return Failure;
}

int lookupCommand(Context &c)
{
    QStringList args = c.args;
    const QString verb = args.isEmpty() ? QString() : args.takeFirst();
    if (verb == QLatin1String("local"))
        return lookupLocal(c, args);
    if (verb == QLatin1String("remote"))
        return lookupRemote(c, args);
    return c.usage(Synopsis);
}

const Registration registration(QStringLiteral("lookup"), Synopsis, lookupCommand);

} // namespace

} // namespace Orbisong::Cli
