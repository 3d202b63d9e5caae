#pragma once

#include <QCoreApplication>
#include <QStringList>

class QWidget;

namespace Orbisong {

class DiscRecognizer;
class PlayerControlPanel;
class PlayerDetailPanel;
class PlayerDisplay;
class PlayerEngine;
class PlayerHints;
class PlayerMenus;
class PlayerMiniPanel;
class PlayerPlaylistPanel;
class PlayerStatusPanel;
class PlayerTray;
struct Settings;

// Shows the engine's state in the player window: time buttons, caption, info line, album
// header, list, tabs, summary, which controls may act, tray tips and the status animation.
class PlayerView
{
    Q_DECLARE_TR_FUNCTIONS(PlayerView)

public:
    struct Parts
    {
        QWidget *window = nullptr;
        PlayerControlPanel *control = nullptr;
        PlayerDetailPanel *detail = nullptr;
        PlayerPlaylistPanel *playlist = nullptr;
        PlayerStatusPanel *status = nullptr;
        PlayerMiniPanel *mini = nullptr;
        PlayerMenus *menus = nullptr;
        PlayerTray *tray = nullptr;
        PlayerHints *hints = nullptr;
    };

    PlayerView(const Settings &settings, const Parts &parts);

    void setEngine(PlayerEngine *engine) { m_engine = engine; }
    void setRecognizer(const DiscRecognizer *recognizer) { m_recognizer = recognizer; }
    void setAnimationsEnabled(bool on) { m_animations = on; }
    // The animations waiting to show, the one shown first.
    QStringList animationQueue() const { return m_animationQueue; }
    PlayerDisplay display() const;

    void refreshAll();
    void refreshButtons();
    void refreshDisplay();
    void refreshHeader();
    void refreshSummary();
    void refreshList();
    void refreshTabs();
    void refreshAnimation();
    // The remote lookup buttons and animation while remote lookups run.
    void refreshRemoteLookups();
    // A remote lookup started: its animation shows before the others.
    void showRemoteLookupStarted();

private:
    const Settings &m_settings;
    Parts m_parts;
    PlayerEngine *m_engine = nullptr;
    const DiscRecognizer *m_recognizer = nullptr;
    bool m_animations = true;
    QStringList m_animationQueue;
    QString m_shownCaption;
    QString m_shownInfo;
};

} // namespace Orbisong
