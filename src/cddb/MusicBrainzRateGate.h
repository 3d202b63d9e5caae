#pragma once

#include <QtGlobal>

namespace Orbisong {

// The service allows one request a second from a program. Every MusicBrainz and cover
// request of the process passes this one gate, whichever thread sends it.
class MusicBrainzRateGate
{
public:
    static constexpr qint64 IntervalMs = 1000;

    // Books the next free slot and returns how many milliseconds to wait until it comes.
    static qint64 reserve();
};

} // namespace Orbisong
