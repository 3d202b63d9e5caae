#pragma once

#include "CaptureTypes.h"

#include <QtGlobal>

namespace Orbisong {

// Frame rates are whole frames per second; the capture setup holds the frame period in
// microseconds. Both directions round to nearest and never divide by zero: a period or rate
// below 1 counts as 1, and rates stop at 1000 frames per second.
int fpsFromPeriod(qint64 microSecPerFrame);
qint64 periodFromFps(int fps);

// The PCM format for the given sample size, rate and channel count, with block alignment and
// average bytes per second derived from them.
WaveFormat makeWaveFormat(int bitsPerSample, int samplesPerSec, int channels);
bool isValidWaveFormat(const WaveFormat &format);

// The rates offered by the settings dialog's "Frequency" choices, in that order.
int samplesPerSecForChoice(int choice);
int choiceForSamplesPerSec(int samplesPerSec);

// File sizes are entered and shown in megabytes; 64-bit throughout so large disks and
// files do not wrap.
qint64 megabytesToBytes(qint64 megabytes);
qint64 bytesToMegabytes(qint64 bytes);

} // namespace Orbisong
