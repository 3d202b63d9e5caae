#pragma once

#include "player/PlayerText.h"

namespace Orbisong {

class PlayerEngine;
struct Settings;

// What the player window shows of the engine's state, worked out without a window: the
// texts of the time buttons, caption, info line and summary, and which controls may act.
class PlayerDisplay
{
public:
    // Which controls may act now.
    struct Enabled
    {
        bool drive = false;      // a drive is open
        bool audio = false;      // an audio disc is in it
        bool steps = false;      // ... and the list has steps
        bool next = false;       // there is a step to move on to
        bool custom = false;     // the current playlist is not the built-in "Album"
        bool hasCurrent = false; // there is a current step
    };

    // No engine: the empty player.
    PlayerDisplay(PlayerEngine *engine, const Settings &settings);

    // The track a frame lies in; the first track before it starts, 0 without tracks.
    int trackOfFrame(int frames) const;
    // The step's name, or when it has none the title of the track it starts in.
    QString stepTitle(int index) const;
    FormatContext formatContext() const;

    QString timeText() const;
    QString caption() const;
    QString infoLine() const;
    // The info line as the player shows it: empty without steps unless formats are used.
    QString shownInfoLine() const;
    // The main tray icon's tooltip for the info line shown.
    QString trayTip(const QString &info) const;
    QString summary() const;
    Enabled enabled() const;

private:
    bool hasSteps() const;
    bool usesFormats() const;

    PlayerEngine *m_engine;
    const Settings &m_settings;
};

} // namespace Orbisong
