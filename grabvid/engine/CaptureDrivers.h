#pragma once

#include "CaptureTypes.h"

#include <QList>

namespace Orbisong {

// At most this many drivers are listed, numbered from 0.
constexpr int MaxCaptureDrivers = 10;

// The video capture devices the system knows, followed by the built-in test source when
// `withTestSource` is set. The test source makes the program usable on any machine.
QList<CaptureDriverInfo> enumerateCaptureDrivers(bool withTestSource);

CaptureDriverInfo testSourceDriver();

// Whether an audio capture device exists for recording sound with a real video device.
bool audioHardwarePresent();

} // namespace Orbisong
