#pragma once

#include <QString>

#include <array>

namespace Orbisong {

// The table of contents of the disc in the open drive, as far as albums store it.
// Track arrays are indexed by track number: entry 0 is unused.
struct DiscInfo
{
    static constexpr int MaxTracks = 99;

    int mediaKind = 0;
    QString mediaIdentity;
    QString id;     // the 13-digit album ID
    int length = 0; // whole seconds: lead-out frame divided by 75
    int trackCount = 0;
    // Start frame of tracks 1..trackCount; entry trackCount + 1 holds the lead-out frame.
    std::array<int, MaxTracks + 2> trackOffsets{};
    // Length of tracks 1..trackCount in frames.
    std::array<int, MaxTracks + 1> trackLengths{};
};

} // namespace Orbisong
