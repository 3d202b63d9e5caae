#pragma once

namespace Orbisong {

// What kind of disc an album describes, as stored in "Media" "MD".
constexpr int MediaKindAudioCd = 0x10001; // 65537
constexpr int MediaKindCdRom = 0x10004;   // 65540

// A CD-ROM is recognised by both bits of its kind, so any kind carrying them counts.
constexpr bool isCdRomKind(int kind)
{
    return (kind & MediaKindCdRom) == MediaKindCdRom;
}

} // namespace Orbisong
