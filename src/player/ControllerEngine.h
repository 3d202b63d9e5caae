#pragma once

#include "player/PlayerEngine.h"
#include "playback/PlaybackContext.h"
#include "playback/PlayerListener.h"

namespace Orbisong {

class CdDriveSet;
class Collection;
class QuestionPort;
struct Settings;

// The player's engine on the device layer and playback controller: forwards the window's
// requests to them and turns their notices into the engine's signals. On a new disc it loads
// the album from the collection and builds the playlists. It owns the device layer's context
// and installs it around every call into the layer, so two engines never share a drive.
class ControllerEngine : public PlayerEngine, public PlayerListener
{
    Q_OBJECT

public:
    ControllerEngine(CdDriveSet &drives, Settings &settings, Collection *collection,
                     QObject *parent = nullptr);
    ~ControllerEngine() override;

    // Where drive errors and the device layer's questions go; none: default answers.
    void setQuestionPort(QuestionPort *questions) { m_context.questions = questions; }

    // Opens the preferred drive (else the first one that opens); no-drive mode asks for none.
    void startup(QChar preferred, bool noDrive);
    // A drive that appeared after start (a disc image written meanwhile): it is opened when
    // no drive is, which also leaves no-drive mode.
    void addDrive(QChar letter);
    // Stores the album and closes the drive.
    void shutdown();
    void setClosing(bool closing) { m_closing = closing; }
    // "/CLOSE": the player is to end when the disc leaves the drive (closeRequested).
    void setCloseOnEject(bool on) { m_context.state.closeOnEject = on; }

    bool noDrive() const override;
    bool audioPresent() const override;
    bool playing() const override;
    bool paused() const override;
    void setPaused(bool paused) override;

    CurrentAlbum &current() override;
    QList<TStep> &list() override;
    QString currentPlaylist() const override;
    int currentIndex() const override;
    void setCurrentIndex(int index) override;
    int position() const override;
    void setPosition(int frames) override;
    int currentTrack() const override;
    int displayTime(int mode, int position) const override;

    QString driveLetters() const override;
    QChar currentDrive() const override;
    DriveDiscLabel driveLabel(QChar letter) override;
    void refreshDriveIds() override;
    int trackFromFile(const QString &path) override;
    bool closeDrive() override;
    bool openDrive(QChar letter) override;

    void playStep(int index) override;
    void playTrack(int track) override;
    void startPlayback() override;
    void stopPlayback() override;
    void stop() override;
    void nextStep() override;
    void prevStep() override;
    void moveToStep(int index) override;
    void ejectOrRetract() override;
    void setCurrentPlaylist(const QString &title) override;
    void writeListBack() override;
    void poll() override;

    int volume() const override;
    void setVolume(int volume) override;

    // PlayerListener
    void discInserted() override;
    void discRemoved(bool audioDisc) override;
    void currentStepChanged(int index) override;
    void itemPlay(const TStep &step) override;
    void timeDisplayChanged() override;
    void playlistListChanged() override;
    void closePlaylistEditors() override;
    void playAnimation(bool running) override;
    void processEvents() override;
    bool isClosing() const override { return m_closing; }
    void closeWindow() override;

signals:
    // The disc left the drive under "/CLOSE": the owner closes the player window. Sent from
    // inside the device layer's call, so a receiver that shuts the engine down must be queued.
    void closeRequested();
    // A step began to play; sent from inside the device layer's call, so a receiver that
    // runs the step's script must be queued.
    void itemPlaying(const QString &script);

private:
    Collection *m_collection;
    // The device layer caches as it answers (the track of a position), even in queries.
    mutable PlaybackContext m_context;
    bool m_closing = false;
};

} // namespace Orbisong
