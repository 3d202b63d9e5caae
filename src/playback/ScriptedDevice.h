#pragma once

#include "playback/CdDevice.h"

#include <QHash>
#include <QList>

namespace Orbisong {

// A drive for tests: the test inserts and removes scripted discs, moves a virtual clock and
// makes chosen commands fail. The position advances only when the test says so.
class ScriptedDevice : public CdDevice
{
public:
    enum Command {
        MediaPresent,
        TrackCount,
        TrackStart,
        TrackLength,
        Position,
        GetMode,
        Play,
        Stop,
        OpenDoor,
        CloseDoor,
        TrackType,
        MediaIdentity
    };

    struct Disc
    {
        QList<int> trackStarts;
        int leadOut = 0;
        QList<int> dataTracks; // 1-based numbers of the tracks that are not audio
        QString identity;      // decimal; computed from the table when empty
        bool trackTypeUnsupported = false;
        QString label; // "Audio CD" by default when track 1 is audio
    };

    // An audio disc whose tracks start at the given frames.
    static Disc audioDisc(const QList<int> &trackStarts, int leadOut);

    void insert(const Disc &disc);
    void remove();
    bool hasDisc() const { return m_hasDisc; }
    const Disc &disc() const { return m_disc; }

    // The virtual clock: while playing, the position moves on by `frames`; the drive stops by
    // itself at the lead-out.
    void advance(int frames);
    // The drive stops on its own where it is.
    void stopByItself();
    // Puts the position anywhere, as a drive that seeks or drifts would.
    void setPosition(int frames) { m_position = frames; }
    // After a play command the position stays here until the clock advances (a drive that
    // has not caught up yet); -1 restores the default of jumping to the start at once.
    void setPositionAfterPlay(int frames) { m_positionAfterPlay = frames; }

    // Every later `command` fails with `code` (0 clears it).
    void setFailure(Command command, int code);

    int playCount() const { return m_playCount; }
    int stopCount() const { return m_stopCount; }
    int lastPlayFrom() const { return m_lastPlayFrom; }
    // Position reads since the last play command, failed or not: tells whether the caller
    // waited for the drive to reach the start.
    int positionReadsSincePlay() const { return m_positionReadsSincePlay; }
    bool isPlaying() const { return m_mode == ModePlay; }

    int mediaPresent(bool *present) override;
    int trackCount(int *count) override;
    int trackStart(int track, int *frames) override;
    int trackLength(int track, int *frames) override;
    int position(int *frames) override;
    int mode(int *mode) override;
    int play(int from) override;
    int stop() override;
    int openDoor() override;
    int closeDoor() override;
    int trackType(int track, int *type) override;
    int mediaIdentity(QString *identity) override;
    QString volumeLabel() override;
    void setVolume(int volume) override { m_volume = volume; }
    int volume() const override { return m_volume; }

private:
    int failure(Command command) const { return m_failures.value(command, 0); }
    int ready(Command command) const;

    Disc m_disc;
    bool m_hasDisc = false;
    bool m_doorOpen = false;
    int m_mode = ModeStop;
    int m_position = 0;
    int m_positionAfterPlay = -1;
    int m_playCount = 0;
    int m_stopCount = 0;
    int m_lastPlayFrom = -1;
    int m_positionReadsSincePlay = 0;
    int m_volume = 65535;
    QHash<int, int> m_failures;
};

} // namespace Orbisong
