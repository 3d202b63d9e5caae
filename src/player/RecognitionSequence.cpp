#include "player/RecognitionSequence.h"

#include <QMetaObject>
#include <QPointer>

namespace Orbisong {

RecognitionSequence::RecognitionSequence(const Request &request, QObject *parent)
    : QObject(parent), m_request(request)
{
}

void RecognitionSequence::start()
{
    m_stage = -1;
    notice(NotFound);
}

void RecognitionSequence::notice(int code)
{
    if (m_closed)
        return;
    if (code == Found) {
        close(Found);
        return;
    }
    ++m_stage;
    runStage();
}

void RecognitionSequence::runStage()
{
    if (m_stage >= StageCount) {
        close(NotFound);
        return;
    }
    const int generation = ++m_generation;
    // Reports arrive as queued notices, as a lookup thread's would, and only once. A window
    // may report after the sequence is gone.
    auto report = [self = QPointer<RecognitionSequence>(this), this, generation](int code) {
        if (!self)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, generation, code] {
                if (generation == m_generation)
                    notice(code);
            },
            Qt::QueuedConnection);
    };
    const bool network =
        m_stage == RemoteCddb || m_stage == MusicBrainz || m_stage == MusicBrainzFirst;
    const bool allowed = (!network || m_request.remoteLookup) &&
                         (m_stage != AlbumWizard || m_request.albumWizard) &&
                         (m_stage != MusicBrainzFirst || m_request.preferMusicBrainz) &&
                         (m_stage != MusicBrainz || !m_request.preferMusicBrainz);
    const StageRunner &runner = m_runners[m_stage == MusicBrainzFirst ? MusicBrainz : m_stage];
    if (allowed && runner)
        runner(m_request, report);
    else
        report(NotFound);
}

void RecognitionSequence::close(int notice)
{
    if (m_closed)
        return;
    m_closed = true;
    emit finished(m_stage, notice);
    deleteLater();
}

} // namespace Orbisong
