#pragma once

#include <QString>
#include <QStringList>

namespace Orbisong {

// The album fields an xmcd entry carries, read with the rules the apply operation uses.
// Lists are CR-separated; comments keep their line breaks as CR LF.
struct CddbAlbumFields
{
    int revision = 1;
    QString artist;
    QString title;
    QString category;
    int source = 0;
    int trackCount = 0;
    QString trackTitles;
    QString extendedTrackData;
    QString comments;
    QString webLinks;
};

// What an entry is written from.
struct CddbWriteInput
{
    QString discId;
    QString artist;
    QString title;
    int revision = 1;
    int discLengthSeconds = 0;
    QString webLinks;          // CR-separated items: address, char 14, description, char 14, flag
    QString comments;          // the stored one-line escaped form
    QString extendedTrackData; // CR-separated
    QString trackTitles;       // CR-separated
    QString trackOffsets;      // CR-separated decimal frames
    bool submitComments = true;
    bool submitWebLinks = true;
    // Protocol level 6: letters beyond ASCII are kept and the entry is UTF-8 text. Otherwise
    // they become blanks, as older servers take ASCII only.
    bool utf8 = false;
};

// The eleven categories of the database, lower case.
const QStringList &CddbCategories();
bool IsCddbCategory(const QString &text);
// A category word as the album stores it: "classica" becomes "Classical", then title-cased.
QString CddbCategoryName(const QString &category);
// Eight hexadecimal digits, nothing else: what may be echoed into a command or stored.
bool IsCddbDiscId(const QString &text);
// Tracks counted by a disc id's last two hexadecimal digits, at most 99; 0 when unreadable.
int DiscIdTrackCount(const QString &discId);

QString TitleCase(const QString &text);
// Artist before the first "/", title after it; both the whole text without a "/".
void SplitArtistTitle(const QString &text, QString *artist, QString *title);

// The value of `key` joined over its continuation lines.
QString GetEntryValue(const QString &key, const QStringList &lines);
QStringList SplitEntryLines(const QString &entryText);

// The most an xmcd entry may hold; anything larger is not read as one.
constexpr qint64 MaxXmcdEntryBytes = 1024 * 1024;

// Whether `entryText` is an xmcd entry describing the disc `discId` (eight hex digits): the
// "# xmcd" signature on its first line, a DISCID line naming the disc (several ids may be
// listed, separated by commas) and a DTITLE line. Empty when it is; else why it is not.
QString CheckXmcdEntry(const QString &entryText, const QString &discId);

// Reads the album fields of an entry. `discTrackCount` is the track count of the disc being
// described (from its album ID); the entry's own count is clamped to it.
CddbAlbumFields ReadCddbEntry(const QString &category, int source, const QStringList &lines,
                              int discTrackCount);

// The entry text of a submission; empty when the disc id gives no tracks.
QString WriteCddbEntry(const CddbWriteInput &input, int year);

} // namespace Orbisong
