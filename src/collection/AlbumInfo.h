#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace Orbisong {

// Album flags ("Album" "FL").
enum AlbumFlag {
    AlbumFlagIntro = 1,
    AlbumFlagRepeat = 2,
    AlbumFlagLastNameFirst = 4, // sort the artist by its last word
    // The user allowed the event scripts of an album that came from elsewhere to run.
    AlbumFlagScriptsAllowed = 8,
    // The album came from another collection: its scripts wait for the user's consent.
    AlbumFlagScriptsHeld = 16,
};

// Where an album's description came from ("Album" "SR").
enum AlbumSource {
    SourceManual = 0,
    SourceCdPlayer = 1,
    SourceLocalCddb = 2,
    SourceInternetCddb = 3,
    SourceConverted = 4,
    SourceOtherCollection = 5,
};

// The text shown for a source code on the album properties window.
QString albumSourceText(int source);

// Everything the user can edit about the current album. Track arrays are indexed by track
// number (1..MaxTracks); entry 0 is unused.
struct AlbumInfo
{
    static constexpr int MaxTracks = 100;

    bool isNew = true;    // true until the album has been written once
    bool counted = false; // this insertion has been counted in the usage fields
    int revision = 1;
    int flags = 0;
    QString binder;
    QString artist;
    QString category;
    QString copyright;
    QString owner;
    QString title;
    QString other;
    QString index;
    QString year;
    QString comments; // escaped one-line form
    int source = SourceManual;
    int insertCount = 0;
    QString firstInsert;
    QStringList recentInserts;          // oldest first
    QStringList customData;             // "name=value" lines
    std::array<QString, 2> albumEvents; // "On_AlbumInsert", "On_AlbumEject" (decoded)
    std::array<QString, MaxTracks + 1> trackTitles;
    std::array<QString, MaxTracks + 1> trackNotes; // escaped one-line form
    std::array<int, MaxTracks + 1> trackPlayCounts{};
    QString currentPlaylist;
};

} // namespace Orbisong
