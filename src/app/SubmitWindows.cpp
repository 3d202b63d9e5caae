#include "app/SubmitWindows.h"

#include "cddb/CddbSubmitter.h"
#include "cddb/SubmitRun.h"
#include "cddb/TSubmitThread.h"
#include "collection/AlbumRecord.h"
#include "collection/Collection.h"
#include "player/PlayerEngine.h"
#include "ui/lookup/TCategoryForm.h"
#include "ui/player/TPlayerForm.h"
#include "ui/player/TStatusBox.h"

namespace Orbisong {

namespace {

// Each status text stays at most this long.
constexpr int StatusSeconds = 60;

} // namespace

SubmitWindows::SubmitWindows(TPlayerForm *player, PlayerEngine *engine, Collection *collection,
                             Settings &settings, QuestionPort *questions, QObject *parent)
    : QObject(parent), m_player(player), m_engine(engine), m_collection(collection),
      m_settings(settings), m_questions(questions)
{
    connect(player, &TPlayerForm::submitRequested, this, &SubmitWindows::submitCurrent);
}

SubmitWindows::~SubmitWindows()
{
    cancel();
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void SubmitWindows::submitCurrent()
{
    if (!m_engine || !m_collection || !m_engine->audioPresent())
        return;
    WriteAlbumInfo(*m_collection, false);
    submit(m_engine->current().disc.id);
}

bool SubmitWindows::submit(const QString &albumId)
{
    if (m_thread || !m_collection)
        return false;
    CddbSubmitter submitter(*m_collection, m_settings, m_questions);
    submitter.setCategoryChooser([this](QString *category) {
        m_player->suspendStayOnTop();
        const bool chosen = TCategoryForm::ValidateCategory(m_player, category);
        m_player->resumeStayOnTop();
        return chosen;
    });
    SubmitJob job;
    if (!submitter.prepare(albumId, &job))
        return false;
    m_quiet = false;
    auto *thread = new TSubmitThread(job);
    thread->TimeOut = m_timeOut;
    m_thread = thread;
    connect(thread, &TSubmitThread::statusChanged, this, &SubmitWindows::showStatus);
    connect(thread, &TSubmitThread::submitFinished, this, &SubmitWindows::onFinished);
    thread->start(QThread::LowPriority);
    return true;
}

void SubmitWindows::cancel()
{
    if (!m_thread)
        return;
    m_quiet = true;
    m_thread->requestStop();
}

void SubmitWindows::showStatus(const QString &text)
{
    TStatusBox *box = m_player->statusBox();
    if (!box)
        return;
    if (m_statusHandle)
        box->remove(m_statusHandle);
    m_statusHandle = text.isEmpty() ? 0 : box->add(text, StatusSeconds);
}

void SubmitWindows::onFinished(int result, const QString &errorText)
{
    TSubmitThread *thread = m_thread;
    const int method = thread ? thread->job().method : 0;
    if (thread) {
        thread->wait();
        m_thread = nullptr;
        thread->deleteLater();
    }
    showStatus(QString());
    if (!(m_quiet && result == SubmitRun::Cancelled)) {
        m_player->suspendStayOnTop();
        SubmitRun::report(m_questions, method, SubmitRun::Result(result), errorText);
        m_player->resumeStayOnTop();
    }
    emit submitFinished(result);
}

} // namespace Orbisong
