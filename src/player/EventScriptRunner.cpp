#include "player/EventScriptRunner.h"

#include "base/AppPaths.h"
#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "player/ScriptFormRelay.h"
#include "player/ScriptHostPort.h"
#include "script/InteractivePort.h"
#include "script/TQuillan.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QTimer>

namespace Orbisong {

namespace {

// Checks of the time budget; fine enough that a stop comes well within a second.
constexpr int BudgetTickMs = 20;
constexpr int InputBoxLimit = 255;
// The longest answer of a media command string.
constexpr int MciAnswerLimit = 127;

bool isPictureFile(const QFileInfo &file)
{
    static const QStringList kinds = {QStringLiteral("bmp"), QStringLiteral("png"),
                                      QStringLiteral("jpg"), QStringLiteral("jpeg")};
    return file.isFile() && kinds.contains(file.suffix().toLower());
}

// The dialogs of library routines, shown by the firing thread.
class FiringThreadDialogs : public InteractivePort
{
public:
    using Relay = std::function<void(const std::function<void()> &)>;

    FiringThreadDialogs(InteractivePort &port, Relay relay, ScriptFormRelay::Post post)
        : m_port(port), m_relay(std::move(relay)), m_post(std::move(post))
    {
    }

    int messageBox(const QString &text, const QString &title, int flags) override
    {
        int result = 0;
        m_relay([&] { result = m_port.messageBox(text, title, flags); });
        return result;
    }
    bool answer(const QString &prompt, QString *text) override
    {
        bool result = false;
        m_relay([&] { result = m_port.answer(prompt, text); });
        return result;
    }
    int choose(const QString &prompt, const QStringList &items, int preselected) override
    {
        int result = -1;
        m_relay([&] { result = m_port.choose(prompt, items, preselected); });
        return result;
    }
    void beep() override
    {
        m_relay([&] { m_port.beep(); });
    }
    int showForm(ScriptForm &form, ScriptFormHandler &handler) override
    {
        return ScriptFormRelay(m_post).show(m_port, form, handler);
    }
    bool readControl(int id, ScriptFormControl *control) override
    {
        bool result = false;
        m_relay([&] { result = m_port.readControl(id, control); });
        return result;
    }
    void writeControl(const ScriptFormControl &control) override
    {
        m_relay([&] { m_port.writeControl(control); });
    }

private:
    InteractivePort &m_port;
    Relay m_relay;
    ScriptFormRelay::Post m_post;
};

} // namespace

// One loaded script: the engine, its handlers and the host procedures. Everything but the
// relayed calls runs on the script thread.
class EventScriptRunner::Session
{
public:
    Session(EventScriptRunner &runner, const QString &event) : m_runner(runner), m_event(event)
    {
        m_engine.OnError = [this](TQuillan &e, const QString &text) {
            if (!m_failed) {
                m_failed = true;
                m_message = text;
                m_line = e.currentLineNumber();
                m_routine = m_names.isEmpty() ? QString() : m_names.last();
            }
        };
        m_engine.OnEnterProc = [this](TQuillan &, const QString &name) { m_names << name; };
        m_engine.OnExitProc = [this](TQuillan &, const QString &) {
            if (!m_names.isEmpty())
                m_names.removeLast();
        };
        // A player has no terminal: reading gives empty input at once.
        m_engine.OnRead = [](TQuillan &, QString *buffer) {
            buffer->clear();
            return false;
        };
        m_engine.OnWrite = [this](TQuillan &, const QString &text) { write(text); };
        m_engine.OnAdvanceLine = [this](TQuillan &) { write(QStringLiteral("\n")); };
        m_engine.OnRegisterProcs = [this](TQuillan &e) { registerProcs(e); };
    }

    TQuillan &engine() { return m_engine; }

    // Loads and runs; returns false when the script has no routine to run.
    bool run(const QStringList &lines)
    {
        if (!m_engine.LoadScriptLines(lines))
            return true;
        QString routine;
        if (m_engine.ProcedureExists(QStringLiteral("Main")))
            routine = QStringLiteral("Main");
        else if (m_engine.ProcedureExists(m_event))
            routine = m_event;
        else
            return false;
        m_engine.RunProcedure(routine, true);
        m_stopped = m_engine.lastRunStopped();
        m_engine.LoadScriptLines({});
        return true;
    }

    bool failed() const { return m_failed; }
    bool stopped() const { return m_stopped && !m_failed; }
    QString message() const { return m_message; }
    int line() const { return m_line; }
    QString routine() const { return m_routine; }

private:
    void write(const QString &text)
    {
        if (m_runner.m_output)
            m_runner.onFiringThread([&] { m_runner.m_output(text); });
    }
    void relay(const std::function<void()> &call) { m_runner.onFiringThread(call); }
    void registerProcs(TQuillan &e);
    void execute(const QString &path);
    void setWallpaper(QString path);

    EventScriptRunner &m_runner;
    QString m_event;
    TQuillan m_engine;
    QStringList m_names;
    bool m_failed = false;
    bool m_stopped = false;
    QString m_message;
    int m_line = 0;
    QString m_routine;
};

void EventScriptRunner::Session::registerProcs(TQuillan &e)
{
    ScriptHostPort &host = m_runner.m_host;
    e.RegisterProc(QStringLiteral("procedure Execute(Path: string);"),
                   [this](void *, TQuillan &, TProcParms &p) { execute(p.asString(1)); });
    e.RegisterProc(QStringLiteral("procedure Weblink(Index: integer);"),
                   [this, &host](void *, TQuillan &, TProcParms &p) {
                       const int index = p.asInteger(1);
                       relay([&] { host.weblink(index); });
                   });
    e.RegisterProc(QStringLiteral("procedure SetIcon(Path: string; Index: integer);"),
                   [this, &host](void *, TQuillan &, TProcParms &p) {
                       const QString path = p.asString(1);
                       const int index = p.asInteger(2);
                       relay([&] { host.setIcon(path, index); });
                   });
    e.RegisterProc(QStringLiteral("procedure StatusMessage(Message: string; Duration: integer);"),
                   [this, &host](void *, TQuillan &, TProcParms &p) {
                       const QString text = p.asString(1);
                       const int seconds = qMax(0, p.asInteger(2));
                       relay([&] { host.statusMessage(text, seconds); });
                   });
    e.RegisterProc(QStringLiteral("function InputBox(Prompt: string; Default: string): string;"),
                   [this, &host](void *, TQuillan &, TProcParms &p) {
                       const QString prompt = p.asString(1);
                       const QString defaultText = p.asString(2);
                       QString text;
                       bool ok = false;
                       relay([&] { ok = host.inputBox(prompt, defaultText, &text); });
                       p.setString(0, ok ? text.left(InputBoxLimit) : QString());
                   });
    e.RegisterProc(QStringLiteral("function OutputBox(Prompt: string): boolean;"),
                   [this, &host](void *, TQuillan &, TProcParms &p) {
                       const QString prompt = p.asString(1);
                       bool ok = false;
                       relay([&] { ok = host.outputBox(prompt); });
                       p.setBoolean(0, ok);
                   });
    e.RegisterProc(QStringLiteral("procedure SetWallpaper(Path: string);"),
                   [this](void *, TQuillan &, TProcParms &p) { setWallpaper(p.asString(1)); });
    if (!m_runner.m_mediaCommands)
        return;
    e.RegisterProc(QStringLiteral("function mciString(cmd : string) : string"),
                   [this](void *, TQuillan &engine, TProcParms &p) {
                       const QString command = p.asString(1);
                       QString answer;
                       bool ok = false;
                       relay([&] { ok = m_runner.m_mediaCommands(command, &answer); });
                       if (!ok)
                           engine.ReportText(answer);
                       p.setString(0, answer.left(MciAnswerLimit));
                   });
}

// The first word is the target, the rest its parameters. A target with a scheme opens in
// the browser; anything else is started as a program with its parameters as a list.
void EventScriptRunner::Session::execute(const QString &path)
{
    const qsizetype blank = path.indexOf(QLatin1Char(' '));
    const QString target = blank < 0 ? path : path.left(blank);
    const QString parameters = blank < 0 ? QString() : path.mid(blank + 1);
    const qsizetype scheme = target.indexOf(QStringLiteral("://"));
    ScriptHostPort &host = m_runner.m_host;
    if (scheme > 0 && !target.left(scheme).trimmed().isEmpty()) {
        relay([&] { host.openUrl(target); });
        return;
    }
    if (target.isEmpty())
        return;
    const QStringList arguments = QProcess::splitCommand(parameters);
    relay([&] { host.execute(target, arguments); });
}

// A bare name is a picture of the data folder.
void EventScriptRunner::Session::setWallpaper(QString path)
{
    if (!path.contains(QLatin1Char('/'))) {
        const QString folder =
            m_runner.m_dataFolder.isEmpty() ? AppPaths::dataFolder() : m_runner.m_dataFolder;
        path = folder + QLatin1Char('/') + path;
    }
    const QFileInfo file(path);
    ScriptHostPort &host = m_runner.m_host;
    if (isPictureFile(file)) {
        const QString absolute = file.absoluteFilePath();
        relay([&] { host.setWallpaper(absolute); });
        return;
    }
    const QString text = QStringLiteral("SetWallpaper(): The wallpaper file\n\n") + path +
                         QStringLiteral("\n\nwas not found, or was not a picture file "
                                        "(.BMP, .PNG or .JPG).");
    relay([&] { host.scriptError(text); });
}

// ---------------------------------------------------------------- the runner

EventScriptRunner::EventScriptRunner(ScriptHostPort &host, QObject *parent)
    : QObject(parent), m_host(host)
{
}

EventScriptRunner::~EventScriptRunner() = default;

QString EventScriptRunner::defaultScript()
{
    return QStringLiteral("procedure Main;\\n  // Enter code for this event here.\\n\\nendproc;");
}

QString EventScriptRunner::expandEscapes(const QString &stored)
{
    QString text;
    text.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const QChar c = stored.at(i);
        if (c != QLatin1Char('\\')) {
            text += c;
            continue;
        }
        if (++i >= stored.size())
            break;
        const QChar next = stored.at(i);
        if (next == QLatin1Char('n'))
            text += QLatin1Char('\n');
        else if (next == QLatin1Char('t'))
            text += QLatin1Char('\t');
        else if (next == QLatin1Char('\\'))
            text += QLatin1Char('\\');
    }
    return text;
}

QString EventScriptRunner::errorText(const QString &message, int line, const QString &routine,
                                     const QString &event)
{
    return QStringLiteral("%1 on line %2 of procedure \"%3\" for event \"%4\".")
        .arg(message)
        .arg(line)
        .arg(routine, event);
}

EventRun EventScriptRunner::fire(const QString &event, const QString &script,
                                 const QString &defaultScript)
{
    const Pending firing{event, script, defaultScript};
    if (m_running) {
        m_pending << firing;
        return {EventRun::Queued, {}, 0};
    }
    m_running = true;
    const EventRun run = runOne(firing);
    while (!m_pending.isEmpty())
        runOne(m_pending.takeFirst());
    m_running = false;
    return run;
}

EventRun EventScriptRunner::runOne(const Pending &firing)
{
    // Only emptiness is judged on the trimmed text, so that line numbers stay the user's.
    const QString text =
        firing.script.trimmed().isEmpty() ? expandEscapes(firing.defaultScript) : firing.script;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }

    Session session(*this, firing.event);
    std::unique_ptr<InteractivePort> dialogs;
    if (m_dialogs) {
        dialogs = std::make_unique<FiringThreadDialogs>(
            *m_dialogs, [this](const std::function<void()> &call) { onFiringThread(call); },
            [this](std::function<void()> call) {
                // A shown script window is time spent in a dialog, not charged to the run.
                QMetaObject::invokeMethod(
                    this,
                    [this, call] {
                        ++m_hostDepth;
                        call();
                        --m_hostDepth;
                    },
                    Qt::QueuedConnection);
            });
        session.engine().setInteractivePort(dialogs.get());
    }

    bool hasRoutine = true;
    std::unique_ptr<QThread> thread(QThread::create([&] { hasRoutine = session.run(lines); }));
    thread->setStackSize(ScriptStackSize);
    QEventLoop loop;
    connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    qint64 spent = 0;
    bool stopRequested = false;
    QTimer tick;
    tick.setInterval(BudgetTickMs);
    connect(&tick, &QTimer::timeout, &loop, [&] {
        const qint64 since = clock.restart();
        if (m_hostDepth > 0 || stopRequested)
            return;
        spent += since;
        if (spent >= m_budgetMs) {
            stopRequested = true;
            session.engine().requestStop();
        }
    });
    clock.start();
    tick.start();
    thread->start();
    loop.exec();
    thread->wait();

    EventRun run;
    if (session.failed()) {
        run.outcome = EventRun::Failed;
        run.line = session.line();
        run.text = errorText(session.message(), session.line(), session.routine(), firing.event);
        m_host.scriptError(run.text);
    } else if (session.stopped()) {
        run.outcome = EventRun::Stopped;
        run.text = QStringLiteral("The script for event \"%1\" ran longer than %2 seconds and "
                                  "was stopped.")
                       .arg(firing.event)
                       .arg(m_budgetMs / 1000.0);
        m_host.scriptError(run.text);
    } else if (!hasRoutine) {
        run.outcome = EventRun::NoMain;
        askOrDefault(m_questions, Msg::ScriptHasNoMain, firing.event);
    }
    return run;
}

void EventScriptRunner::onFiringThread(const std::function<void()> &call)
{
    QMetaObject::invokeMethod(
        this,
        [&] {
            ++m_hostDepth;
            call();
            --m_hostDepth;
        },
        Qt::BlockingQueuedConnection);
}

} // namespace Orbisong
