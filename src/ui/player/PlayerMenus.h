#pragma once

#include "player/PlayerDisplay.h"

#include <QObject>

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QWidget;

namespace Orbisong {

class PlayerEngine;
class TPlaylistList;
struct Settings;

// The player's menus: the main menu, the popups of its controls, and the drive, jump and
// tray menus that are filled as they open. What a menu item asks of the window is a signal;
// drive and jump items act on the engine themselves and report it with `albumChanged`.
class PlayerMenus : public QObject
{
    Q_OBJECT

public:
    // The main menu goes into `window`'s menu bar; `list` is the list the playlist popup
    // acts on.
    PlayerMenus(QMainWindow *window, Settings &settings, TPlaylistList *list);

    void setEngine(PlayerEngine *engine) { m_engine = engine; }
    void applyEnabled(const PlayerDisplay::Enabled &enabled);

    QMenu *timePopup() const { return m_timePopup; }
    QMenu *playPopup() const { return m_playPopup; }
    QMenu *playlistPopup() const { return m_playlistPopup; }
    QMenu *tabPopup() const { return m_tabPopup; }
    QMenu *weblinkMenu() const { return m_weblinkMenu; }
    // The weblink menu's artist searches: 0 purchases, 1 information, 2 performances.
    QMenu *searchMenu(int profile) const { return m_searchMenus[profile]; }
    QAction *addCurrentSiteAction() const { return m_addSiteAction; }
    QMenu *drivePopup() const { return m_drivePopup; }
    QMenu *driveContextMenu() const { return m_driveContextMenu; }
    QMenu *volumePopup() const { return m_volumePopup; }
    QMenu *trayPopup() const { return m_trayPopup; }
    // The name of the volume line the volume popup has chosen (its checked item's data);
    // empty for the desktop's output.
    QString volumeLine() const;

    // The drive menu as it opens now: caption texts, "-" for separators.
    QStringList driveMenuTexts();
    // Makes a right click on `widget` open `menu`.
    static void attach(QWidget *widget, QMenu *menu);

signals:
    void propertiesRequested();
    // "Open Disc Image...": the window asks for the file.
    void openImageRequested();
    // An entry of the recent images submenu.
    void recentImageRequested(const QString &path);
    void collectionRequested();
    void optionsRequested();
    void helpRequested();
    // "&Open" or "&Explore" of the drive button's context menu: the current drive's folder.
    void driveFolderRequested();
    void aboutRequested();
    void closeRequested();
    void ejectPressed();
    void stopPressed();
    void playPressed();
    void prevPressed();
    void nextPressed();
    void playlistEditRequested(const QString &what);
    void favoritesRequested(const QList<int> &rows);
    void playRowRequested(int row);
    void deleteRowRequested(int row);
    void shuffleRequested();
    void timeFormatChanged();
    void playOrderChanged();
    // A menu item changed the drive, the current playlist or the current step.
    void albumChanged();
    // The tray menu made its "&WebLink" submenu anew: whoever knows the links fills it.
    void trayWeblinkMenuBuilt(QMenu *menu);

private:
    void buildMainMenu(QMainWindow *window);
    void buildTimePopup(QWidget *parent);
    void buildPlayPopup(QWidget *parent);
    void buildPlaylistPopups(QWidget *parent);
    void buildOtherPopups(QWidget *parent);
    void fillDriveMenu(QMenu *menu);
    void chooseDrive(QChar letter);
    void fillJumpMenu(QMenu *menu);
    void fillTrayMenu();
    void fillRecentImages(QMenu *menu);

    Settings &m_settings;
    TPlaylistList *m_list;
    PlayerEngine *m_engine = nullptr;

    QMenu *m_timePopup = nullptr;
    QMenu *m_playPopup = nullptr;
    QMenu *m_playlistPopup = nullptr;
    QMenu *m_tabPopup = nullptr;
    QMenu *m_weblinkMenu = nullptr;
    QMenu *m_searchMenus[3] = {};
    QAction *m_addSiteAction = nullptr;
    QMenu *m_drivePopup = nullptr;
    QMenu *m_driveContextMenu = nullptr;
    QMenu *m_volumePopup = nullptr;
    QMenu *m_trayPopup = nullptr;
    QActionGroup *m_timeModes = nullptr;
    QAction *m_normalAction = nullptr;
    QAction *m_randomAction = nullptr;
    QAction *m_favoritesAction = nullptr;
    QAction *m_propertiesAction = nullptr;
    QAction *m_collectionAction = nullptr;
    QAction *m_ejectAction = nullptr;
    QAction *m_stopAction = nullptr;
    QAction *m_playAction = nullptr;
    QAction *m_prevAction = nullptr;
    QAction *m_nextAction = nullptr;
    QAction *m_addAction = nullptr;
    QAction *m_editAction = nullptr;
    QAction *m_removeAction = nullptr;
};

} // namespace Orbisong
