#pragma once

#include <QString>

namespace Orbisong {

// The audio format of a capture, laid out like the platform's wave format record so that
// the figures the capture file's headers carry can be checked against it.
struct WaveFormat
{
    int formatTag = 1; // PCM
    int channels = 1;
    int samplesPerSec = 11025;
    int avgBytesPerSec = 11025;
    int blockAlign = 1;
    int bitsPerSample = 8;
};

// Sequence capture setup: the frame period and whether audio is recorded with the video.
struct CaptureParams
{
    qint64 microSecPerFrame = 66667;
    bool captureAudio = true;
};

// What the connected driver can do. Overlay needs display hardware we never drive.
struct DriverCaps
{
    bool hasOverlay = false;
    bool hasDlgVideoFormat = true;
    bool hasDlgVideoSource = true;
    bool hasDlgVideoDisplay = true;
    bool captureInitialized = false;
};

struct CaptureStatus
{
    int imageWidth = 0;
    int imageHeight = 0;
    bool liveWindow = false;
    bool overlayWindow = false;
    bool capturingNow = false;
    bool audioHardware = false;
    qint64 currentVideoFrame = 0;
    qint64 timeElapsedMs = 0;
};

// One entry of the driver list: a video capture device or the built-in test source.
struct CaptureDriverInfo
{
    enum Kind { Device, TestSource };

    Kind kind = TestSource;
    QString name;
    QString version;
    QString devicePath;
    QString caps; // what the device offers, in GStreamer's caps text
};

// The video encoder of the capture file.
struct VideoEncoder
{
    enum Kind { MotionJpeg, Uncompressed };

    Kind kind = MotionJpeg;
    int quality = 85;
};

// A picture control of the source (brightness, contrast and the like).
struct SourceControl
{
    QString name;
    int minimum = 0;
    int maximum = 0;
    int value = 0;
};

} // namespace Orbisong
