#pragma once

#include <QList>
#include <QString>

#include <cstdint>

namespace Orbisong {

// The disc identifiers computed from a table of contents. Track starts and the lead-out are
// absolute frames (75 a second, track 1 normally at 150).

// What a table of contents can hold: 1-99 tracks, every frame within 100 minutes.
constexpr int MaxTocTracks = 99;
constexpr int MaxTocFrame = 449999;

// Empty when the table of contents can be a disc's: 1-99 track starts in ascending order
// within 0..MaxTocFrame and a lead-out after the last start, within range too. Otherwise a
// short phrase saying what is wrong with it. Every table read from a user, a file or a drive
// passes here before an ID is made of it.
QString TocProblem(const QList<int> &trackStarts, qint64 leadOut);
bool IsValidToc(const QList<int> &trackStarts, qint64 leadOut);

// Whether the text has the form AlbumId() gives: 13 hexadecimal digits.
bool IsAlbumIdText(const QString &text);

// The 32-bit CDDB disc id: digit-sum checksum mod 255, playing seconds, track count.
std::uint32_t CddbDiscId(const QList<int> &trackStarts, int leadOut);

// The CDDB disc id as 8 lower-case hexadecimal digits, as CDDB servers and entries write it.
QString CddbDiscIdText(std::uint32_t discId);

// The album ID: the CDDB disc id as 8 upper-case hexadecimal digits followed by the start of
// the last track as 5 upper-case digits. Empty when the table of contents is not valid.
QString AlbumId(const QList<int> &trackStarts, int leadOut);

// The media identity a drive reports for the disc: the CDDB disc id as upper-case
// hexadecimal without leading zeros. Other players name their records of a disc by it.
QString MediaIdentity(const QList<int> &trackStarts, int leadOut);

} // namespace Orbisong
