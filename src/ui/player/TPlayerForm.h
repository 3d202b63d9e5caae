#pragma once

#include "ui/player/SizeStops.h"
#include "player/TimerMoments.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <memory>

class QAbstractButton;
class QActionGroup;
class QLabel;
class QMenu;
class QMovie;
class QSlider;
class QTabBar;
class QToolButton;

namespace Orbisong {

class PlayerEngine;
class QuestionPort;
class RunningLookups;
class TCDDBThread;
class TCursorStack;
class TPlaylistList;
class TPositionForm;
class TStatusBox;
class TTimerForm;
class TTrayIcon;
struct FormatContext;
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
    void setLogin(const QString &login) { m_login = login; }
    // Where the window's questions go; its timer windows get the same port.
    void setQuestionPort(QuestionPort *questions) { m_questions = questions; }
    // The lookups the CDDB buttons and the recognition of new discs start; none starts none.
    void setLookups(RunningLookups *lookups) { m_lookups = lookups; }
    // Folders of xmcd files that the recognition of new discs searches.
    void setLocalCddbFolders(const QStringList &folders) { m_localCddbFolders = folders; }
    void setAnimationsEnabled(bool on) { m_animations = on; }
    void setTimerClock(TimerMoments::Clock clock);
    // What the command line asked for the first disc: a step (-1 none, INT_MAX random), a
    // track (0 none), or the first step.
    void setStartRequest(int step, int track, bool playAtStart);
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

    // One run of the 300 ms drive timer.
    void driveTick();
    // A hand-over of a later start: play from the first step, or a track.
    void playRequest(QChar drive, int track);

    TimerMoments &timers() { return m_timers; }
    bool setTimerPlay(const QDateTime &moment);
    bool setTimerStop(const QDateTime &moment);
    TStatusBox *statusBox() const { return m_statusBox.get(); }
    TCursorStack *cursorStack() const { return m_cursorStack.get(); }
    TPlaylistList *playlistList() const { return m_list; }
    QTabBar *playlistTabs() const { return m_tabs; }
    const SizeStops &sizeStops() const { return m_stops; }
    bool isMiniMode() const { return m_miniMode; }
    // Snaps the window to the size stop whose range holds its height.
    void snapToSizeStop();
    // Toggles between mini mode and the saved full height.
    void toggleMiniMode();
    // The drive menu as it opens now: caption texts, "-" for separators.
    QStringList driveMenuTexts();
    QStringList animationQueue() const { return m_animationQueue; }
    TTrayIcon *trayIcon(int index) const;
    void setupTrayIcons();

    // The info line and caption as shown now.
    QString infoLine() const;

signals:
    void propertiesRequested();
    void collectionRequested();
    void optionsRequested();
    void helpRequested();
    void playlistEditRequested(const QString &what);
    // The window closes: the owner shuts the engine down, closes the collection and saves.
    void closing();
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
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildControlPanel();
    QWidget *buildDetailPanel();
    QWidget *buildPlaylistPanel();
    QWidget *buildStatusPanel();
    QWidget *buildMiniPanel();
    void buildMenus();
    void buildPopups();
    QToolButton *iconButton(const QString &name, const QString &icon, const QString &hint,
                            QWidget *parent);
    void hint(QWidget *widget, const QString &text);
    void applyHints();
    void applyStayOnTop(bool on);

    void firstShowing();
    void firstTick();
    bool closeQuery();
    void onDiscInserted();
    void onDiscRemoving();
    void onStepChanged();
    void startRecognition();
    TCDDBThread *startRemoteLookup(const QString &albumId, const QString &query);
    void startLocalLookup(QStringList folders, const QString &albumId,
                          std::function<void(int)> report);
    void refreshCddbButtons();

    void refreshAll();
    void refreshButtons();
    void refreshDisplay();
    void refreshHeader();
    void refreshSummary();
    void refreshList();
    void refreshTabs();
    void refreshAnimation();
    FormatContext formatContext() const;
    QString stepTitle(int index) const;
    int trackOfFrame(int frames) const;

    void onTabClicked(int index);
    void playRow(int row);
    void deleteRow(int row);
    void moveRow(int from, int to);
    void dropTrackFiles(const QStringList &paths, int beforeRow);
    void addToFavorites(const QList<int> &rows);
    void shuffleList();
    void followCurrent(int previousSerial, bool wasRunning);

    void openPositionWindow(QToolButton *button);
    void onTimerButton(TimerMoments::Kind kind);
    void checkTimers();
    void refreshTimerButtons();
    void openAbout();
    void openVolumeProgram();
    void fillDriveMenu(QMenu *menu);
    void chooseDrive(QChar letter);
    void fillJumpMenu(QMenu *menu);
    void fillTrayMenu();
    void applyMiniMode(bool mini);
    void updateMinimumWidth();
    void stickToEdges();
    void computeSizeStops();

    Settings &m_settings;
    PlayerEngine *m_engine = nullptr;
    QuestionPort *m_questions = nullptr;
    RunningLookups *m_lookups = nullptr;
    QString m_login;
    QStringList m_localCddbFolders;
    bool m_animations = true;
    bool m_startMinimized = false;
    int m_startStep = -1;
    int m_startTrack = 0;
    bool m_playAtStart = false;

    bool m_closing = false;
    bool m_firstShown = false;
    bool m_firstTick = false;
    bool m_inTick = false;
    int m_stayOnTopSuspensions = 0;
    bool m_miniMode = false;
    bool m_sticking = false;
    int m_fullHeight = 0;

    QTimer m_driveTimer;
    QTimer m_snapTimer;
    bool m_snapping = false;
    QElapsedTimer m_monotonic;
    TimerMoments m_timers;
    std::unique_ptr<TStatusBox> m_statusBox;
    std::unique_ptr<TCursorStack> m_cursorStack;
    SizeStops m_stops;
    QStringList m_animationQueue;
    QPointer<TTimerForm> m_timerForms[2];
    QPointer<TPositionForm> m_positionForm;

    QString m_shownCaption;
    QString m_shownInfo;

    QList<QPair<QPointer<QWidget>, QString>> m_hints;
    QWidget *m_controlPanel = nullptr;
    QWidget *m_detailPanel = nullptr;
    QWidget *m_playlistPanel = nullptr;
    QWidget *m_statusPanel = nullptr;
    QWidget *m_miniPanel = nullptr;
    QWidget *m_editPanel = nullptr;
    QToolButton *m_timeButton = nullptr;
    QToolButton *m_miniTimeButton = nullptr;
    QToolButton *m_propertiesButton = nullptr;
    QToolButton *m_collectionButton = nullptr;
    QToolButton *m_autoPlayButton = nullptr;
    QToolButton *m_autoStopButton = nullptr;
    QToolButton *m_introButton = nullptr;
    QToolButton *m_repeatButton = nullptr;
    QToolButton *m_ejectButton = nullptr;
    QToolButton *m_stopButton = nullptr;
    QToolButton *m_playButton = nullptr;
    QToolButton *m_prevButton = nullptr;
    QToolButton *m_nextButton = nullptr;
    QToolButton *m_weblinkButton = nullptr;
    QToolButton *m_driveButton = nullptr;
    QToolButton *m_addButton = nullptr;
    QToolButton *m_editButton = nullptr;
    QToolButton *m_removeButton = nullptr;
    QToolButton *m_remoteCddbButton = nullptr;
    QToolButton *m_localCddbButton = nullptr;
    QToolButton *m_sendCddbButton = nullptr;
    QToolButton *m_cddbStopButton = nullptr;
    QToolButton *m_volumeButton = nullptr;
    QList<QToolButton *> m_miniButtons;
    QLabel *m_userLabel = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_artistLabel = nullptr;
    QLabel *m_statusPicture = nullptr;
    QMovie *m_statusMovie = nullptr;
    QLabel *m_statusLabel = nullptr;
    QLabel *m_summaryLabel = nullptr;
    QSlider *m_volumeTrack = nullptr;
    TPlaylistList *m_list = nullptr;
    QTabBar *m_tabs = nullptr;

    QMenu *m_timePopup = nullptr;
    QMenu *m_playPopup = nullptr;
    QMenu *m_playlistPopup = nullptr;
    QMenu *m_tabPopup = nullptr;
    QMenu *m_weblinkMenu = nullptr;
    QMenu *m_drivePopup = nullptr;
    QMenu *m_trayPopup = nullptr;
    QMenu *m_volumePopup = nullptr;
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
    QList<TTrayIcon *> m_trayIcons;
};

} // namespace Orbisong
