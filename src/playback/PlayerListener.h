#pragma once

#include <QString>

namespace Orbisong {

class TStep;

// What the device layer and the controller tell the player window. Every call comes on the
// main thread; the defaults do nothing so that tests and orbisong-cli need not care.
class PlayerListener
{
public:
    virtual ~PlayerListener() = default;

    // A disc was read: load or create its album, build the playlists, honour the start
    // requests of PlayerState.
    virtual void discInserted() {}
    // The disc left the drive (or the drive is being closed with a disc in it); the album is
    // still in place. `audioDisc` when it was an audio disc that was not ignored.
    virtual void discRemoved(bool audioDisc) { Q_UNUSED(audioDisc); }
    // A drive was opened: the drive button shows its letter.
    virtual void driveOpened(QChar letter) { Q_UNUSED(letter); }
    // The current step changed (index -1: none): repaint the list, buttons and time display,
    // scroll the list when the option asks for it.
    virtual void currentStepChanged(int index) { Q_UNUSED(index); }
    // The position moved while playing.
    virtual void timeDisplayChanged() {}
    // The tooltips of the "previous" and "next" tray icons.
    virtual void trayTooltipsChanged(const QString &previous, const QString &next)
    {
        Q_UNUSED(previous);
        Q_UNUSED(next);
    }
    // A step began to play: run its "On_ItemPlay" script.
    virtual void itemPlay(const TStep &step) { Q_UNUSED(step); }
    // The playlist list was refilled or reordered.
    virtual void playlistListChanged() {}
    // The tab of playlist `index` is now the current one.
    virtual void playlistSelected(int index) { Q_UNUSED(index); }
    virtual void closePlaylistEditors() {}
    virtual void closePositionWindow() {}
    // A track's play count or the usage fields of the current album changed.
    virtual void statisticsChanged() {}
    // The status animation of playback starts or ends.
    virtual void playAnimation(bool running) { Q_UNUSED(running); }
    // Lets pending window events run once before playback starts.
    virtual void processEvents() {}
    virtual bool isClosing() const { return false; }
    // Close-on-eject: the player window closes, which ends the program.
    virtual void closeWindow() {}
};

} // namespace Orbisong
