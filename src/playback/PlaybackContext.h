#pragma once

#include "playback/CdDevice.h"
#include "collection/CurrentAlbum.h"
#include "playback/PlayerState.h"

#include <QList>
#include <QMap>

#include <memory>
#include <random>

namespace Orbisong {

class CdDriveSet;
class Collection;
class PlayerListener;
class QuestionPort;
struct Settings;

// The records of the device layer and the controller. Its user owns it (the player's engine,
// a test) and installs it for the OB4MCI_ and OB4CTRL_ routines with a PlaybackScope.
struct PlaybackContext
{
    // Per-drive result of OB4MCI_GetDriveDiscID: -1 not readable, 0 no disc, 1 id known.
    struct DriveId
    {
        int result = -1;
        QString id;
    };

    // What the program plugs in; none of them is owned here.
    CdDriveSet *drives = nullptr;
    Settings *settings = nullptr;
    Collection *collection = nullptr;
    PlayerListener *listener = nullptr;
    // Where drive errors and the device layer's questions go; none: default answers.
    QuestionPort *questions = nullptr;

    PlayerState state;
    // DiscInfo, AlbumInfo and the playlists (the player's tabs) of the disc in the drive.
    CurrentAlbum current;
    // The player's playlist list: copies of the current playlist's steps in play order.
    QList<TStep> playlistList;
    std::shared_ptr<TPlaylist> currentPlaylist;
    int currentPlaylistIndex = -1;

    std::shared_ptr<CdDevice> device; // the open drive, null when none
    int cachedTrack = -1;
    bool animating = false;
    int volume = 65535;
    QMap<QChar, DriveId> driveIds;
    std::mt19937 random{std::random_device{}()};
    unsigned seed = 0;
};

} // namespace Orbisong
