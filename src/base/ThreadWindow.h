#pragma once

#include <QObject>
#include <QString>

#include <atomic>

namespace Orbisong {

class QuestionPort;

// A worker's request for the main thread to show a window; the worker owns it and keeps it
// alive until `done` is set.
struct ThreadRequest
{
    enum Kind { ShowGreeting = 1, ChooseMatch = 2, ShowMessage = 3 };

    std::atomic<int> done{0};
    int kind = ShowMessage;
    QString textA;
    QString textB;
    QString textC;
    int value = 0;
};

// Shows what kinds 1 and 2 ask for; the lookup windows implement it.
class ThreadRequestHandler
{
public:
    virtual ~ThreadRequestHandler() = default;
    virtual void showGreeting(const QString &greeting) = 0;
    // Lets the user pick among `candidates`; returns false when nothing was chosen.
    virtual bool chooseMatch(const QString &candidates, QString *category, QString *discId) = 0;
};

// The main thread's end of the worker request protocol. Requests arrive as queued calls and
// are answered in order; waiting workers give up once the program is closing. Whoever starts
// workers hands them the window; it must outlive them.
class ThreadWindow : public QObject
{
    Q_OBJECT

public:
    explicit ThreadWindow(QObject *parent = nullptr);
    ~ThreadWindow() override;

    void setHandler(ThreadRequestHandler *handler);
    // Where kind 3 messages go; without a port they get their default answers.
    void setQuestionPort(QuestionPort *questions) { m_questions = questions; }
    // From a worker thread: hands the request to the main thread and waits for it.
    // Returns false when the program began closing before the request was answered.
    bool request(ThreadRequest *request);
    // Lets every waiting worker go; later requests return at once.
    void beginClosing();
    bool isClosing() const;

private:
    void handle(ThreadRequest *request);

    ThreadRequestHandler *m_handler = nullptr;
    QuestionPort *m_questions = nullptr;
    std::atomic<bool> m_closing{false};
};

} // namespace Orbisong
