#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// One open CD drive: the operations the device layer needs from a drive, whatever reads it.
// Positions are absolute frames including the 150-frame pregap. Commands return 0 or an
// error code whose text errorText() gives; status reads put their answer in an out parameter.
class CdDevice
{
public:
    // The drive modes the device layer compares, numbered as the player has always shown them.
    enum Mode {
        ModeNotReady = 524,
        ModeStop = 525,
        ModePlay = 526,
        ModePause = 529,
        ModeOpen = 530
    };
    // The track types answered by trackType().
    enum TrackType { TrackAudio = 1088, TrackOther = 1089 };
    // Error codes shared by the backends.
    enum Error {
        NoError = 0,
        ErrorHardware = 6,
        ErrorUnrecognizedCommand = 261,
        ErrorUnsupportedFunction = 274,
        ErrorOutOfRange = 282,
        ErrorMediaNotPresent = 6000,
        ErrorNoAudioOutput = 6001,
        ErrorImageTruncated = 6002,
        ErrorImageDamaged = 6003,
    };

    virtual ~CdDevice() = default;

    virtual int mediaPresent(bool *present) = 0;
    virtual int trackCount(int *count) = 0;
    // Start of track 1..count; track count+1 answers the lead-out.
    virtual int trackStart(int track, int *frames) = 0;
    // Length of a track in frames (up to the next track's start or the lead-out).
    virtual int trackLength(int track, int *frames) = 0;
    // The frame being heard while playing, else where playback stopped.
    virtual int position(int *frames) = 0;
    virtual int mode(int *mode) = 0;
    // Starts playback at `from` and returns at once; plays to the end of the audio.
    virtual int play(int from) = 0;
    virtual int stop() = 0;
    virtual int openDoor() = 0;
    virtual int closeDoor() = 0;
    // TrackAudio or TrackOther; ErrorUnsupportedFunction when the drive cannot tell.
    virtual int trackType(int track, int *type) = 0;
    // The drive's identity of the disc as decimal text.
    virtual int mediaIdentity(QString *identity) = 0;
    // The volume label of the disc; "Audio CD" for a disc that begins with audio.
    virtual QString volumeLabel() = 0;
    // Output volume 0..65535 of the drive's playback.
    virtual void setVolume(int volume) = 0;
    virtual int volume() const = 0;
    virtual QString errorText(int code) const { return standardErrorText(code); }
    static QString standardErrorText(int code);

protected:
    // trackStart() and trackLength() of a disc read as its track starts and lead-out.
    static int startInTable(const QList<int> &starts, int leadOut, int track, int *frames);
    static int lengthInTable(const QList<int> &starts, int leadOut, int track, int *frames);
};

} // namespace Orbisong
