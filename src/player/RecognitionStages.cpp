#include "player/RecognitionStages.h"

#include "cddb/CddbApply.h"
#include "cddb/FoundAlbum.h"
#include "cddb/TMusicBrainzThread.h"
#include "collection/Settings.h"
#include "playback/CdText.h"
#include "player/DiscRecognizer.h"

#include <QThread>

namespace Orbisong {

RecognitionStages::RecognitionStages(DiscRecognizer *recognizer, const Settings &settings,
                                     CddbEntryReceiver *receiver, ThreadWindow *window,
                                     QObject *parent)
    : QObject(parent), m_recognizer(recognizer), m_settings(settings), m_receiver(receiver),
      m_window(window)
{
    if (recognizer) {
        connect(recognizer, &DiscRecognizer::stopRequested, this, [this] {
            for (const QPointer<TMusicBrainzThread> &thread : std::as_const(m_running)) {
                if (thread)
                    thread->requestStop();
            }
        });
    }
}

RecognitionStages::~RecognitionStages()
{
    for (const QPointer<TMusicBrainzThread> &thread : std::as_const(m_running)) {
        if (thread)
            thread->requestStop();
    }
}

void RecognitionStages::install()
{
    if (!m_recognizer)
        return;
    m_recognizer->setImportStage(RecognitionSequence::CdText, cdTextStage());
    m_recognizer->setImportStage(RecognitionSequence::MusicBrainz, musicBrainzStage());
}

void RecognitionStages::applyFound(const QString &albumId, int source, const FoundAlbum &album,
                                   Report report)
{
    const bool applied = m_receiver && ApplyFoundAlbum(*m_receiver, albumId, source, album);
    if (applied && !album.releaseId.isEmpty())
        emit releaseApplied(albumId.toUpper(), album.releaseId);
    report(applied ? RecognitionSequence::Found : RecognitionSequence::NotFound);
}

RecognitionSequence::StageRunner RecognitionStages::cdTextStage()
{
    return [this](const RecognitionSequence::Request &request, Report report) {
        const QString source = m_sourceOf ? m_sourceOf() : request.source;
        if (source.isEmpty()) {
            report(RecognitionSequence::NotFound);
            return;
        }
        const int lookup = m_recognizer ? m_recognizer->beginOwnLookup() : 0;
        if (m_recognizer)
            m_recognizer->showOwnLookupStatus(lookup, QStringLiteral("Reading the disc's CD-Text"));
        auto *album = new CdTextAlbum;
        QThread *worker = QThread::create([album, source] { *album = ReadCdText(source); });
        const QString albumId = request.discId;
        connect(worker, &QThread::finished, this, [this, worker, album, albumId, lookup, report] {
            const CdTextAlbum text = *album;
            delete album;
            worker->deleteLater();
            if (m_recognizer)
                m_recognizer->endOwnLookup(lookup, text.isEmpty() ? 1 : 0);
            if (text.isEmpty()) {
                report(RecognitionSequence::NotFound);
                return;
            }
            FoundAlbum found;
            found.artist = text.artist;
            found.title = text.title;
            found.trackTitles = text.trackTitles;
            applyFound(albumId, SourceCdText, found, report);
        });
        worker->start();
    };
}

RecognitionSequence::StageRunner RecognitionStages::musicBrainzStage()
{
    return [this](const RecognitionSequence::Request &request, Report report) {
        DiscToc toc;
        toc.last = int(request.trackStarts.size());
        toc.leadOut = request.leadOut;
        toc.offsets = request.trackStarts;
        auto *thread = new TMusicBrainzThread(m_settings.musicBrainzServer, toc, m_window, this);
        if (thread->discId().isEmpty()) {
            delete thread;
            report(RecognitionSequence::NotFound);
            return;
        }
        m_running.append(thread);
        const int lookup = m_recognizer ? m_recognizer->beginOwnLookup() : 0;
        connect(thread, &TMusicBrainzThread::statusChanged, this, [this, lookup](const QString &t) {
            if (m_recognizer)
                m_recognizer->showOwnLookupStatus(lookup, t);
        });
        const QString albumId = request.discId;
        connect(thread, &TMusicBrainzThread::lookupFinished, this,
                [this, thread, lookup, albumId, report](int result) {
                    m_running.removeAll(thread);
                    thread->deleteLater();
                    const QString message =
                        result == TMusicBrainzThread::Failed ? thread->errorText() : QString();
                    if (m_recognizer)
                        m_recognizer->endOwnLookup(lookup, result, message);
                    if (!message.isEmpty())
                        emit lookupFailed(message);
                    if (result != TMusicBrainzThread::Found) {
                        report(result);
                        return;
                    }
                    applyFound(albumId, SourceMusicBrainz, thread->chosen(), report);
                });
        thread->start();
    };
}

} // namespace Orbisong
