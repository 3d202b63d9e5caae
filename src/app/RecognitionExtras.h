#pragma once

#include <QObject>
#include <QPointer>

namespace Orbisong {

class CddbEntryReceiver;
class CdioDriveSet;
class PlayerEngine;
class RecognitionStages;
class TCoverArtThread;
class TPlayerForm;
class ThreadWindow;
struct Settings;

// Recognition beyond CDDB in the running program: the CD-Text and MusicBrainz stages of the
// player's recognition, the cover of a found release, and pictures dropped on the player's
// album area.
class RecognitionExtras : public QObject
{
    Q_OBJECT

public:
    RecognitionExtras(TPlayerForm *player, PlayerEngine *engine, CdioDriveSet *drives,
                      CddbEntryReceiver *receiver, ThreadWindow *window, const Settings &settings,
                      QObject *parent = nullptr);
    ~RecognitionExtras() override;

    RecognitionStages *stages() const { return m_stages; }
    // Fetches the front picture of `releaseId` as the cover of `albumId`.
    void fetchCover(const QString &albumId, const QString &releaseId);
    // A stored album with a MusicBrainz release but no cover yet gets its picture when its
    // disc arrives, when the user allows lookups on the network.
    void fetchMissingCover();
    // Stores a picture file as the cover of the album in the drive; false when it is not a
    // picture or no album is there.
    bool takeDroppedPicture(const QString &file);

signals:
    // A cover was stored (fetched or dropped) for `albumId`.
    void coverStored(const QString &albumId, const QString &path);

private:
    TPlayerForm *m_player;
    PlayerEngine *m_engine;
    const Settings &m_settings;
    RecognitionStages *m_stages;
    QList<QPointer<TCoverArtThread>> m_covers;
};

} // namespace Orbisong
