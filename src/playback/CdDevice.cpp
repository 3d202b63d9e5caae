#include "playback/CdDevice.h"

namespace Orbisong {

QString CdDevice::standardErrorText(int code)
{
    switch (code) {
    case NoError:
        return QStringLiteral("The command completed successfully.");
    case ErrorHardware:
        return QStringLiteral("The drive reported a hardware error.");
    case ErrorUnrecognizedCommand:
        return QStringLiteral("The drive does not recognise the command.");
    case ErrorUnsupportedFunction:
        return QStringLiteral("The drive cannot carry out the requested function.");
    case ErrorOutOfRange:
        return QStringLiteral("The position is outside the disc.");
    case ErrorMediaNotPresent:
        return QStringLiteral("There is no disc in the drive.");
    case ErrorNoAudioOutput:
        return QStringLiteral("The audio output cannot be opened.");
    case ErrorImageTruncated:
        return QStringLiteral("The disc image's data file is shorter than its sheet says.");
    case ErrorImageDamaged:
        return QStringLiteral("The disc image is damaged and cannot be read.");
    default:
        return QStringLiteral("Drive error %1.").arg(code);
    }
}

int CdDevice::startInTable(const QList<int> &starts, int leadOut, int track, int *frames)
{
    if (track < 1 || track > starts.size() + 1)
        return ErrorOutOfRange;
    *frames = track > starts.size() ? leadOut : starts.at(track - 1);
    return NoError;
}

int CdDevice::lengthInTable(const QList<int> &starts, int leadOut, int track, int *frames)
{
    if (track < 1 || track > starts.size())
        return ErrorOutOfRange;
    const int end = track == starts.size() ? leadOut : starts.at(track);
    *frames = end - starts.at(track - 1);
    return NoError;
}

} // namespace Orbisong
