#include "cli/CliCommand.h"
#include "cli/CliStdin.h"

#include "collection/AlbumIndexNode.h"
#include "collection/AlbumRecord.h"
#include "collection/Collection.h"
#include "collection/CurrentAlbum.h"
#include "collection/SettingsSession.h"
#include "player/AlbumScriptConsent.h"
#include "player/EventScriptRunner.h"
#include "player/ScriptHostPort.h"
#include "script/ScriptedResponder.h"

#include <QFile>
#include <QFileInfo>

namespace Orbisong::Cli {

namespace {

const QString Synopsis = QStringLiteral("event fire EVENT [--album ID] [--step N] [--script FILE]");

constexpr int ScriptErrorExit = 100;

const QStringList Events = {QStringLiteral("On_AlbumInsert"), QStringLiteral("On_AlbumEject"),
                            QStringLiteral("On_ItemPlay"), QStringLiteral("On_TimerPlay"),
                            QStringLiteral("On_TimerStop")};

bool isYes(const QString &answer)
{
    const QString word = answer.trimmed().toLower();
    return word == QLatin1String("y") || word == QLatin1String("yes");
}

// Every host call becomes one line on stdout; questions are answered by lines of stdin, no
// line left being Cancel.
class TextHostPort : public ScriptHostPort
{
public:
    explicit TextHostPort(Context &c) : m_c(c) {}

    void execute(const QString &program, const QStringList &arguments) override
    {
        print(QStringLiteral("Execute"), QStringList{program} + arguments);
    }
    void openUrl(const QString &url) override { print(QStringLiteral("OpenUrl"), {url}); }
    void weblink(int index) override { print(QStringLiteral("Weblink"), {QString::number(index)}); }
    void setIcon(const QString &path, int index) override
    {
        print(QStringLiteral("SetIcon"), {path, QString::number(index)});
    }
    void statusMessage(const QString &text, int seconds) override
    {
        print(QStringLiteral("StatusMessage"), {text, QString::number(seconds)});
    }
    bool inputBox(const QString &prompt, const QString &defaultText, QString *text) override
    {
        print(QStringLiteral("InputBox"), {prompt, defaultText});
        return readStdinLine(text);
    }
    bool outputBox(const QString &prompt) override
    {
        print(QStringLiteral("OutputBox"), {prompt});
        QString line;
        return readStdinLine(&line) && !line.trimmed().isEmpty() &&
               line.trimmed().toLower() != QLatin1String("cancel");
    }
    void setWallpaper(const QString &path) override
    {
        print(QStringLiteral("SetWallpaper"), {path});
    }
    void scriptError(const QString &text) override
    {
        m_c.out.flush();
        m_c.err << text << '\n';
        m_c.err.flush();
    }
    bool allowAlbumScript(const QString &album, const QString &script) override
    {
        Q_UNUSED(script);
        print(QStringLiteral("AllowScript"), {album});
        QString line;
        return readStdinLine(&line) && isYes(line);
    }

private:
    void print(const QString &name, const QStringList &arguments)
    {
        m_c.out << "host: " << name << ' ' << arguments.join(QStringLiteral(" | ")) << '\n';
        m_c.out.flush();
    }

    Context &m_c;
};

struct Firing
{
    QString event;
    QString albumId;
    int step = 0;
    QString scriptFile;
};

bool parse(const QStringList &args, Firing *f)
{
    if (args.size() < 2 || args.at(0) != QLatin1String("fire"))
        return false;
    f->event = args.at(1);
    for (int i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return false;
        const QString &option = args.at(i);
        const QString &value = args.at(i + 1);
        if (option == QLatin1String("--album"))
            f->albumId = value;
        else if (option == QLatin1String("--step"))
            f->step = value.toInt();
        else if (option == QLatin1String("--script"))
            f->scriptFile = value;
        else
            return false;
    }
    return true;
}

// The script the player would run: the album's, the step's or the settings'.
bool storedScript(Context &c, const Firing &f, Settings &settings, CurrentAlbum &current,
                  QString *script)
{
    if (f.event == QLatin1String("On_TimerPlay")) {
        *script = settings.onTimerPlay;
    } else if (f.event == QLatin1String("On_TimerStop")) {
        *script = settings.onTimerStop;
    } else if (f.event == QLatin1String("On_ItemPlay")) {
        const auto list = findPlaylist(current.playlists, current.album.currentPlaylist);
        const auto playlist = list ? list : current.playlists.value(0);
        if (!playlist || f.step < 1 || f.step > playlist->steps.size()) {
            c.err << "no step " << f.step << " in the album's current playlist\n";
            return false;
        }
        *script = playlist->steps.at(f.step - 1).script;
    } else {
        *script = current.album.albumEvents[f.event == QLatin1String("On_AlbumEject") ? 1 : 0];
    }
    return true;
}

int eventCommand(Context &c)
{
    Firing f;
    if (!parse(c.args, &f) || !Events.contains(f.event))
        return c.usage(Synopsis);
    const bool albumEvent =
        f.event != QLatin1String("On_TimerPlay") && f.event != QLatin1String("On_TimerStop");
    if (albumEvent && f.albumId.isEmpty() && f.scriptFile.isEmpty())
        return c.fail(QStringLiteral("%1 needs --album ID or --script FILE").arg(f.event));

    SettingsSession session;
    Settings &settings = session.settings();
    Collection collection(settings, c.collection);
    collection.setQuestionPort(&c.questions);
    TextHostPort host(c);
    CurrentAlbum current;
    QString script;
    if (!f.albumId.isEmpty()) {
        collection.OpenCollectionFile();
        collection.BuildAlbumIndex();
        const AlbumIndexNode *node = collection.FindAlbum(f.albumId);
        if (!node) {
            collection.ShutdownCollection();
            c.err << "no album " << f.albumId << " in the collection\n";
            return NotFound;
        }
        current.disc.id = node->id;
        current.disc.mediaKind = node->mediaKind;
        ReadAlbumInfo(collection, current.webLinks, current.album, current.playlists, current.disc);
    }
    if (!f.scriptFile.isEmpty()) {
        QFile file(f.scriptFile);
        if (!file.open(QIODevice::ReadOnly)) {
            collection.ShutdownCollection();
            c.err << "script not found: " << f.scriptFile << '\n';
            return NotFound;
        }
        script = QString::fromUtf8(file.readAll());
    } else if (!storedScript(c, f, settings, current, &script)) {
        collection.ShutdownCollection();
        return NotFound;
    }

    bool allowed = false;
    if (!f.albumId.isEmpty() && !mayRunAlbumScript(current.album, script, host, &allowed)) {
        collection.ShutdownCollection();
        c.err << "the album's scripts are held back until allowed\n";
        return Failure;
    }
    if (allowed)
        collection.SetAlbumFlags(current.disc.id, current.album.flags);

    ScriptedResponder dialogs(readStdinLine);
    EventScriptRunner runner(host);
    runner.setQuestionPort(&c.questions);
    runner.setInteractivePort(&dialogs);
    runner.setTimeBudget(qMax(1, settings.scriptTimeLimit) * 1000);
    runner.setOutput([&](const QString &text) { c.out << text; });
    const EventRun run = runner.fire(f.event, script, EventScriptRunner::defaultScript());
    c.out.flush();
    collection.ShutdownCollection();
    switch (run.outcome) {
    case EventRun::Failed:
    case EventRun::Stopped:
        return ScriptErrorExit;
    case EventRun::NoMain:
        return NotFound;
    default:
        return Success;
    }
}

const Registration registration(
    QStringLiteral("event"), Synopsis, eventCommand,
    QStringLiteral(
        "  EVENT         On_AlbumInsert, On_AlbumEject, On_ItemPlay, On_TimerPlay or\n"
        "                On_TimerStop\n"
        "  --album ID    the album whose script runs (album and step events)\n"
        "  --step N      the step of the album's current playlist (On_ItemPlay)\n"
        "  --script FILE runs this script instead of the stored one\n"
        "The script runs as the player runs it. Each host procedure it calls prints one\n"
        "line \"host: NAME arg1 | arg2 ...\"; InputBox, OutputBox and the dialogs read their\n"
        "answers from stdin. A script error prints its text on stderr and exits 100; a\n"
        "script without Main or a routine named like the event exits 1."));

} // namespace

} // namespace Orbisong::Cli
