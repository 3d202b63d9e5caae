#pragma once

#include <QString>

namespace Orbisong {

// What the caption and info-line formats can refer to, gathered by the player window.
struct FormatContext
{
    bool audio = false; // an audio disc is present
    QString artist;
    QString binder;
    QString category;
    QString owner;
    QString copyright;
    QString title;
    QString year;
    QString playlistName;
    int stepCount = 0;
    int stepNumber = 0; // current index + 1, 0 without a current step
    int minutes = 0;
    int seconds = 0;
    int track = 0;
    QString trackNotes;
    QString stepTitle;
};

// Expands "%"-placeholders and "[A...]"/"[a...]" sections of a caption or info-line format.
QString ExpandFormat(const QString &format, const FormatContext &context);

// At least two digits; negative numbers show as "00".
QString TwoDigits(int value);
// "mm:ss" of a frame count (75 frames a second).
QString FramesToText(qint64 frames);
// The time button text: track, a blank, minutes ":" seconds.
QString TimeButtonText(int track, qint64 frames);
// "mm:ss in N tracks"; empty for an empty list.
QString PlaylistSummary(qint64 totalFrames, int stepCount);

// The user's favourites playlist, the login in ProperCase: "Anna's Favorites",
// "James' Favorites".
QString FavoritesPlaylistName(const QString &login);

// What a drive menu knows about the disc in one drive.
struct DriveDiscLabel
{
    enum Kind { Unreadable, Empty, NotInCollection, Audio, CdRom };
    Kind kind = Unreadable;
    QString title;
    QString artist;
};
// "D: Title - Artist"; every "&" of the label doubled so that it shows literally.
QString DriveMenuCaption(QChar letter, bool showAlbumTitles, const DriveDiscLabel &label);

// The tray keeps at most this many characters of a tooltip.
constexpr int TrayTipLength = 62;
QString TrayTip(const QString &text);

} // namespace Orbisong
