#include "base/ThreadWindow.h"

#include "base/QuestionPort.h"

#include <QThread>

namespace Orbisong {

namespace {
constexpr int PollIntervalMs = 100;
} // namespace

ThreadWindow::ThreadWindow(QObject *parent)
    : QObject(parent)
{
}

ThreadWindow::~ThreadWindow()
{
    beginClosing();
}

void ThreadWindow::setHandler(ThreadRequestHandler *handler)
{
    m_handler = handler;
}

bool ThreadWindow::request(ThreadRequest *request)
{
    request->done.store(0, std::memory_order_relaxed);
    if (m_closing)
        return false;
    if (!QMetaObject::invokeMethod(this, [this, request] { handle(request); },
                                   Qt::QueuedConnection))
        return false;
    while (request->done.load(std::memory_order_acquire) == 0) {
        if (m_closing)
            return false;
        QThread::msleep(PollIntervalMs);
    }
    return true;
}

void ThreadWindow::beginClosing()
{
    m_closing = true;
}

bool ThreadWindow::isClosing() const
{
    return m_closing;
}

void ThreadWindow::handle(ThreadRequest *request)
{
    // A worker that gave up because the program is closing no longer owns a live request.
    if (m_closing)
        return;
    switch (request->kind) {
    case ThreadRequest::ShowGreeting:
        if (m_handler)
            m_handler->showGreeting(request->textA);
        break;
    case ThreadRequest::ChooseMatch: {
        QString category;
        QString discId;
        if (m_handler && m_handler->chooseMatch(request->textA, &category, &discId)) {
            request->textB = category;
            request->textC = discId;
        } else {
            request->textB.clear();
            request->textC.clear();
        }
        break;
    }
    case ThreadRequest::ShowMessage:
        request->value = askOrDefault(m_questions, request->value, request->textA, request->textB,
                                      request->textC);
        break;
    default:
        break;
    }
    request->done.store(1, std::memory_order_release);
}

} // namespace Orbisong
