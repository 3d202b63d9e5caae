#pragma once

#include "player/PlayerDisplay.h"

#include <QWidget>

#include <array>

class QLabel;
class QTabBar;
class QToolButton;

namespace Orbisong {

class PlayerEngine;
class PlayerHints;
class TPlaylistList;

// The player's list of steps, and under it the playlist tabs with the buttons that edit
// playlists and look the album up.
class PlayerPlaylistPanel : public QWidget
{
    Q_OBJECT

public:
    enum Button { Add, Edit, Remove, RemoteCddb, CddbStop, LocalCddb, SendCddb, ButtonCount };

    explicit PlayerPlaylistPanel(PlayerHints &hints, QWidget *parent = nullptr);

    TPlaylistList *list() const { return m_list; }
    QTabBar *tabs() const { return m_tabs; }
    // The row of tabs and buttons, which the size stops measure on its own.
    QWidget *editPanel() const { return m_editPanel; }
    QToolButton *button(Button which) const { return m_buttons[which]; }
    // Stands in for the list while there is no drive: what to do instead.
    QLabel *noDriveHint() const { return m_noDriveHint; }

    void applyEnabled(const PlayerDisplay::Enabled &enabled);
    // The stop button stands in for the remote lookup button while a remote lookup runs.
    void showRemoteLookupRunning(bool running);
    // Fills the list with the engine's steps, keeping the selected row where it can.
    void showSteps(PlayerEngine *engine, const PlayerDisplay &display);
    // One tab for each playlist of the album, the current one selected.
    void showTabs(PlayerEngine *engine);

private:
    TPlaylistList *m_list = nullptr;
    QLabel *m_noDriveHint = nullptr;
    QWidget *m_editPanel = nullptr;
    QTabBar *m_tabs = nullptr;
    std::array<QToolButton *, ButtonCount> m_buttons{};
};

} // namespace Orbisong
