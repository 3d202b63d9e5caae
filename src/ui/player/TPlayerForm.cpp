#include "ui/player/TPlayerForm.h"

#include "base/MessageIds.h"
#include "base/MessageText.h"
#include "collection/Settings.h"
#include "player/DiscRecognizer.h"
#include "player/PlayerDisplay.h"
#include "player/PlayerEngine.h"
#include "player/PlayerTransport.h"
#include "ui/player/PlayerControlPanel.h"
#include "ui/player/PlayerDetailPanel.h"
#include "ui/player/PlayerGeometry.h"
#include "ui/player/PlayerListControl.h"
#include "ui/player/PlayerMenus.h"
#include "ui/player/PlayerMiniPanel.h"
#include "ui/player/PlayerPlaylistPanel.h"
#include "ui/player/PlayerStatusPanel.h"
#include "ui/player/PlayerStyle.h"
#include "ui/player/PlayerTimers.h"
#include "ui/player/PlayerTransportControl.h"
#include "ui/player/PlayerTray.h"
#include "ui/player/PlayerView.h"
#include "ui/player/TAboutForm.h"
#include "ui/player/TCursorStack.h"
#include "ui/player/TPlaylistList.h"
#include "ui/player/TStatusBox.h"
#include "ui/player/TTrayIcon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLocale>
#include <QProcess>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

constexpr int DriveTimerMs = 300;

} // namespace

TPlayerForm::TPlayerForm(Settings &settings, QWidget *parent)
    : QMainWindow(parent), m_settings(settings), m_imageChooser([](QWidget *parent) {
          return QFileDialog::getOpenFileName(parent, tr("Open Disc Image"), QString(),
                                              tr("Disc images (*.cue *.toc *.nrg);;"
                                                 "All files (*)"));
      })
{
    setObjectName(QStringLiteral("TPlayerForm"));
    setWindowIcon(PlayerHints::icon(QStringLiteral("orbisong")));
    setStyleSheet(PlayerStyleSheet());
    buildPanels();
    m_menus = new PlayerMenus(this, settings, m_playlist->list());
    m_timers = new PlayerTimers(this, settings, m_hints,
                                {m_control->button(PlayerControlPanel::AutoPlay),
                                 m_control->button(PlayerControlPanel::AutoStop)});
    m_tray = new PlayerTray(m_menus->trayPopup(), this);
    m_recognizer = new DiscRecognizer(settings, this);
    m_view = std::make_unique<PlayerView>(settings, PlayerView::Parts{this, m_control, m_detail,
                                                                      m_playlist, m_status, m_mini,
                                                                      m_menus, m_tray, &m_hints});
    m_view->setRecognizer(m_recognizer);
    m_listControl = new PlayerListControl(settings, m_playlist, m_view.get(), this);
    m_transport =
        new PlayerTransportControl(this, settings, m_control, m_mini, m_listControl, m_view.get());
    m_statusBox = std::make_unique<TStatusBox>(m_status->statusLabel());
    m_cursorStack = std::make_unique<TCursorStack>();
    connectTray();
    connectControls();
    connectMenus();
    connectRecognizer();
    m_driveTimer.setInterval(DriveTimerMs);
    connect(&m_driveTimer, &QTimer::timeout, this, &TPlayerForm::driveTick);

    applyStayOnTop(settings.GetOptionFlag(_GLOB_OPTION_STAYONTOP));
    m_hints.apply(settings.GetOptionFlag(_GLOB_OPTION_SHOWHINTS));
    resize(440, 420);
    refreshAll();
}

TPlayerForm::~TPlayerForm() = default;

void TPlayerForm::buildPanels()
{
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The size stops decide which panels fit; the layout must not hold the window open.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    m_control = new PlayerControlPanel(m_hints);
    m_detail = new PlayerDetailPanel(m_hints);
    m_playlist = new PlayerPlaylistPanel(m_hints);
    m_status = new PlayerStatusPanel(m_hints);
    m_mini = new PlayerMiniPanel(m_hints);
    layout->addWidget(m_mini);
    layout->addWidget(m_control);
    layout->addWidget(m_detail);
    layout->addWidget(m_playlist, 1);
    layout->addWidget(m_status);
    m_mini->hide();
    setCentralWidget(central);
    m_geometry = new PlayerGeometry(
        this, m_settings,
        {m_mini, m_control, m_detail, m_playlist, m_playlist->editPanel(), m_status});
}

void TPlayerForm::connectTray()
{
    TTrayIcon *main = m_tray->icon(PlayerTray::Main);
    connect(main, &TTrayIcon::clicked, this, [this] {
        if (isMinimized())
            showNormal();
        raise();
        activateWindow();
    });
    connect(main, &TTrayIcon::doubleClicked, this, &TPlayerForm::toggleMiniMode);
    TTrayIcon *stop = m_tray->icon(PlayerTray::Stop);
    connect(stop, &TTrayIcon::clicked, this, &TPlayerForm::pressStop);
    connect(stop, &TTrayIcon::doubleClicked, this, &TPlayerForm::pressEject);
    connect(m_tray->icon(PlayerTray::Play), &TTrayIcon::clicked, this, &TPlayerForm::pressPlay);
    connect(m_tray->icon(PlayerTray::Prev), &TTrayIcon::clicked, this, &TPlayerForm::pressPrev);
    connect(m_tray->icon(PlayerTray::Next), &TTrayIcon::clicked, this, &TPlayerForm::pressNext);
}

void TPlayerForm::connectControls()
{
    connect(m_control->button(PlayerControlPanel::Properties), &QToolButton::clicked, this,
            &TPlayerForm::propertiesRequested);
    connect(m_control->button(PlayerControlPanel::Collection), &QToolButton::clicked, this,
            &TPlayerForm::collectionRequested);
    connect(m_control->button(PlayerControlPanel::AutoPlay), &QToolButton::clicked, this,
            [this] { m_timers->press(TimerMoments::Play); });
    connect(m_control->button(PlayerControlPanel::AutoStop), &QToolButton::clicked, this,
            [this] { m_timers->press(TimerMoments::Stop); });
    connect(m_timers, &PlayerTimers::due, this, &TPlayerForm::onTimerDue);
    connect(m_timers, &PlayerTimers::windowOpened, this, &TPlayerForm::suspendStayOnTop);
    connect(m_timers, &PlayerTimers::windowClosed, this, &TPlayerForm::resumeStayOnTop);
    connect(m_status, &PlayerStatusPanel::volumeChosen, this, [this](int volume) {
        if (m_engine)
            m_engine->setVolume(volume);
    });
    connect(m_status->volumeButton(), &QToolButton::clicked, this, &TPlayerForm::openVolumeProgram);
    connect(m_listControl, &PlayerListControl::playlistEditRequested, this,
            &TPlayerForm::playlistEditRequested);
    connect(m_listControl, &PlayerListControl::stepsDroppedOnPlaylist, this,
            &TPlayerForm::stepsDroppedOnPlaylist);
    connect(m_listControl, &PlayerListControl::stepsDroppedOnRemove, this,
            &TPlayerForm::stepsDroppedOnRemove);
}

void TPlayerForm::connectMenus()
{
    PlayerMenus *menus = m_menus;
    connect(menus, &PlayerMenus::propertiesRequested, this, &TPlayerForm::propertiesRequested);
    connect(menus, &PlayerMenus::collectionRequested, this, &TPlayerForm::collectionRequested);
    connect(menus, &PlayerMenus::openImageRequested, this, &TPlayerForm::chooseDiscImage);
    connect(menus, &PlayerMenus::recentImageRequested, this, &TPlayerForm::discImageRequested);
    connect(menus, &PlayerMenus::optionsRequested, this, &TPlayerForm::optionsRequested);
    connect(menus, &PlayerMenus::helpRequested, this, &TPlayerForm::helpRequested);
    connect(menus, &PlayerMenus::driveFolderRequested, this, [this] {
        if (m_engine && !m_engine->currentDrive().isNull())
            emit driveFolderRequested(m_engine->currentDrive());
    });
    connect(menus, &PlayerMenus::aboutRequested, this, &TPlayerForm::openAbout);
    connect(menus, &PlayerMenus::closeRequested, this, &QWidget::close);
    connect(menus, &PlayerMenus::ejectPressed, this, &TPlayerForm::pressEject);
    connect(menus, &PlayerMenus::stopPressed, this, &TPlayerForm::pressStop);
    connect(menus, &PlayerMenus::playPressed, this, &TPlayerForm::pressPlay);
    connect(menus, &PlayerMenus::prevPressed, this, &TPlayerForm::pressPrev);
    connect(menus, &PlayerMenus::nextPressed, this, &TPlayerForm::pressNext);
    connect(menus, &PlayerMenus::playlistEditRequested, this, &TPlayerForm::playlistEditRequested);
    PlayerListControl *list = m_listControl;
    connect(menus, &PlayerMenus::favoritesRequested, list, &PlayerListControl::addToFavorites);
    connect(menus, &PlayerMenus::playRowRequested, list, &PlayerListControl::playRow);
    connect(menus, &PlayerMenus::deleteRowRequested, list, &PlayerListControl::deleteRow);
    connect(menus, &PlayerMenus::shuffleRequested, list, &PlayerListControl::shuffle);
    connect(menus, &PlayerMenus::timeFormatChanged, this, [this] { m_view->refreshDisplay(); });
    connect(menus, &PlayerMenus::playOrderChanged, this, [this] { m_view->refreshButtons(); });
    connect(menus, &PlayerMenus::albumChanged, this, &TPlayerForm::refreshAll);

    PlayerMenus::attach(m_control->timeButton(), menus->timePopup());
    PlayerMenus::attach(m_control->button(PlayerControlPanel::Play), menus->playPopup());
    PlayerMenus::attach(m_playlist->list(), menus->playlistPopup());
    PlayerMenus::attach(m_playlist->tabs(), menus->tabPopup());
    PlayerMenus::attach(m_status->volumeTrack(), menus->volumePopup());
    for (QToolButton *weblink :
         {m_control->button(PlayerControlPanel::Weblink), m_mini->button(PlayerMiniPanel::Weblink)})
        weblink->setMenu(menus->weblinkMenu());
    m_detail->driveButton()->setMenu(menus->drivePopup());
    PlayerMenus::attach(m_detail->driveButton(), menus->driveContextMenu());
}

void TPlayerForm::connectRecognizer()
{
    DiscRecognizer *recognizer = m_recognizer;
    connect(recognizer, &DiscRecognizer::lookupStatus, this, &TPlayerForm::showLookupStatus);
    connect(recognizer, &DiscRecognizer::remoteLookupStarted, this,
            [this] { m_view->showRemoteLookupStarted(); });
    connect(recognizer, &DiscRecognizer::remoteLookupFinished, this, &TPlayerForm::refreshAll);
    connect(recognizer, &DiscRecognizer::recognitionFinished, this, [this](int stage, int notice) {
        if (notice != RecognitionSequence::Found)
            return;
        refreshAll();
        emit recognised(stage);
    });
    connect(recognizer, &DiscRecognizer::lookupFinished, this, &TPlayerForm::onLookupFinished);
    connect(m_playlist->button(PlayerPlaylistPanel::LocalCddb), &QToolButton::clicked, this,
            [this] {
                if (m_engine && m_engine->audioPresent())
                    m_recognizer->lookUpLocal(m_engine->current().disc);
            });
    connect(m_playlist->button(PlayerPlaylistPanel::RemoteCddb), &QToolButton::clicked, this,
            [this] {
                if (m_engine && m_engine->audioPresent())
                    m_recognizer->lookUpRemote(m_engine->current().disc);
            });
    connect(m_playlist->button(PlayerPlaylistPanel::CddbStop), &QToolButton::clicked, this,
            [this] { m_recognizer->stopRemoteLookups(); });
    connect(m_playlist->button(PlayerPlaylistPanel::SendCddb), &QToolButton::clicked, this,
            &TPlayerForm::submitRequested);
}

// ---- What the window offers its owner ---------------------------------------------------

QString TPlayerForm::formatCaption(const QString &format)
{
    return ExpandFormat(format, FormatContext{});
}

void TPlayerForm::setQuestionPort(QuestionPort *port)
{
    m_questions = port ? port : &m_defaultAnswers;
    m_timers->setQuestionPort(port);
}

void TPlayerForm::setLogin(const QString &login)
{
    m_listControl->setLogin(login);
}

void TPlayerForm::setLookups(RunningLookups *lookups)
{
    m_recognizer->setLookups(lookups);
}

void TPlayerForm::setLocalCddbFolders(const QStringList &folders)
{
    m_recognizer->setLocalCddbFolders(folders);
}

void TPlayerForm::setAnimationsEnabled(bool on)
{
    m_view->setAnimationsEnabled(on);
}

void TPlayerForm::setStartRequest(int step, int track, bool playAtStart)
{
    m_startStep = step;
    m_startTrack = track;
    m_playAtStart = playAtStart;
}

void TPlayerForm::setTimerClock(TimerMoments::Clock clock)
{
    m_timers->setClock(std::move(clock));
}

TimerMoments &TPlayerForm::timers()
{
    return m_timers->moments();
}

bool TPlayerForm::setTimerPlay(const QDateTime &moment)
{
    return m_timers->setAt(TimerMoments::Play, moment);
}

bool TPlayerForm::setTimerStop(const QDateTime &moment)
{
    return m_timers->setAt(TimerMoments::Stop, moment);
}

TPlaylistList *TPlayerForm::playlistList() const
{
    return m_playlist->list();
}

QTabBar *TPlayerForm::playlistTabs() const
{
    return m_playlist->tabs();
}

const SizeStops &TPlayerForm::sizeStops() const
{
    return m_geometry->sizeStops();
}

bool TPlayerForm::isMiniMode() const
{
    return m_geometry->isMiniMode();
}

void TPlayerForm::snapToSizeStop()
{
    m_geometry->snapToSizeStop();
}

void TPlayerForm::toggleMiniMode()
{
    m_geometry->toggleMiniMode();
}

QStringList TPlayerForm::driveMenuTexts()
{
    return m_menus->driveMenuTexts();
}

QStringList TPlayerForm::animationQueue() const
{
    return m_view->animationQueue();
}

TTrayIcon *TPlayerForm::trayIcon(int index) const
{
    return m_tray->icon(index);
}

void TPlayerForm::setupTrayIcons()
{
    m_tray->setup(m_settings);
}

QString TPlayerForm::infoLine() const
{
    return m_view->display().infoLine();
}

void TPlayerForm::pressPlay()
{
    m_transport->pressPlay();
}

void TPlayerForm::pressStop()
{
    m_transport->pressStop();
}

void TPlayerForm::pressNext()
{
    m_transport->pressNext();
}

void TPlayerForm::pressPrev()
{
    m_transport->pressPrev();
}

void TPlayerForm::pressEject()
{
    m_transport->pressEject();
}

void TPlayerForm::setVolume(int volume)
{
    m_status->volumeTrack()->setValue(volume);
}

void TPlayerForm::playRequest(QChar drive, int track)
{
    if (m_engine && PlayerTransport(*m_engine).playRequest(drive, track))
        refreshAll();
}

// ---- Start, ticks and closing ------------------------------------------------------------

void TPlayerForm::setEngine(PlayerEngine *engine)
{
    if (m_engine)
        disconnect(m_engine, nullptr, this, nullptr);
    m_engine = engine;
    m_menus->setEngine(engine);
    m_view->setEngine(engine);
    m_listControl->setEngine(engine);
    m_transport->setEngine(engine);
    if (engine) {
        connect(engine, &PlayerEngine::discArrived, this, &TPlayerForm::onDiscInserted);
        connect(engine, &PlayerEngine::discLeaving, this, &TPlayerForm::onDiscRemoving);
        connect(engine, &PlayerEngine::discLeft, this, &TPlayerForm::refreshAll);
        connect(engine, &PlayerEngine::stepChanged, this, &TPlayerForm::onStepChanged);
        connect(engine, &PlayerEngine::stateChanged, this, [this] {
            m_view->refreshDisplay();
            m_view->refreshButtons();
            m_view->refreshAnimation();
        });
        m_status->showVolume(engine->volume());
    }
    refreshAll();
}

void TPlayerForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_firstShown)
        firstShowing();
}

void TPlayerForm::firstShowing()
{
    m_firstShown = true;
    m_closing = false;
    m_firstTick = true;
    m_stayOnTopSuspensions = 0;
    m_geometry->start();
    m_timers->reset();
    m_hints.apply(m_settings.GetOptionFlag(_GLOB_OPTION_SHOWHINTS));
    setupTrayIcons();
    TPlaylistList *list = m_playlist->list();
    const std::uint32_t listColour = m_settings.colors[0];
    if (listColour != 0xFFFFFFFFu) {
        QPalette palette = list->palette();
        palette.setColor(QPalette::Base, QColor::fromRgb(listColour & 0xFFFFFF));
        list->setPalette(palette);
    }
    const std::uint32_t currentColour = m_settings.colors[1];
    if (currentColour != 0xFFFFFFFFu)
        list->setCurrentColour(QColor::fromRgb(currentColour & 0xFFFFFF));
    refreshAll();
    m_driveTimer.start();
}

void TPlayerForm::firstTick()
{
    m_firstTick = false;
    emit firstTickReached();
    if (m_settings.GetOptionFlag(_GLOB_OPTION_WASMINIMIZED) ||
        m_settings.GetOptionFlag(_GLOB_OPTION_ALWAYSMINIMIZE) || m_startMinimized)
        showMinimized();
}

void TPlayerForm::driveTick()
{
    if (m_inTick || m_closing)
        return;
    m_inTick = true;
    m_driveTimer.stop();
    if (m_firstTick)
        firstTick();
    m_view->refreshRemoteLookups();
    m_timers->check();
    if (m_engine && !m_engine->noDrive())
        m_engine->poll();
    m_statusBox->removeExpired();
    m_view->refreshDisplay();
    m_inTick = false;
    if (!m_closing && m_firstShown)
        m_driveTimer.start();
}

bool TPlayerForm::closeQuery()
{
    if (!m_engine || !m_engine->playing())
        return true;
    if (m_settings.GetOptionFlag(_GLOB_OPTION_STOPONCLOSE)) {
        m_engine->stop();
        return true;
    }
    switch (m_questions->ask(Msg::StillPlaying, {}, {}, {})) {
    case ResultCancel:
        return false;
    case ResultYes:
        m_engine->stop();
        return true;
    default:
        return true;
    }
}

void TPlayerForm::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    if (!closeQuery()) {
        event->ignore();
        return;
    }
    m_settings.SetOptionFlag(_GLOB_OPTION_WASMINIMIZED, isMinimized());
    m_settings.volumeControl = m_menus->volumeLine();
    m_closing = true;
    m_driveTimer.stop();
    m_recognizer->stopRemoteLookups();
    m_timers->closeWindows();
    m_transport->closePositionWindow();
    m_tray->hideAll();
    emit closing();
    event->accept();
}

// ---- Disc arrival and removal, recognition ----------------------------------------------

void TPlayerForm::onDiscInserted()
{
    if (!m_engine)
        return;
    refreshAll();
    if (m_engine->audioPresent()) {
        const AlbumInfo &album = m_engine->current().album;
        m_control->button(PlayerControlPanel::Repeat)->setChecked(album.flags & AlbumFlagRepeat);
        m_control->button(PlayerControlPanel::Intro)->setChecked(album.flags & AlbumFlagIntro);
        PlayerTransport(*m_engine).startRequested(m_startStep, m_startTrack, m_playAtStart);
        m_startStep = -1;
        m_startTrack = 0;
        m_playAtStart = false;
        if (album.isNew)
            m_recognizer->recognise(m_engine->current().disc);
        emit scriptEvent(QStringLiteral("On_AlbumInsert"), album.albumEvents[0]);
    }
    m_listControl->updateDropTarget();
    m_view->refreshButtons();
    // Pressing play while a start request or the relay already plays would pause it.
    if (m_settings.GetOptionFlag(_GLOB_OPTION_PLAYONINSERT) && !m_engine->list().isEmpty() &&
        !m_engine->playing())
        pressPlay();
}

void TPlayerForm::onDiscRemoving()
{
    if (!m_engine || !m_engine->audioPresent())
        return;
    m_playlist->list()->setAcceptTrackFiles(false);
    m_engine->writeListBack();
    if (!m_closing)
        emit scriptEvent(QStringLiteral("On_AlbumEject"), m_engine->current().album.albumEvents[1]);
}

void TPlayerForm::onStepChanged()
{
    m_transport->closePositionWindow();
    m_view->refreshList();
    TPlaylistList *list = m_playlist->list();
    if (m_engine && m_engine->currentIndex() >= 0 && m_engine->currentIndex() < list->count())
        list->setCurrentRow(m_engine->currentIndex());
    m_view->refreshDisplay();
    m_view->refreshButtons();
}

void TPlayerForm::showLookupStatus(int lookup, const QString &text)
{
    const int shown = m_lookupStatus.take(lookup);
    if (shown)
        m_statusBox->remove(shown);
    if (!text.isEmpty())
        m_lookupStatus.insert(lookup, m_statusBox->add(text, 0));
}

// Lookups the user asked for end with a word: the disc is shown when found, and a search
// that ran without finding it says so.
void TPlayerForm::onLookupFinished(int, int result)
{
    if (result == RecognitionSequence::Found)
        refreshAll();
    else if (result == RecognitionSequence::NotFound)
        m_questions->ask(Msg::AlbumNotInCddb, {}, {}, {});
}

void TPlayerForm::refreshAll()
{
    m_view->refreshAll();
}

// ---- Satellites --------------------------------------------------------------------------

void TPlayerForm::onTimerDue(TimerMoments::Kind kind)
{
    const bool play = kind == TimerMoments::Play;
    if (m_transport->actOnTimer(kind)) {
        emit scriptEvent(play ? QStringLiteral("On_TimerPlay") : QStringLiteral("On_TimerStop"),
                         play ? m_settings.onTimerPlay : m_settings.onTimerStop);
    } else if (m_settings.GetOptionFlag(_GLOB_OPTION_TIMERWARNING)) {
        raise();
        activateWindow();
        QApplication::beep();
        m_questions->ask(play ? Msg::TimerPlayFailed : Msg::TimerStopFailed,
                         QLocale().toString(QTime::currentTime(), QLocale::ShortFormat), {}, {});
    }
}

void TPlayerForm::openAbout()
{
    auto *about = new TAboutForm(this);
    suspendStayOnTop();
    connect(about, &QObject::destroyed, this, &TPlayerForm::resumeStayOnTop);
    about->show();
}

void TPlayerForm::chooseDiscImage()
{
    suspendStayOnTop();
    const QString path = m_imageChooser(this);
    resumeStayOnTop();
    if (!path.isEmpty())
        emit discImageRequested(path);
}

void TPlayerForm::openVolumeProgram()
{
    const QString program =
        m_settings.volumePath.isEmpty() ? QStringLiteral("pavucontrol") : m_settings.volumePath;
    if (!QProcess::startDetached(program, {}))
        m_statusBox->add(tr("Unable to start %1").arg(program), 5);
}

// ---- Stay on top and window events -----------------------------------------------------

void TPlayerForm::suspendStayOnTop()
{
    if (m_closing)
        return;
    if (m_stayOnTopSuspensions++ == 0)
        applyStayOnTop(false);
}

void TPlayerForm::resumeStayOnTop()
{
    if (m_closing || m_stayOnTopSuspensions == 0)
        return;
    if (--m_stayOnTopSuspensions == 0)
        applyStayOnTop(m_settings.GetOptionFlag(_GLOB_OPTION_STAYONTOP));
}

void TPlayerForm::applyStayOnTop(bool on)
{
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show();
}

void TPlayerForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    m_geometry->resized();
}

void TPlayerForm::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    m_geometry->moved();
}

void TPlayerForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_engine)
        m_status->showVolume(m_engine->volume());
}

} // namespace Orbisong
