#pragma once

#include "collection/CurrentAlbum.h"
#include "player/PlayerText.h"

#include <QObject>

namespace Orbisong {

// What the player window drives: the open drive, the current album with its playlists, and
// the run-time playlist list with its current step.
class PlayerEngine : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool noDrive() const = 0;
    // An audio disc is in the open drive (present and not ignored).
    virtual bool audioPresent() const = 0;
    virtual bool playing() const = 0;
    virtual bool paused() const = 0;
    virtual void setPaused(bool paused) = 0;

    virtual CurrentAlbum &current() = 0;
    // The steps of the current playlist as the player shows and plays them.
    virtual QList<TStep> &list() = 0;
    virtual QString currentPlaylist() const = 0;
    virtual int currentIndex() const = 0;
    // Follows the current step to a new row of the list without touching playback.
    virtual void setCurrentIndex(int index) = 0;
    virtual int position() const = 0;
    virtual void setPosition(int frames) = 0;
    virtual int currentTrack() const = 0;
    // Frames for the time display mode (0 track elapsed .. 3 playlist remaining).
    virtual int displayTime(int mode, int position) const = 0;

    // The letters of the CD drives and the open one.
    virtual QString driveLetters() const = 0;
    virtual QChar currentDrive() const = 0;
    // What the drive menus show for a drive's disc.
    virtual DriveDiscLabel driveLabel(QChar letter) = 0;
    virtual void refreshDriveIds() = 0;
    // The track of a CD audio track file of the disc in the drive; 0 when it is none.
    virtual int trackFromFile(const QString &path) = 0;
    virtual bool closeDrive() = 0;
    virtual bool openDrive(QChar letter) = 0;

    virtual void playStep(int index) = 0;
    virtual void playTrack(int track) = 0;
    // Resumes at the saved position / stops there, keeping it.
    virtual void startPlayback() = 0;
    virtual void stopPlayback() = 0;
    virtual void stop() = 0;
    virtual void nextStep() = 0;
    virtual void prevStep() = 0;
    virtual void moveToStep(int index) = 0;
    virtual void ejectOrRetract() = 0;
    virtual void setCurrentPlaylist(const QString &title) = 0;
    // Writes the list back into the current playlist (never into "Album").
    virtual void writeListBack() = 0;
    // Follows the drive: disc arrival and removal, the position, the end of a step.
    virtual void poll() = 0;

    virtual int volume() const = 0;
    virtual void setVolume(int volume) = 0;

signals:
    void discArrived();
    // Sent while the album is still loaded, so that it can be written back.
    void discLeaving();
    void discLeft();
    void stepChanged();
    // Another playlist is about to become current: the playlist-editing windows close.
    void playlistEditorsClosing();
    void stateChanged();
};

} // namespace Orbisong
