#pragma once

#include "playback/Msf.h"
#include "playback/PlaybackContext.h"
#include "playback/PlaybackScope.h"

#include <QString>

namespace Orbisong {

// The CD device layer: the only code that talks to the drive. It keeps one drive open,
// reads the table of contents into DiscInfo, follows the position, starts and stops playback
// and, driven by the player's 300 ms drive timer, notices discs arriving and leaving.
// Main thread only; all of it works on the context installed by PlaybackScope.

// Disc kinds of DiscInfo.
constexpr int DiscKindAudio = 0x10001;
constexpr int DiscKindCdRom = 0x10004;

// Opening and closing.
int OB4MCI_Open(QChar letter);
bool OB4MCI_OpenDrive(const QString &text);
bool OB4MCI_CloseDrive();
// Makes `letter` the open drive: closes the open one first when there is one, so that a
// drive can be chosen after a failed start-up too.
bool OB4MCI_SwitchDrive(QChar letter);
void OB4MCI_Startup();
bool OB4MCI_OpenFirstDrive();
void OB4MCI_Shutdown();

// Status of the open drive.
bool OB4MCI_GetMediaPresent();
int OB4MCI_GetTrackCount();
int OB4MCI_GetMode();
int OB4MCI_GetTrackLength(int track);
int OB4MCI_GetTrackPosition(int track);
// The position, or -1 outside [track 1, lead-out - 1).
int OB4MCI_GetPosition();
QString OB4MCI_GetMediaIdentity();
void OB4MCI_Eject();
void OB4MCI_Retract();
void OB4MCI_EjectOrRetract();
void OB4MCI_SetVolume(int volume);
int OB4MCI_GetVolume();

// Shows a drive error to the user; returns `code`.
int OB4MCI_CheckError(const QString &label, int code);

// The disc.
void OB4MCI_ReadTOC();
int OB4MCI_GetDiscType();
QString OB4MCI_GetDiscID();
// The 1-based track holding `position`; 0 before track 1, -1 with no drive open.
int OB4MCI_GetTrack(int position);
// The four time displays in frames; -1 when there is nothing to show.
int OB4MCI_GetDisplayTime(int mode, int position);
int OB4MCI_GetTimeBeforeCurrentStepStart();
int OB4MCI_GetTimeAfterCurrentStepStart();

// Other drives.
bool OB4MCI_IsAudioCDVolume(QChar letter);
int OB4MCI_GetDriveDiscID(QChar letter, QString *id);
void OB4MCI_RefreshDriveIDs();
int OB4MCI_GetCachedDriveDiscID(const QString &letter, QString *id);

// CD audio track files: the track number, or 0.
int OB4MCI_GetTrackFromFile(const QString &path, const QString &identity);

// Playback.
void OB4MCI_StartPlayback();
void OB4MCI_StopPlayback();
// One drive-timer step: -1 the disc left, 1 an audio disc arrived, 2 an ignored disc
// arrived, else 0.
int OB4MCI_Poll();
void HandleEject();

} // namespace Orbisong
