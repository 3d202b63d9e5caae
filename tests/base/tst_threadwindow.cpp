#include "base/MessageText.h"
#include "base/ThreadWindow.h"
#include "ScriptedQuestionPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>

using namespace Orbisong;

namespace {

class RecordingHandler : public ThreadRequestHandler
{
public:
    QString greeting;
    void showGreeting(const QString &text) override { greeting = text; }
    bool chooseMatch(const QString &candidates, QString *category, QString *discId) override
    {
        if (candidates.isEmpty())
            return false;
        *category = QStringLiteral("rock");
        *discId = candidates.left(8);
        return true;
    }
};

// On the first queued call to the window: begins closing and waits for the worker to end
// before the call is delivered.
class CloseOnFirstCall : public QObject
{
public:
    CloseOnFirstCall(ThreadWindow *window, QThread *worker) : m_window(window), m_worker(worker) {}

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MetaCall && !seen) {
            seen = true;
            m_window->beginClosing();
            workerGone = m_worker->wait(30000);
        }
        return false;
    }

    bool seen = false;
    bool workerGone = false;

private:
    ThreadWindow *m_window;
    QThread *m_worker;
};

// Runs `work` on a worker thread while the main thread keeps its event loop going.
void runOnWorker(const std::function<void()> &work)
{
    std::atomic<bool> finished{false};
    QThread *thread = QThread::create([&] {
        work();
        finished = true;
    });
    thread->start();
    QElapsedTimer timer;
    timer.start();
    while (!finished && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    thread->wait();
    delete thread;
    ASSERT_TRUE(finished.load());
}

} // namespace

TEST(ThreadWindow, MessageRequestReturnsTheButton)
{
    ThreadWindow window;
    ScriptedQuestionPort port;
    port.answer(ResultCancel);
    window.setQuestionPort(&port);
    ThreadRequest request;
    request.kind = ThreadRequest::ShowMessage;
    request.value = 12293;
    request.textA = QStringLiteral("E");
    bool answered = false;
    runOnWorker([&] { answered = window.request(&request); });
    EXPECT_TRUE(answered);
    EXPECT_EQ(request.value, 2);
    ASSERT_EQ(port.asked().size(), 1);
    EXPECT_EQ(port.asked().first().id, 12293);
    EXPECT_EQ(port.asked().first().texts.first(), "E");
}

TEST(ThreadWindow, GreetingAndChoice)
{
    ThreadWindow window;
    RecordingHandler handler;
    window.setHandler(&handler);

    ThreadRequest greeting;
    greeting.kind = ThreadRequest::ShowGreeting;
    greeting.textA = QStringLiteral("Welcome");
    ThreadRequest choice;
    choice.kind = ThreadRequest::ChooseMatch;
    choice.textA = QStringLiteral("0a0b0c0d Artist / Title");
    ThreadRequest refused;
    refused.kind = ThreadRequest::ChooseMatch;
    refused.textB = QStringLiteral("stale");
    runOnWorker([&] {
        window.request(&greeting);
        window.request(&choice);
        window.request(&refused);
    });
    EXPECT_EQ(handler.greeting, "Welcome");
    EXPECT_EQ(choice.textB, "rock");
    EXPECT_EQ(choice.textC, "0a0b0c0d");
    EXPECT_TRUE(refused.textB.isEmpty());
}

TEST(ThreadWindow, WaitingWorkerGivesUpWhenClosing)
{
    ThreadWindow window;
    ThreadRequest request;
    request.kind = ThreadRequest::ShowGreeting;
    std::atomic<bool> result{true};
    std::atomic<bool> finished{false};
    QThread *thread = QThread::create([&] {
        result = window.request(&request);
        finished = true;
    });
    // The worker's queued call reaching the main thread shows the worker is waiting. The main
    // thread does not answer it: it begins closing, as when it is busy shutting down, and the
    // call is delivered only after the worker has given up.
    CloseOnFirstCall closer(&window, thread);
    window.installEventFilter(&closer);
    thread->start();
    QElapsedTimer waited;
    waited.start();
    while (!closer.seen && waited.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(closer.seen);
    EXPECT_TRUE(closer.workerGone);
    EXPECT_TRUE(thread->wait(30000));
    delete thread;
    EXPECT_TRUE(finished.load());
    EXPECT_FALSE(result.load());
    // The queued call that arrived afterwards did not touch the abandoned request.
    EXPECT_EQ(request.done.load(), 0);
}
