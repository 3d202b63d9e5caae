#include "app/RecognitionExtras.h"

#include "cddb/FoundAlbum.h"
#include "cddb/TCoverArtThread.h"
#include "collection/AlbumCover.h"
#include "collection/AlbumDraft.h"
#include "collection/Settings.h"
#include "playback/CdioDriveSet.h"
#include "player/DiscRecognizer.h"
#include "player/PlayerEngine.h"
#include "player/RecognitionStages.h"
#include "ui/player/PlayerDetailPanel.h"
#include "ui/player/TPlayerForm.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

namespace Orbisong {

RecognitionExtras::RecognitionExtras(TPlayerForm *player, PlayerEngine *engine,
                                     CdioDriveSet *drives, CddbEntryReceiver *receiver,
                                     ThreadWindow *window, const Settings &settings,
                                     QObject *parent)
    : QObject(parent), m_player(player), m_engine(engine), m_settings(settings),
      m_stages(new RecognitionStages(player->recognizer(), settings, receiver, window, this))
{
    m_stages->setSourceOf([engine, drives]() -> QString {
        return engine && drives ? drives->source(engine->currentDrive()) : QString();
    });
    m_stages->install();
    connect(m_stages, &RecognitionStages::releaseApplied, this, &RecognitionExtras::fetchCover);
    connect(player->recognizer(), &DiscRecognizer::stopRequested, this, [this] {
        for (const QPointer<TCoverArtThread> &thread : std::as_const(m_covers)) {
            if (thread)
                thread->requestStop();
        }
    });
    connect(player->detailPanel(), &PlayerDetailPanel::pictureDropped, this,
            &RecognitionExtras::takeDroppedPicture);
    connect(this, &RecognitionExtras::coverStored, player, &TPlayerForm::refreshAll);
    if (engine)
        connect(engine, &PlayerEngine::discArrived, this, &RecognitionExtras::fetchMissingCover);
}

RecognitionExtras::~RecognitionExtras()
{
    for (const QPointer<TCoverArtThread> &thread : std::as_const(m_covers)) {
        if (thread)
            thread->requestStop();
    }
}

void RecognitionExtras::fetchMissingCover()
{
    if (!m_engine || !m_engine->audioPresent() || !m_settings.GetOptionFlag(_GLOB_OPTION_AUTORCDDB))
        return;
    const CurrentAlbum &current = m_engine->current();
    const QString albumId = current.disc.id.toUpper();
    const QString releaseId =
        CustomValue(current.album.customData, QLatin1String(ReleaseIdField)).trimmed();
    if (releaseId.isEmpty() || !AlbumCover::path(albumId).isEmpty())
        return;
    for (const QPointer<TCoverArtThread> &thread : std::as_const(m_covers)) {
        if (thread && thread->albumId() == albumId)
            return;
    }
    fetchCover(albumId, releaseId);
}

void RecognitionExtras::fetchCover(const QString &albumId, const QString &releaseId)
{
    auto *thread = new TCoverArtThread(m_settings.coverArtServer, releaseId, albumId, this);
    m_covers.append(thread);
    DiscRecognizer *recognizer = m_player->recognizer();
    const int lookup = recognizer->beginOwnLookup();
    recognizer->showOwnLookupStatus(lookup, tr("Fetching the album's cover"));
    connect(thread, &TCoverArtThread::coverFinished, this,
            [this, thread, recognizer, lookup](bool stored) {
                m_covers.removeAll(thread);
                thread->deleteLater();
                recognizer->endOwnLookup(lookup, stored ? 0 : 1);
                if (stored)
                    emit coverStored(thread->albumId(), thread->coverPath());
            });
    thread->start();
}

bool RecognitionExtras::takeDroppedPicture(const QString &file)
{
    if (!m_engine || !m_engine->audioPresent())
        return false;
    const QString albumId = m_engine->current().disc.id;
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QByteArray picture = source.readAll();
    // JPEG and PNG files are kept as they are; other pictures are stored as JPEG.
    if (AlbumCover::pictureKind(picture).isEmpty()) {
        const QImage image = QImage::fromData(picture);
        if (image.isNull())
            return false;
        picture.clear();
        QBuffer buffer(&picture);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "JPG", 90))
            return false;
    } else if (QImage::fromData(picture).isNull()) {
        return false;
    }
    QString path;
    if (!AlbumCover::store(albumId, picture, &path))
        return false;
    emit coverStored(albumId, path);
    return true;
}

} // namespace Orbisong
