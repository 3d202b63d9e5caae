#pragma once

#include <QList>
#include <QString>

#include <cstdint>

namespace Orbisong {

// The disc identifiers computed from a table of contents. Track starts and the lead-out are
// absolute frames (75 a second, track 1 normally at 150).

// The 32-bit CDDB disc id: digit-sum checksum mod 255, playing seconds, track count.
std::uint32_t CddbDiscId(const QList<int> &trackStarts, int leadOut);

// The CDDB disc id as 8 lower-case hexadecimal digits, as CDDB servers and entries write it.
QString CddbDiscIdText(std::uint32_t discId);

// The album ID: the CDDB disc id as 8 upper-case hexadecimal digits followed by the start of
// the last track as 5 upper-case digits. Empty when there are no tracks.
QString AlbumId(const QList<int> &trackStarts, int leadOut);

// The media identity a drive reports for the disc: the CDDB disc id as upper-case
// hexadecimal without leading zeros. Other players name their records of a disc by it.
QString MediaIdentity(const QList<int> &trackStarts, int leadOut);

} // namespace Orbisong
