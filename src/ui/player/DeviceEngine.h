#pragma once

#include "PlayerEngine.h"

#include <memory>

namespace Orbisong {

class CdDevice;
class CdDriveSet;
class Collection;
struct Settings;

// The player's engine on a set of CD drives: opens a drive, reads the table of contents when
// a disc arrives, loads its album from the collection, and plays the steps of the current
// playlist one after another.
class DeviceEngine : public PlayerEngine
{
    Q_OBJECT

public:
    DeviceEngine(CdDriveSet &drives, Settings &settings, Collection *collection,
                 QObject *parent = nullptr);
    ~DeviceEngine() override;

    // Opens the preferred drive, or the first one that opens; no-drive mode when none does.
    void startup(QChar preferred, bool noDrive);
    // Writes the album back and closes the drive.
    void shutdown();

    bool noDrive() const override { return m_noDrive; }
    bool audioPresent() const override;
    bool playing() const override { return m_playing; }
    bool paused() const override { return m_paused; }
    void setPaused(bool paused) override { m_paused = paused; }

    CurrentAlbum &current() override { return m_current; }
    QList<TStep> &list() override { return m_list; }
    QString currentPlaylist() const override { return m_playlist; }
    int currentIndex() const override { return m_index; }
    void setCurrentIndex(int index) override { m_index = index; }
    int position() const override { return m_position; }
    void setPosition(int frames) override { m_position = frames; }
    int currentTrack() const override;
    int displayTime(int mode, int position) const override;

    QString driveLetters() const override;
    QChar currentDrive() const override { return m_letter; }
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

    CdDevice *device() const { return m_device.get(); }

private:
    void readToc();
    void discGone();
    void loadAlbum();
    int trackAt(int frames) const;
    bool randomOrder() const;
    bool repeat() const;

    CdDriveSet &m_drives;
    Settings &m_settings;
    Collection *m_collection;
    std::shared_ptr<CdDevice> m_device;
    QChar m_letter;
    bool m_noDrive = true;
    bool m_discKnown = false;
    CurrentAlbum m_current;
    QList<TStep> m_list;
    QString m_playlist;
    int m_index = -1;
    int m_position = 0;
    bool m_playing = false;
    bool m_paused = false;
    int m_volume = 65535;
};

} // namespace Orbisong
