#include "base/MessageText.h"
#include "ScriptedQuestionPort.h"
#include "base/ThreadWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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
    // The main thread never processes the request, as when it is busy shutting down.
    QThread *thread = QThread::create([&] {
        result = window.request(&request);
        finished = true;
    });
    thread->start();
    QThread::msleep(150);
    window.beginClosing();
    EXPECT_TRUE(thread->wait(2000));
    delete thread;
    EXPECT_TRUE(finished.load());
    EXPECT_FALSE(result.load());
    EXPECT_EQ(request.done.load(), 0);
    // The queued call that arrives afterwards must not touch the abandoned request.
    QCoreApplication::processEvents();
    EXPECT_EQ(request.done.load(), 0);
}
