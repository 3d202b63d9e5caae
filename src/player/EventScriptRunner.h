#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

namespace Orbisong {

class InteractivePort;
class QuestionPort;
class ScriptHostPort;

// How one firing of an event ended.
struct EventRun
{
    enum Outcome {
        Ran,     // the routine ran to its end
        NoMain,  // neither Main nor a routine named like the event
        Failed,  // a script error ended the run
        Stopped, // the run exceeded the time budget
        Queued,  // another event's script was running: this one runs after it
    };
    Outcome outcome = Ran;
    QString text; // what was shown for Failed and Stopped
    int line = 0; // the failing line for Failed
};

// Runs the scripts users attach to the player's events. Each firing loads the script into a
// fresh engine and runs it on a thread of its own with a large stack, while the firing
// thread keeps its events flowing: host procedures and the dialogs of library routines come
// back to the firing thread as blocking calls. A run longer than the time budget (time spent
// in host calls and dialogs not counted) is stopped. Firings during a run wait their turn.
class EventScriptRunner : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultTimeBudgetMs = 10000;
    // 2000 nested routine calls take about 3 MB, three times that with the address sanitizer.
#ifdef __SANITIZE_ADDRESS__
    static constexpr unsigned ScriptStackSize = 32u * 1024u * 1024u;
#else
    static constexpr unsigned ScriptStackSize = 8u * 1024u * 1024u;
#endif

    explicit EventScriptRunner(ScriptHostPort &host, QObject *parent = nullptr);
    ~EventScriptRunner() override;

    // Message 8196 goes here; none: the default answer.
    void setQuestionPort(QuestionPort *questions) { m_questions = questions; }
    // The dialogs of the interactive library routines; none: every dialog is cancelled.
    void setInteractivePort(InteractivePort *dialogs) { m_dialogs = dialogs; }
    // Answers mciString on the firing thread: true with the answer, false with the reason the
    // command was refused. None: the library's own mciString, which answers nothing.
    using MediaCommands = std::function<bool(const QString &command, QString *answer)>;
    void setMediaCommands(MediaCommands commands) { m_mediaCommands = std::move(commands); }
    void setTimeBudget(int milliseconds) { m_budgetMs = milliseconds; }
    int timeBudget() const { return m_budgetMs; }
    // Where WRITE and WRITELN go; none: nowhere.
    void setOutput(std::function<void(const QString &)> output) { m_output = std::move(output); }
    // Where SetWallpaper looks for a bare file name.
    void setDataFolder(const QString &folder) { m_dataFolder = folder; }

    // Runs `script`, or the expanded `defaultScript` when the script holds nothing but blanks.
    EventRun fire(const QString &event, const QString &script, const QString &defaultScript);
    bool isRunning() const { return m_running; }

    // The stored default script of every event, with backslash escapes.
    static QString defaultScript();
    // Backslash-n a line break, backslash-t a tab, two backslashes one; any other escaped
    // character is dropped.
    static QString expandEscapes(const QString &stored);
    static QString errorText(const QString &message, int line, const QString &routine,
                             const QString &event);

private:
    struct Pending
    {
        QString event;
        QString script;
        QString defaultScript;
    };
    class Session;

    EventRun runOne(const Pending &firing);
    // Runs `call` on the firing thread and waits for it; its time is not charged to the run.
    void onFiringThread(const std::function<void()> &call);

    ScriptHostPort &m_host;
    QuestionPort *m_questions = nullptr;
    InteractivePort *m_dialogs = nullptr;
    std::function<void(const QString &)> m_output;
    MediaCommands m_mediaCommands;
    QString m_dataFolder;
    int m_budgetMs = DefaultTimeBudgetMs;
    bool m_running = false;
    int m_hostDepth = 0;
    QList<Pending> m_pending;
};

} // namespace Orbisong
