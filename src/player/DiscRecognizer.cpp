#include "player/DiscRecognizer.h"

#include "cddb/CddbLookupSettings.h"
#include "cddb/CddbQuery.h"
#include "cddb/RunningLookups.h"
#include "cddb/TCDDBThread.h"
#include "cddb/TLocalCDDBThread.h"
#include "collection/DiscInfo.h"
#include "collection/Settings.h"

#include <QTimer>

namespace Orbisong {

DiscRecognizer::DiscRecognizer(const Settings &settings, QObject *parent)
    : QObject(parent), m_settings(settings)
{
}

RecognitionSequence::Request DiscRecognizer::requestFor(const DiscInfo &disc,
                                                        const Settings &settings)
{
    QList<int> offsets;
    for (int t = 1; t <= disc.trackCount; ++t)
        offsets.append(disc.trackOffsets[t]);
    RecognitionSequence::Request request;
    request.discId = disc.id.toLower();
    request.query = CddbQueryText(request.discId, offsets, disc.length);
    request.mediaIdentity = disc.mediaIdentity.toUpper();
    request.remoteLookup = settings.GetOptionFlag(_GLOB_OPTION_AUTORCDDB);
    request.albumWizard = settings.GetOptionFlag(_GLOB_OPTION_USEALBWIZ);
    request.preferMusicBrainz = settings.preferMusicBrainz != 0;
    request.trackStarts = offsets;
    request.leadOut = disc.trackOffsets[disc.trackCount + 1];
    return request;
}

void DiscRecognizer::setImportStage(RecognitionSequence::Stage stage,
                                    RecognitionSequence::StageRunner runner)
{
    if (stage != RecognitionSequence::LocalCddb && stage != RecognitionSequence::RemoteCddb &&
        stage != RecognitionSequence::AlbumWizard)
        m_importStages[stage] = std::move(runner);
}

int DiscRecognizer::beginOwnLookup()
{
    ++m_ownLookups;
    emit remoteLookupStarted();
    return ++m_lastLookup;
}

void DiscRecognizer::endOwnLookup(int lookup, int result, const QString &message)
{
    m_ownLookups = qMax(0, m_ownLookups - 1);
    emit lookupStatus(lookup, message);
    if (!message.isEmpty()) {
        QTimer::singleShot(MessageShownMs, this,
                           [this, lookup] { emit lookupStatus(lookup, QString()); });
    }
    emit remoteLookupFinished(result);
}

void DiscRecognizer::recognise(const DiscInfo &disc)
{
    auto *sequence = new RecognitionSequence(requestFor(disc, m_settings), this);
    const QString albumId = disc.id;
    for (int stage = 0; stage < RecognitionSequence::StageCount; ++stage) {
        if (m_importStages[stage])
            sequence->setStage(RecognitionSequence::Stage(stage), m_importStages[stage]);
    }
    sequence->setStage(RecognitionSequence::LocalCddb,
                       [this, albumId](const RecognitionSequence::Request &, Report report) {
                           runLocal(m_localCddbFolders, albumId, RecognitionSequence::Failed,
                                    std::move(report));
                       });
    sequence->setStage(RecognitionSequence::RemoteCddb,
                       [this, albumId](const RecognitionSequence::Request &request, Report report) {
                           if (!runRemote(albumId, request.query, report))
                               report(RecognitionSequence::NotFound);
                       });
    sequence->setStage(RecognitionSequence::AlbumWizard, m_albumWizard);
    connect(sequence, &RecognitionSequence::finished, this, &DiscRecognizer::recognitionFinished);
    m_sequence = sequence;
    sequence->start();
}

void DiscRecognizer::lookUpLocal(const DiscInfo &disc)
{
    runLocal(m_localCddbFolders, disc.id, RecognitionSequence::Failed,
             [this](int result) { emit lookupFinished(RecognitionSequence::LocalCddb, result); });
}

bool DiscRecognizer::lookUpRemote(const DiscInfo &disc)
{
    return runRemote(disc.id, requestFor(disc, m_settings).query, [this](int result) {
        emit lookupFinished(RecognitionSequence::RemoteCddb, result);
    });
}

bool DiscRecognizer::remoteLookupRunning() const
{
    return m_ownLookups > 0 || (m_lookups && m_lookups->count() > 0);
}

void DiscRecognizer::stopRemoteLookups()
{
    if (m_sequence)
        m_sequence->skipNetworkStages();
    if (m_lookups)
        m_lookups->stopAll();
    emit stopRequested();
}

// Tries the databases one after another on a worker thread, so a first lookup that builds
// the index never freezes the window. "Not found" wins over "no database" in the outcome,
// because only a search that ran can tell the user that the disc is unknown.
void DiscRecognizer::runLocal(QStringList folders, const QString &albumId, int outcome,
                              Report report)
{
    if (folders.isEmpty() || !m_lookups) {
        report(outcome);
        return;
    }
    const QString folder = folders.takeFirst();
    TLocalCDDBThread *thread = TLocalCDDBThread::StartLookup(*m_lookups, folder, albumId);
    const int lookup = ++m_lastLookup;
    connect(thread, &TLocalCDDBThread::statusChanged, this,
            [this, lookup](const QString &text) { emit lookupStatus(lookup, text); });
    connect(thread, &TLocalCDDBThread::lookupFinished, this,
            [this, lookup, folders, albumId, outcome, report](int result) {
                emit lookupStatus(lookup, QString());
                if (result == RecognitionSequence::Found) {
                    report(RecognitionSequence::Found);
                    return;
                }
                const bool searched = result == RecognitionSequence::NotFound ||
                                      outcome == RecognitionSequence::NotFound;
                runLocal(folders, albumId,
                         searched ? RecognitionSequence::NotFound : RecognitionSequence::Failed,
                         report);
            });
}

bool DiscRecognizer::runRemote(const QString &albumId, const QString &query, Report report)
{
    if (!m_lookups)
        return false;
    TCDDBThread *thread = TCDDBThread::StartLookup(
        *m_lookups, CddbLookupSettings::fromSettings(m_settings), albumId, query);
    if (!thread)
        return false;
    const int lookup = ++m_lastLookup;
    connect(thread, &TCDDBThread::statusChanged, this,
            [this, lookup](const QString &text) { emit lookupStatus(lookup, text); });
    connect(thread, &TCDDBThread::lookupFinished, this, [this, lookup, report](int result) {
        emit lookupStatus(lookup, QString());
        emit remoteLookupFinished(result);
        report(result);
    });
    emit remoteLookupStarted();
    return true;
}

} // namespace Orbisong
