#include "CaptureMath.h"

#include <algorithm>

namespace Orbisong {

namespace {
constexpr qint64 MicrosPerSecond = 1000000;
constexpr int MaxFps = 1000;
constexpr int Rates[] = {11025, 22050, 44100};
} // namespace

int fpsFromPeriod(qint64 microSecPerFrame)
{
    const qint64 period = qMax<qint64>(1, microSecPerFrame);
    return int(std::clamp<qint64>((MicrosPerSecond + period / 2) / period, 1, MaxFps));
}

qint64 periodFromFps(int fps)
{
    const qint64 rate = qBound(1, fps, MaxFps);
    return (MicrosPerSecond + rate / 2) / rate;
}

WaveFormat makeWaveFormat(int bitsPerSample, int samplesPerSec, int channels)
{
    WaveFormat format;
    format.bitsPerSample = bitsPerSample;
    format.samplesPerSec = samplesPerSec;
    format.channels = channels;
    format.blockAlign = channels * bitsPerSample / 8;
    format.avgBytesPerSec = format.blockAlign * samplesPerSec;
    return format;
}

bool isValidWaveFormat(const WaveFormat &format)
{
    return format.formatTag == 1 && (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
           (format.channels == 1 || format.channels == 2) && format.samplesPerSec >= 1000 &&
           format.samplesPerSec <= 96000 &&
           format.blockAlign == format.channels * format.bitsPerSample / 8 &&
           format.avgBytesPerSec == format.blockAlign * format.samplesPerSec;
}

int samplesPerSecForChoice(int choice)
{
    return Rates[qBound(0, choice, 2)];
}

int choiceForSamplesPerSec(int samplesPerSec)
{
    if (samplesPerSec >= 44100)
        return 2;
    return samplesPerSec >= 22050 ? 1 : 0;
}

qint64 megabytesToBytes(qint64 megabytes)
{
    return qMax<qint64>(0, megabytes) << 20;
}

qint64 bytesToMegabytes(qint64 bytes)
{
    return bytes < 0 ? -1 : bytes >> 20;
}

} // namespace Orbisong
