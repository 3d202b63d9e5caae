#pragma once

#include <cstdint>

namespace Orbisong {

// Packed MSF values hold the minute in the lowest byte, then the second, then the frame.
constexpr int MSFToFrames(int minute, int second, int frame)
{
    return minute * 4500 + second * 75 + frame;
}

constexpr std::uint32_t FramesToMSF(int frames)
{
    return std::uint32_t(frames / 4500) | (std::uint32_t(frames % 4500 / 75) << 8) |
           (std::uint32_t(frames % 75) << 16);
}

constexpr int MSFToFrames(std::uint32_t msf)
{
    return MSFToFrames(int(msf & 0xFF), int((msf >> 8) & 0xFF), int((msf >> 16) & 0xFF));
}

} // namespace Orbisong
