#pragma once

#include "base/QuestionPort.h"
#include "player/TimerMoments.h"
#include "ui/player/PlayerHints.h"
#include "ui/player/SizeStops.h"

#include <QHash>
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>

class QTabBar;

namespace Orbisong {

class DiscRecognizer;
class RunningLookups;
class PlayerControlPanel;
class PlayerDetailPanel;
class PlayerEngine;
class PlayerGeometry;
class PlayerListControl;
class PlayerMenus;
class PlayerMiniPanel;
class PlayerPlaylistPanel;
class PlayerStatusPanel;
class PlayerTimers;
class PlayerTransportControl;
class PlayerTray;
class PlayerView;
class TCursorStack;
class TPlaylistList;
class TStatusBox;
class TTrayIcon;
struct Settings;

// The player's main window: transport, time display, album header, playlists, and the
// surroundings (tray icons, drive menus, volume, status line, size stops and mini mode).
class TPlayerForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit TPlayerForm(Settings &settings, QWidget *parent = nullptr);
    ~TPlayerForm() override;

    // The engine the window drives; none keeps the window in its empty state.
    void setEngine(PlayerEngine *engine);
    PlayerEngine *engine() const { return m_engine; }
    void setLogin(const QString &login);
    // Where the window and the timer windows it opens ask their questions; the port must
    // outlive them. Until one is set every question gets its default answer.
    void setQuestionPort(QuestionPort *port);
    // Folders of xmcd files that the recognition of new discs searches.
    void setLocalCddbFolders(const QStringList &folders);
    // The lookups the CDDB buttons and the recognition of new discs start; none starts none.
    void setLookups(RunningLookups *lookups);
    // What identifies new discs; the owner may add the album wizard stage to it.
    DiscRecognizer *recognizer() const { return m_recognizer; }
    // The album header: its cover and the pictures dropped on it.
    PlayerDetailPanel *detailPanel() const { return m_detail; }
    void setAnimationsEnabled(bool on);
    void setTimerClock(TimerMoments::Clock clock);
    // What the command line asked for the first disc: a step (-1 none, INT_MAX random), a
    // track (0 none), or the first step.
    void setStartRequest(int step, int track, bool playAtStart);
    // Asks the user for a disc image file over `parent`; an empty path when none was chosen.
    using ImageChooser = std::function<QString(QWidget *parent)>;
    // Replaces the file dialog of "Open Disc Image..." (tests choose without a dialog).
    void setImageChooser(ImageChooser chooser) { m_imageChooser = std::move(chooser); }
    // Whether the process was asked to start minimised.
    void setStartMinimized(bool on) { m_startMinimized = on; }

    // Nested suspension of always-on-top while a modal box is shown above the player.
    void suspendStayOnTop();
    void resumeStayOnTop();

    // Expands a caption format with no album ("%P %V" gives the product and version).
    static QString formatCaption(const QString &format);

    // Transport: each acts only when its button is enabled.
    void pressPlay();
    void pressStop();
    void pressNext();
    void pressPrev();
    void pressEject();
    // Sets the volume bar, which sets the engine's volume (0..65535).
    void setVolume(int volume);

    // One run of the 300 ms drive timer.
    void driveTick();
    // A hand-over of a later start: play from the first step, or a track.
    void playRequest(QChar drive, int track);

    TimerMoments &timers();
    bool setTimerPlay(const QDateTime &moment);
    bool setTimerStop(const QDateTime &moment);
    TStatusBox *statusBox() const { return m_statusBox.get(); }
    PlayerMenus *menus() const { return m_menus; }
    TCursorStack *cursorStack() const { return m_cursorStack.get(); }
    TPlaylistList *playlistList() const;
    QTabBar *playlistTabs() const;
    const SizeStops &sizeStops() const;
    bool isMiniMode() const;
    // Snaps the window to the size stop whose range holds its height.
    void snapToSizeStop();
    // Toggles between mini mode and the saved full height.
    void toggleMiniMode();
    // The drive menu as it opens now: caption texts, "-" for separators.
    QStringList driveMenuTexts();
    QStringList animationQueue() const;
    TTrayIcon *trayIcon(int index) const;
    void setupTrayIcons();

    // The info line and caption as shown now.
    QString infoLine() const;
    // Redraws everything from the engine: after playlists were added, renamed or removed.
    void refreshAll();

signals:
    void propertiesRequested();
    // The user chose a disc image to open as a new drive and switch to; the owner adds the
    // drive and, when it opens, remembers the image in Settings::recentImages.
    void discImageRequested(const QString &path);
    void collectionRequested();
    void optionsRequested();
    // "Send to CDDB database": the owner saves the album in the drive and submits it.
    void submitRequested();
    void helpRequested();
    // The drive button's "&Open" or "&Explore": the owner shows the drive's folder.
    void driveFolderRequested(QChar drive);
    void playlistEditRequested(const QString &what);
    // Steps of the list at `rows` were dragged onto the tab of `playlist`.
    void stepsDroppedOnPlaylist(const QString &playlist, const QList<int> &rows);
    // Steps of the list at `rows` were dragged onto the remove button.
    void stepsDroppedOnRemove(const QList<int> &rows);
    // The window closes: the owner shuts the engine down, closes the collection and saves.
    void closing();
    // The first drive timer tick after the window first showed: time for the start-up windows.
    void firstTickReached();
    // A new disc was identified by a lookup stage (0..4).
    void recognised(int stage);
    // "On_..." events for the script host: name, stored script.
    void scriptEvent(const QString &event, const QString &script);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildPanels();
    void connectTray();
    void connectControls();
    void connectMenus();
    void connectRecognizer();
    void applyStayOnTop(bool on);

    void firstShowing();
    void firstTick();
    bool closeQuery();
    void onDiscInserted();
    void onDiscRemoving();
    void onStepChanged();
    void onTimerDue(TimerMoments::Kind kind);
    void showLookupStatus(int lookup, const QString &text);
    void onLookupFinished(int stage, int result);

    void openAbout();
    void chooseDiscImage();
    void openVolumeProgram();

    Settings &m_settings;
    PlayerEngine *m_engine = nullptr;
    bool m_startMinimized = false;
    int m_startStep = -1;
    int m_startTrack = 0;
    bool m_playAtStart = false;

    bool m_closing = false;
    bool m_firstShown = false;
    bool m_firstTick = false;
    bool m_inTick = false;
    int m_stayOnTopSuspensions = 0;

    DefaultAnswerPort m_defaultAnswers;
    QuestionPort *m_questions = &m_defaultAnswers;
    QTimer m_driveTimer;
    PlayerHints m_hints;
    std::unique_ptr<TStatusBox> m_statusBox;
    std::unique_ptr<TCursorStack> m_cursorStack;
    // Status-line items of running lookups, by lookup.
    QHash<int, int> m_lookupStatus;

    PlayerControlPanel *m_control = nullptr;
    PlayerDetailPanel *m_detail = nullptr;
    PlayerPlaylistPanel *m_playlist = nullptr;
    PlayerStatusPanel *m_status = nullptr;
    PlayerMiniPanel *m_mini = nullptr;
    PlayerMenus *m_menus = nullptr;
    PlayerGeometry *m_geometry = nullptr;
    PlayerTimers *m_timers = nullptr;
    PlayerListControl *m_listControl = nullptr;
    PlayerTransportControl *m_transport = nullptr;
    PlayerTray *m_tray = nullptr;
    DiscRecognizer *m_recognizer = nullptr;
    std::unique_ptr<PlayerView> m_view;
    ImageChooser m_imageChooser;
};

} // namespace Orbisong
