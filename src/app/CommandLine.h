#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace Orbisong {

// Reads the track number from a CD audio track file; 0 when the file is not one.
using TrackFileReader = std::function<int(const QString &path)>;

// What the first instance takes from its command line.
struct StartupSwitches
{
    bool play = false;     // "/PLAY"
    bool closeOnEject = false; // "/CLOSE"
    bool noDrive = false;  // "/NODRIVE"
    bool convert = false;  // "/CONVERT"
    bool noAnimations = false; // "/NOANIM"
    QString startDrive;    // preferred start drive letter, empty for none
    int startTrack = 0;    // start track, 0 for none
    QStringList discImages; // disc image files named on the command line
    bool demo = false;     // "--demo": open the demo disc image
};

StartupSwitches parseStartupSwitches(const QStringList &arguments, const QStringList &driveLetters,
                                     const TrackFileReader &readTrack);

// What a second instance hands to the first one.
struct Handover
{
    enum Kind { Raise, Play, PlayTrack };
    Kind kind = Raise;
    QChar drive;   // upper-case drive letter, null for none
    int track = 0; // PlayTrack only

    QString encode() const;
    static Handover decode(const QString &line);
    bool operator==(const Handover &) const = default;
};

Handover computeHandover(const QStringList &arguments, const TrackFileReader &readTrack);

// True when a parameter names a disc image file the player can open as a drive.
bool isDiscImagePath(const QString &argument);

} // namespace Orbisong
