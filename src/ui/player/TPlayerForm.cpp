#include "ui/player/TPlayerForm.h"

#include "cddb/CddbApply.h"
#include "cddb/CddbLookupSettings.h"
#include "collection/MediaKind.h"
#include "base/MessageText.h"
#include "player/PlayerEngine.h"
#include "player/PlayerText.h"
#include "base/QuestionPort.h"
#include "collection/Settings.h"
#include "ui/player/TAboutForm.h"
#include "cddb/TCDDBThread.h"
#include "cddb/TLocalCDDBThread.h"
#include "ui/player/TCursorStack.h"
#include "cddb/CddbQuery.h"
#include "cddb/RunningLookups.h"
#include "player/RecognitionSequence.h"
#include "ui/player/TMovieForm.h"
#include "ui/player/TPlaylistList.h"
#include "ui/player/TPositionForm.h"
#include "ui/player/TStatusBox.h"
#include "ui/player/TTimerForm.h"
#include "ui/player/TTrayIcon.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QLoggingCategory>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMovie>
#include <QProcess>
#include <QRandomGenerator>
#include <QScreen>
#include <QSlider>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

Q_LOGGING_CATEGORY(lcPlayer, "orbisong.player")

namespace Orbisong {

namespace {

constexpr int DriveTimerMs = 300;
constexpr int MiniToggleHeight = 295;

const char *const PlayerStyle = R"(
QWidget#ControlPanel { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfcfe,
                       stop:1 #eef1f6); border-bottom: 1px solid #d5dae3; }
QToolButton#TimeButton, QToolButton#MiniTimeButton { background: #17202c; color: #7fd8ff;
    border: 1px solid #0d141c; border-radius: 6px; padding: 2px 8px;
    font-family: "DejaVu Sans Mono", monospace; font-weight: bold; }
QToolButton#TimeButton:disabled, QToolButton#MiniTimeButton:disabled { color: #4d6272; }
QToolButton#TimeButton { font-size: 18px; }
QToolButton#MiniTimeButton { font-size: 13px; }
QToolButton { border: 1px solid transparent; border-radius: 4px; padding: 2px; }
QToolButton:hover { background: #e1e8f2; border-color: #c7d2e2; }
QToolButton:checked { background: #d3e3f8; border-color: #93b4de; }
QToolButton:disabled { opacity: 0.4; }
QLabel#UserLabel { font-size: 13px; color: #334155; }
QWidget#DetailPanel { background: #ffffff; border-bottom: 1px solid #e3e7ee; }
QLabel#TitleLabel { font-weight: bold; font-size: 14px; color: #111827; }
QLabel#ArtistLabel { color: #4b5563; }
QWidget#StatusPanel { background: #f3f5f9; border-top: 1px solid #dde2ea; }
QLabel#StatusLabel, QLabel#SummaryLabel { color: #475569; }
QListWidget#PlaylistList { border: none; }
QTabBar::tab { padding: 3px 10px; }
)";

QIcon svgIcon(const QString &name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
}

} // namespace

TPlayerForm::TPlayerForm(Settings &settings, QWidget *parent)
    : QMainWindow(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("TPlayerForm"));
    setWindowIcon(svgIcon(QStringLiteral("orbisong")));
    setStyleSheet(QString::fromLatin1(PlayerStyle));

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The size stops decide which panels fit; the layout must not hold the window open.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    m_controlPanel = buildControlPanel();
    m_detailPanel = buildDetailPanel();
    m_playlistPanel = buildPlaylistPanel();
    m_statusPanel = buildStatusPanel();
    m_miniPanel = buildMiniPanel();
    layout->addWidget(m_miniPanel);
    layout->addWidget(m_controlPanel);
    layout->addWidget(m_detailPanel);
    layout->addWidget(m_playlistPanel, 1);
    layout->addWidget(m_statusPanel);
    m_miniPanel->hide();
    setCentralWidget(central);
    updateMinimumWidth();
    buildMenus();
    buildPopups();

    m_statusBox = std::make_unique<TStatusBox>(m_statusLabel);
    m_cursorStack = std::make_unique<TCursorStack>();
    m_driveTimer.setInterval(DriveTimerMs);
    connect(&m_driveTimer, &QTimer::timeout, this, &TPlayerForm::driveTick);
    // The window system does not let us steer a border drag, so the stop is applied as soon
    // as the dragging pauses.
    m_snapTimer.setSingleShot(true);
    m_snapTimer.setInterval(250);
    connect(&m_snapTimer, &QTimer::timeout, this, &TPlayerForm::snapToSizeStop);
    m_monotonic.start();

    const char *trayIcons[] = {"orbisong", "stop", "play", "prev", "next"};
    const QString trayTips[] = {QString(), tr("Stop playback"), tr("Start or pause playback"),
                                tr("Jump to previous track"), tr("Jump to next track")};
    for (int i = 0; i < 5; ++i) {
        auto *icon = new TTrayIcon(svgIcon(QString::fromLatin1(trayIcons[i])), this);
        icon->setToolTip(trayTips[i]);
        icon->setPopupMenu(m_trayPopup);
        m_trayIcons.append(icon);
    }
    connect(m_trayIcons[0], &TTrayIcon::clicked, this, [this] {
        if (isMinimized())
            showNormal();
        raise();
        activateWindow();
    });
    connect(m_trayIcons[0], &TTrayIcon::doubleClicked, this, &TPlayerForm::toggleMiniMode);
    connect(m_trayIcons[1], &TTrayIcon::clicked, this, &TPlayerForm::pressStop);
    connect(m_trayIcons[1], &TTrayIcon::doubleClicked, this, &TPlayerForm::pressEject);
    connect(m_trayIcons[2], &TTrayIcon::clicked, this, &TPlayerForm::pressPlay);
    connect(m_trayIcons[3], &TTrayIcon::clicked, this, &TPlayerForm::pressPrev);
    connect(m_trayIcons[4], &TTrayIcon::clicked, this, &TPlayerForm::pressNext);

    applyStayOnTop(settings.GetOptionFlag(_GLOB_OPTION_STAYONTOP));
    applyHints();
    resize(440, 420);
    refreshAll();
}

TPlayerForm::~TPlayerForm() = default;

QString TPlayerForm::formatCaption(const QString &format)
{
    return ExpandFormat(format, FormatContext{});
}

QToolButton *TPlayerForm::iconButton(const QString &name, const QString &icon,
                                     const QString &hintText, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(svgIcon(icon));
    button->setIconSize(QSize(22, 22));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    hint(button, hintText);
    return button;
}

void TPlayerForm::hint(QWidget *widget, const QString &text)
{
    m_hints.append({widget, text});
    widget->setToolTip(text);
}

void TPlayerForm::applyHints()
{
    const bool on = m_settings.GetOptionFlag(_GLOB_OPTION_SHOWHINTS);
    for (const auto &entry : std::as_const(m_hints)) {
        if (entry.first)
            entry.first->setToolTip(on ? entry.second : QString());
    }
}

QWidget *TPlayerForm::buildControlPanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("ControlPanel"));
    panel->setAttribute(Qt::WA_StyledBackground);
    m_timeButton = new QToolButton(panel);
    m_timeButton->setObjectName(QStringLiteral("TimeButton"));
    m_timeButton->setText(QStringLiteral("00 00:00"));
    m_timeButton->setMinimumWidth(110);
    m_timeButton->setContextMenuPolicy(Qt::CustomContextMenu);
    hint(m_timeButton, tr("Current position (click to adjust)"));
    connect(m_timeButton, &QToolButton::clicked, this,
            [this] { openPositionWindow(m_timeButton); });
    connect(m_timeButton, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_timePopup->popup(m_timeButton->mapToGlobal(at)); });

    m_propertiesButton = iconButton(QStringLiteral("PropertiesButton"),
                                    QStringLiteral("properties"), tr("Album properties"), panel);
    m_collectionButton = iconButton(QStringLiteral("CollectionButton"),
                                    QStringLiteral("collection"), tr("Collection"), panel);
    m_autoPlayButton = iconButton(QStringLiteral("AutoPlayButton"), QStringLiteral("timerplay"),
                                  tr("Timer Play"), panel);
    m_autoStopButton = iconButton(QStringLiteral("AutoStopButton"), QStringLiteral("timerstop"),
                                  tr("Timer Stop"), panel);
    m_introButton = iconButton(QStringLiteral("IntroButton"), QStringLiteral("intro"),
                               tr("Toggle intro mode on/off"), panel);
    m_repeatButton = iconButton(QStringLiteral("RepeatButton"), QStringLiteral("repeat"),
                                tr("Toggle repeat mode on/off"), panel);
    m_ejectButton = iconButton(QStringLiteral("EjectButton"), QStringLiteral("eject"),
                               tr("Eject or load a CD"), panel);
    m_stopButton = iconButton(QStringLiteral("StopButton"), QStringLiteral("stop"),
                              tr("Stop playback"), panel);
    m_playButton = iconButton(QStringLiteral("PlayButton"), QStringLiteral("play"),
                              tr("Start or pause playback"), panel);
    m_prevButton = iconButton(QStringLiteral("PrevButton"), QStringLiteral("prev"),
                              tr("Jump to previous track"), panel);
    m_nextButton = iconButton(QStringLiteral("NextButton"), QStringLiteral("next"),
                              tr("Jump to next track"), panel);
    m_weblinkButton = iconButton(QStringLiteral("WeblinkButton"), QStringLiteral("weblink"),
                                 tr("Artist on the Internet"), panel);
    m_autoPlayButton->setCheckable(true);
    m_autoStopButton->setCheckable(true);
    m_introButton->setCheckable(true);
    m_repeatButton->setCheckable(true);
    m_playButton->setIconSize(QSize(28, 28));
    m_playButton->setAcceptDrops(true);
    m_playButton->installEventFilter(this);
    m_playButton->setContextMenuPolicy(Qt::CustomContextMenu);
    m_weblinkButton->setPopupMode(QToolButton::InstantPopup);

    connect(m_propertiesButton, &QToolButton::clicked, this, &TPlayerForm::propertiesRequested);
    connect(m_collectionButton, &QToolButton::clicked, this, &TPlayerForm::collectionRequested);
    connect(m_autoPlayButton, &QToolButton::clicked, this,
            [this] { onTimerButton(TimerMoments::Play); });
    connect(m_autoStopButton, &QToolButton::clicked, this,
            [this] { onTimerButton(TimerMoments::Stop); });
    connect(m_ejectButton, &QToolButton::clicked, this, &TPlayerForm::pressEject);
    connect(m_stopButton, &QToolButton::clicked, this, &TPlayerForm::pressStop);
    connect(m_playButton, &QToolButton::clicked, this, &TPlayerForm::pressPlay);
    connect(m_prevButton, &QToolButton::clicked, this, &TPlayerForm::pressPrev);
    connect(m_nextButton, &QToolButton::clicked, this, &TPlayerForm::pressNext);
    connect(m_playButton, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_playPopup->popup(m_playButton->mapToGlobal(at)); });
    connect(m_introButton, &QToolButton::clicked, this, [this](bool down) {
        if (!m_engine || !m_engine->audioPresent())
            return;
        int &flags = m_engine->current().album.flags;
        flags = down ? (flags | AlbumFlagIntro) : (flags & ~AlbumFlagIntro);
        if (down) {
            const bool running = m_engine->playing();
            m_engine->stopPlayback();
            if (running)
                m_engine->playStep(m_engine->currentIndex());
            else
                m_engine->moveToStep(m_engine->currentIndex());
        }
        refreshAll();
    });
    connect(m_repeatButton, &QToolButton::clicked, this, [this](bool down) {
        if (!m_engine || !m_engine->audioPresent())
            return;
        int &flags = m_engine->current().album.flags;
        flags = down ? (flags | AlbumFlagRepeat) : (flags & ~AlbumFlagRepeat);
        refreshButtons();
    });

    m_userLabel = new QLabel(panel);
    m_userLabel->setObjectName(QStringLiteral("UserLabel"));
    m_userLabel->setAlignment(Qt::AlignCenter);

    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(m_timeButton);
    row->addSpacing(6);
    for (QToolButton *b : {m_propertiesButton, m_collectionButton, m_autoPlayButton,
                           m_autoStopButton, m_introButton, m_repeatButton})
        row->addWidget(b);
    row->addStretch();
    for (QToolButton *b :
         {m_ejectButton, m_stopButton, m_playButton, m_prevButton, m_nextButton, m_weblinkButton})
        row->addWidget(b);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(3);
    layout->addLayout(row);
    layout->addWidget(m_userLabel);
    return panel;
}

QWidget *TPlayerForm::buildDetailPanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("DetailPanel"));
    panel->setAttribute(Qt::WA_StyledBackground);
    m_driveButton = iconButton(QStringLiteral("DriveButton"), QStringLiteral("drive"),
                               tr("Choose a CD drive"), panel);
    m_driveButton->setIconSize(QSize(28, 28));
    m_driveButton->setPopupMode(QToolButton::InstantPopup);
    m_driveButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_titleLabel = new QLabel(panel);
    m_titleLabel->setObjectName(QStringLiteral("TitleLabel"));
    hint(m_titleLabel, tr("Album title"));
    m_artistLabel = new QLabel(panel);
    m_artistLabel->setObjectName(QStringLiteral("ArtistLabel"));
    hint(m_artistLabel, tr("Album artist and/or copyright"));
    m_statusPicture = new QLabel(panel);
    m_statusPicture->setObjectName(QStringLiteral("AVIPlayer"));
    m_statusPicture->setFixedSize(43, 42);
    m_statusMovie = new QMovie(this);
    m_statusPicture->setAlignment(Qt::AlignCenter);
    m_statusPicture->setPixmap(svgIcon(QStringLiteral("orbisong")).pixmap(32, 32));

    auto *texts = new QVBoxLayout;
    texts->setSpacing(1);
    texts->addWidget(m_titleLabel);
    texts->addWidget(m_artistLabel);
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(m_driveButton);
    layout->addLayout(texts, 1);
    layout->addWidget(m_statusPicture);
    return panel;
}

QWidget *TPlayerForm::buildPlaylistPanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("PlaylistPanel"));
    m_list = new TPlaylistList(panel);
    hint(m_list, tr("Tracks in the current playlist"));
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_playlistPopup->popup(m_list->mapToGlobal(at)); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        if (m_settings.playlistDoubleClick == 1)
            emit playlistEditRequested(QStringLiteral("step"));
        else
            playRow(m_list->row(item));
    });
    connect(m_list, &TPlaylistList::playRequested, this, &TPlayerForm::playRow);
    connect(m_list, &TPlaylistList::deleteRequested, this, &TPlayerForm::deleteRow);
    connect(m_list, &TPlaylistList::rowMoved, this, &TPlayerForm::moveRow);
    connect(m_list, &TPlaylistList::trackFilesDropped, this, &TPlayerForm::dropTrackFiles);
    // itemActivated also follows double-clicks; double-click has its own setting.
    disconnect(m_list, &QListWidget::itemActivated, nullptr, nullptr);

    m_editPanel = new QWidget(panel);
    m_editPanel->setObjectName(QStringLiteral("EditPanel"));
    m_tabs = new QTabBar(m_editPanel);
    m_tabs->setObjectName(QStringLiteral("PlaylistTab"));
    m_tabs->setShape(QTabBar::RoundedSouth);
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    m_tabs->setElideMode(Qt::ElideRight);
    m_tabs->setContextMenuPolicy(Qt::CustomContextMenu);
    hint(m_tabs, tr("Playlists defined for this album"));
    connect(m_tabs, &QTabBar::tabBarClicked, this, &TPlayerForm::onTabClicked);
    connect(m_tabs, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_tabPopup->popup(m_tabs->mapToGlobal(at)); });

    m_addButton = iconButton(QStringLiteral("AddButton"), QStringLiteral("add"),
                             tr("Add a custom playlist"), m_editPanel);
    m_editButton = iconButton(QStringLiteral("EditButton"), QStringLiteral("edit"),
                              tr("Edit this playlist"), m_editPanel);
    m_removeButton = iconButton(QStringLiteral("RemoveButton"), QStringLiteral("remove"),
                                tr("Remove this playlist"), m_editPanel);
    m_remoteCddbButton =
        iconButton(QStringLiteral("RemoteCDDBButton"), QStringLiteral("cddbremote"),
                   tr("Query CDDB database server"), m_editPanel);
    m_localCddbButton = iconButton(QStringLiteral("LocalCDDBButton"), QStringLiteral("cddblocal"),
                                   tr("Query local CDDB database files"), m_editPanel);
    m_sendCddbButton = iconButton(QStringLiteral("SendCDDBButton"), QStringLiteral("cddbsend"),
                                  tr("Send to CDDB database"), m_editPanel);
    m_cddbStopButton = iconButton(QStringLiteral("CDDBStopButton"), QStringLiteral("cddbstop"),
                                  tr("Stop remote CDDB query"), m_editPanel);
    m_cddbStopButton->hide();
    for (QToolButton *b : {m_addButton, m_editButton, m_removeButton, m_remoteCddbButton,
                           m_localCddbButton, m_sendCddbButton, m_cddbStopButton})
        b->setIconSize(QSize(18, 18));
    connect(m_addButton, &QToolButton::clicked, this,
            [this] { emit playlistEditRequested(QStringLiteral("add")); });
    connect(m_editButton, &QToolButton::clicked, this,
            [this] { emit playlistEditRequested(QStringLiteral("edit")); });
    connect(m_removeButton, &QToolButton::clicked, this,
            [this] { emit playlistEditRequested(QStringLiteral("remove")); });
    connect(m_localCddbButton, &QToolButton::clicked, this, &TPlayerForm::startRecognition);
    connect(m_remoteCddbButton, &QToolButton::clicked, this, [this] {
        if (!m_engine || !m_engine->audioPresent())
            return;
        const DiscInfo &disc = m_engine->current().disc;
        QList<int> offsets;
        for (int t = 1; t <= disc.trackCount; ++t)
            offsets.append(disc.trackOffsets[t]);
        TCDDBThread *thread =
            startRemoteLookup(disc.id, CddbQueryText(disc.id, offsets, disc.length));
        if (thread) {
            // An unknown disc asked for by the user is answered with a notice.
            connect(thread, &TCDDBThread::lookupFinished, this, [this](int result) {
                if (result == TCDDBThread::NotFound)
                    m_questions->ask(12327, {}, {}, {});
            });
        }
    });
    connect(m_cddbStopButton, &QToolButton::clicked, this, [this] {
        if (m_lookups)
            m_lookups->stopAll();
    });

    auto *edit = new QHBoxLayout(m_editPanel);
    edit->setContentsMargins(4, 0, 4, 2);
    edit->setSpacing(1);
    edit->addWidget(m_tabs, 1);
    for (QToolButton *b : {m_addButton, m_editButton, m_removeButton, m_remoteCddbButton,
                           m_cddbStopButton, m_localCddbButton, m_sendCddbButton})
        edit->addWidget(b);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_editPanel);
    return panel;
}

QWidget *TPlayerForm::buildStatusPanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("StatusPanel"));
    panel->setAttribute(Qt::WA_StyledBackground);
    m_statusLabel = new QLabel(panel);
    m_statusLabel->setObjectName(QStringLiteral("StatusLabel"));
    m_statusLabel->setAlignment(Qt::AlignCenter);
    m_summaryLabel = new QLabel(panel);
    m_summaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    hint(m_summaryLabel, tr("Playlist summary"));
    m_volumeTrack = new QSlider(Qt::Horizontal, panel);
    m_volumeTrack->setObjectName(QStringLiteral("VolumeTrack"));
    m_volumeTrack->setFixedWidth(90);
    m_volumeTrack->setRange(0, 65535);
    m_volumeTrack->setPageStep(4096);
    m_volumeTrack->setFocusPolicy(Qt::NoFocus);
    m_volumeTrack->setContextMenuPolicy(Qt::CustomContextMenu);
    hint(m_volumeTrack, tr("Adjust volume"));
    connect(m_volumeTrack, &QSlider::valueChanged, this, [this](int value) {
        if (m_engine)
            m_engine->setVolume(value);
    });
    connect(m_volumeTrack, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_volumePopup->popup(m_volumeTrack->mapToGlobal(at)); });
    m_volumeButton = iconButton(QStringLiteral("VolumeButton"), QStringLiteral("volume"),
                                tr("Open volume control"), panel);
    m_volumeButton->setIconSize(QSize(16, 16));
    connect(m_volumeButton, &QToolButton::clicked, this, &TPlayerForm::openVolumeProgram);

    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(8, 2, 4, 2);
    layout->addWidget(m_summaryLabel);
    layout->addWidget(m_statusLabel, 1);
    layout->addWidget(m_volumeButton);
    layout->addWidget(m_volumeTrack);
    return panel;
}

QWidget *TPlayerForm::buildMiniPanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("MiniPanel"));
    m_miniTimeButton = new QToolButton(panel);
    m_miniTimeButton->setObjectName(QStringLiteral("MiniTimeButton"));
    m_miniTimeButton->setText(QStringLiteral("00 00:00"));
    connect(m_miniTimeButton, &QToolButton::clicked, this,
            [this] { openPositionWindow(m_miniTimeButton); });
    const struct
    {
        const char *name;
        const char *icon;
        const char *hint;
        void (TPlayerForm::*press)();
    } buttons[] = {
        {"MiniEjectButton", "eject", "Eject or load a CD", &TPlayerForm::pressEject},
        {"MiniStopButton", "stop", "Stop playback", &TPlayerForm::pressStop},
        {"MiniPlayButton", "play", "Start or pause playback", &TPlayerForm::pressPlay},
        {"MiniPrevButton", "prev", "Jump to previous track", &TPlayerForm::pressPrev},
        {"MiniNextButton", "next", "Jump to next track", &TPlayerForm::pressNext},
        {"MiniWeblinkButton", "weblink", "Internet links", nullptr},
    };
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(1);
    for (const auto &b : buttons) {
        QToolButton *button =
            iconButton(QString::fromLatin1(b.name), QString::fromLatin1(b.icon), tr(b.hint), panel);
        button->setIconSize(QSize(16, 16));
        if (b.press)
            connect(button, &QToolButton::clicked, this, b.press);
        m_miniButtons.append(button);
        layout->addWidget(button);
    }
    layout->addWidget(m_miniTimeButton);
    return panel;
}

void TPlayerForm::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    m_propertiesAction =
        file->addAction(tr("&Album Properties"), QKeySequence(Qt::CTRL | Qt::Key_I), this,
                        &TPlayerForm::propertiesRequested);
    file->addSeparator();
    m_collectionAction = file->addAction(tr("&Collection"), QKeySequence(Qt::CTRL | Qt::Key_L),
                                         this, &TPlayerForm::collectionRequested);
    file->addAction(tr("&Options"), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                    &TPlayerForm::optionsRequested);
    file->addSeparator();
    QAction *exit =
        file->addAction(tr("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &QWidget::close);
    exit->setObjectName(QStringLiteral("ExitAction"));

    QMenu *control = menuBar()->addMenu(tr("&Control"));
    m_ejectAction = control->addAction(tr("&Eject"), QKeySequence(Qt::CTRL | Qt::Key_F8), this,
                                       &TPlayerForm::pressEject);
    control->addSeparator();
    m_stopAction = control->addAction(tr("&Stop"), QKeySequence(Qt::CTRL | Qt::Key_F9), this,
                                      &TPlayerForm::pressStop);
    m_playAction = control->addAction(tr("&Play/Pause"), QKeySequence(Qt::CTRL | Qt::Key_F10), this,
                                      &TPlayerForm::pressPlay);
    m_prevAction = control->addAction(tr("P&revious  Track"), QKeySequence(Qt::CTRL | Qt::Key_F11),
                                      this, &TPlayerForm::pressPrev);
    m_nextAction = control->addAction(tr("&Next Track"), QKeySequence(Qt::CTRL | Qt::Key_F12), this,
                                      &TPlayerForm::pressNext);

    QMenu *playlist = menuBar()->addMenu(tr("&Playlist"));
    m_addAction = playlist->addAction(tr("&Add"), QKeySequence(Qt::CTRL | Qt::Key_N), this, [this] {
        emit playlistEditRequested(QStringLiteral("add"));
    });
    m_editAction =
        playlist->addAction(tr("&Edit"), QKeySequence(Qt::CTRL | Qt::Key_E), this,
                            [this] { emit playlistEditRequested(QStringLiteral("edit")); });
    m_removeAction =
        playlist->addAction(tr("&Remove"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete),
                            this, [this] { emit playlistEditRequested(QStringLiteral("remove")); });
    playlist->addSeparator();
    m_favoritesAction = playlist->addAction(tr("Add To &Favorites"),
                                            QKeySequence(Qt::CTRL | Qt::Key_D), this, [this] {
                                                if (m_engine && m_engine->currentIndex() >= 0)
                                                    addToFavorites({m_engine->currentIndex()});
                                            });

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&Help Topics"), QKeySequence(Qt::Key_F1), this,
                    &TPlayerForm::helpRequested);
    help->addSeparator();
    QAction *about = help->addAction(tr("&About"), QKeySequence(Qt::CTRL | Qt::Key_F1), this,
                                     &TPlayerForm::openAbout);
    about->setObjectName(QStringLiteral("AboutAction"));
}

void TPlayerForm::buildPopups()
{
    m_timePopup = new QMenu(this);
    m_timePopup->setObjectName(QStringLiteral("TimePopup"));
    m_timeModes = new QActionGroup(this);
    const QString modes[] = {tr("Track &Elapsed"), tr("Track &Remaining"), QString(),
                             tr("Playlist E&lapsed"), tr("Playlist Re&maining")};
    int mode = 0;
    for (const QString &text : modes) {
        if (text.isEmpty()) {
            m_timePopup->addSeparator();
            continue;
        }
        QAction *action = m_timePopup->addAction(text);
        action->setCheckable(true);
        action->setData(mode++);
        m_timeModes->addAction(action);
    }
    connect(m_timePopup, &QMenu::aboutToShow, this, [this] {
        const int shown = qBound(0, m_settings.timeFormat, 3);
        for (QAction *action : m_timeModes->actions())
            action->setChecked(action->data().toInt() == shown);
    });
    connect(m_timeModes, &QActionGroup::triggered, this, [this](QAction *action) {
        m_settings.timeFormat = action->data().toInt();
        refreshDisplay();
    });

    m_playPopup = new QMenu(this);
    auto *order = new QActionGroup(this);
    m_normalAction = m_playPopup->addAction(tr("&Normal"));
    m_randomAction = m_playPopup->addAction(tr("&Random"));
    for (QAction *a : {m_normalAction, m_randomAction}) {
        a->setCheckable(true);
        order->addAction(a);
    }
    connect(m_playPopup, &QMenu::aboutToShow, this, [this] {
        const bool random = m_settings.GetOptionFlag(_GLOB_OPTION_RANDOMORDER);
        m_randomAction->setChecked(random);
        m_normalAction->setChecked(!random);
    });
    connect(m_normalAction, &QAction::triggered, this, [this] {
        m_settings.SetOptionFlag(_GLOB_OPTION_RANDOMORDER, false);
        refreshButtons();
    });
    connect(m_randomAction, &QAction::triggered, this, [this] {
        m_settings.SetOptionFlag(_GLOB_OPTION_RANDOMORDER, true);
        refreshButtons();
    });

    m_playlistPopup = new QMenu(this);
    m_playlistPopup->setObjectName(QStringLiteral("PlaylistPopup"));
    m_playlistPopup->addAction(tr("&Play"), this, [this] { playRow(m_list->currentRow()); });
    m_playlistPopup->addAction(tr("&Add To Favorites"), this, [this] {
        QList<int> rows;
        for (QListWidgetItem *item : m_list->selectedItems())
            rows.append(m_list->row(item));
        std::sort(rows.begin(), rows.end());
        addToFavorites(rows);
    });
    m_playlistPopup->addSeparator();
    m_playlistPopup->addAction(tr("&Delete"), this, [this] { deleteRow(m_list->currentRow()); });
    m_playlistPopup->addSeparator();
    m_playlistPopup->addAction(tr("P&roperties"), this,
                               [this] { emit playlistEditRequested(QStringLiteral("step")); });
    connect(m_playlistPopup, &QMenu::aboutToShow, this, [this] {
        const bool any = m_list->currentRow() >= 0;
        for (QAction *a : m_playlistPopup->actions())
            a->setEnabled(any);
    });

    m_tabPopup = new QMenu(this);
    m_tabPopup->addAction(tr("&Shuffle"), this, &TPlayerForm::shuffleList);
    m_tabPopup->addAction(tr("&Revert"), this, [this] {
        if (m_engine)
            m_engine->setCurrentPlaylist(m_engine->currentPlaylist());
        refreshAll();
    });
    m_tabPopup->addAction(tr("&Edit"), this,
                          [this] { emit playlistEditRequested(QStringLiteral("edit")); });
    m_tabPopup->addSeparator();
    m_tabPopup->addAction(tr("&Remove"), this,
                          [this] { emit playlistEditRequested(QStringLiteral("remove")); });

    m_weblinkMenu = new QMenu(this);
    for (const QString &text :
         {tr("Artist &Purchases"), tr("Artist &Information"), tr("Artist P&erformances"), QString(),
          tr("&Add Current Site"), QString()}) {
        if (text.isEmpty())
            m_weblinkMenu->addSeparator();
        else
            m_weblinkMenu->addAction(text)->setEnabled(false);
    }
    m_weblinkButton->setMenu(m_weblinkMenu);
    m_miniButtons.last()->setMenu(m_weblinkMenu);
    m_miniButtons.last()->setPopupMode(QToolButton::InstantPopup);

    m_drivePopup = new QMenu(this);
    m_drivePopup->setObjectName(QStringLiteral("DrivePopup"));
    connect(m_drivePopup, &QMenu::aboutToShow, this, [this] { fillDriveMenu(m_drivePopup); });
    m_driveButton->setMenu(m_drivePopup);

    m_volumePopup = new QMenu(this);
    QAction *output = m_volumePopup->addAction(tr("Audio output"));
    output->setCheckable(true);
    output->setChecked(true);

    m_trayPopup = new QMenu(this);
    m_trayPopup->setObjectName(QStringLiteral("TrayPopup"));
    connect(m_trayPopup, &QMenu::aboutToShow, this, &TPlayerForm::fillTrayMenu);
}

// ---- Start, ticks and closing ------------------------------------------------------------

void TPlayerForm::setEngine(PlayerEngine *engine)
{
    if (m_engine)
        disconnect(m_engine, nullptr, this, nullptr);
    m_engine = engine;
    if (engine) {
        connect(engine, &PlayerEngine::discArrived, this, &TPlayerForm::onDiscInserted);
        connect(engine, &PlayerEngine::discLeaving, this, &TPlayerForm::onDiscRemoving);
        connect(engine, &PlayerEngine::discLeft, this, &TPlayerForm::refreshAll);
        connect(engine, &PlayerEngine::stepChanged, this, &TPlayerForm::onStepChanged);
        connect(engine, &PlayerEngine::stateChanged, this, [this] {
            refreshDisplay();
            refreshButtons();
            refreshAnimation();
        });
        QSignalBlocker block(m_volumeTrack);
        m_volumeTrack->setValue(engine->volume());
    }
    refreshAll();
}

void TPlayerForm::setStartRequest(int step, int track, bool playAtStart)
{
    m_startStep = step;
    m_startTrack = track;
    m_playAtStart = playAtStart;
}

void TPlayerForm::setTimerClock(TimerMoments::Clock clock)
{
    m_timers = TimerMoments(std::move(clock));
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
    computeSizeStops();
    m_timers.clear(TimerMoments::Play);
    m_timers.clear(TimerMoments::Stop);
    refreshTimerButtons();
    applyHints();
    setupTrayIcons();
    const std::uint32_t listColour = m_settings.colors[0];
    if (listColour != 0xFFFFFFFFu) {
        QPalette palette = m_list->palette();
        palette.setColor(QPalette::Base, QColor::fromRgb(listColour & 0xFFFFFF));
        m_list->setPalette(palette);
    }
    const std::uint32_t currentColour = m_settings.colors[1];
    if (currentColour != 0xFFFFFFFFu)
        m_list->setCurrentColour(QColor::fromRgb(currentColour & 0xFFFFFF));
    refreshAll();
    m_driveTimer.start();
}

void TPlayerForm::firstTick()
{
    m_firstTick = false;
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
    refreshCddbButtons();
    checkTimers();
    if (m_engine && !m_engine->noDrive())
        m_engine->poll();
    m_statusBox->removeExpired();
    refreshDisplay();
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
    switch (m_questions->ask(12290, {}, {}, {})) {
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
    m_settings.volumeControl = m_volumePopup->actions().constFirst()->text();
    m_closing = true;
    m_driveTimer.stop();
    if (m_lookups)
        m_lookups->stopAll();
    for (const auto &form : m_timerForms) {
        if (form)
            form->close();
    }
    if (m_positionForm)
        m_positionForm->close();
    for (TTrayIcon *icon : std::as_const(m_trayIcons))
        icon->setActive(false);
    emit closing();
    event->accept();
}

// ---- Transport -------------------------------------------------------------------------

void TPlayerForm::pressPlay()
{
    if (!m_playButton->isEnabled() || !m_engine)
        return;
    if (!m_engine->playing()) {
        const int index = m_engine->currentIndex();
        const QList<TStep> &list = m_engine->list();
        if (index >= 0 && index < list.size() && m_engine->position() == list.at(index).start)
            m_engine->playStep(index);
        else
            m_engine->startPlayback();
        m_engine->setPaused(false);
    } else {
        m_engine->stopPlayback();
        m_engine->setPaused(true);
    }
    refreshAll();
}

void TPlayerForm::pressStop()
{
    if (m_stopButton->isEnabled() && m_engine) {
        m_engine->stop();
        refreshAll();
    }
}

void TPlayerForm::pressNext()
{
    if (m_nextButton->isEnabled() && m_engine) {
        m_engine->nextStep();
        refreshAll();
    }
}

void TPlayerForm::pressPrev()
{
    if (m_prevButton->isEnabled() && m_engine) {
        m_engine->prevStep();
        refreshAll();
    }
}

void TPlayerForm::pressEject()
{
    if (m_ejectButton->isEnabled() && m_engine)
        m_engine->ejectOrRetract();
}

void TPlayerForm::playRequest(QChar drive, int track)
{
    if (!m_engine || m_engine->noDrive())
        return;
    const QChar letter = drive.toUpper();
    if (!letter.isNull() && letter != m_engine->currentDrive()) {
        if (!m_engine->closeDrive() || !m_engine->openDrive(letter))
            return;
    }
    if (track > 0)
        m_engine->playTrack(track);
    else
        m_engine->playStep(0);
    refreshAll();
}

// ---- Disc arrival and removal ----------------------------------------------------------

void TPlayerForm::onDiscInserted()
{
    if (!m_engine)
        return;
    refreshAll();
    if (m_engine->audioPresent()) {
        const AlbumInfo &album = m_engine->current().album;
        m_repeatButton->setChecked(album.flags & AlbumFlagRepeat);
        m_introButton->setChecked(album.flags & AlbumFlagIntro);
        const int count = int(m_engine->list().size());
        if (m_startStep >= 0 && count > 0)
            m_engine->playStep(m_startStep == INT_MAX
                                   ? int(QRandomGenerator::global()->bounded(count))
                                   : qMin(m_startStep, count - 1));
        else if (m_startTrack > 0)
            m_engine->playTrack(m_startTrack);
        else if (m_playAtStart && count > 0)
            m_engine->playStep(0);
        m_startStep = -1;
        m_startTrack = 0;
        m_playAtStart = false;
        if (album.isNew)
            startRecognition();
        emit scriptEvent(QStringLiteral("On_AlbumInsert"), album.albumEvents[0]);
    }
    m_list->setAcceptTrackFiles(m_engine->audioPresent() &&
                                m_engine->currentPlaylist() != m_tabs->tabText(0));
    refreshButtons();
    // Pressing play while a start request or the relay already plays would pause it.
    if (m_settings.GetOptionFlag(_GLOB_OPTION_PLAYONINSERT) && !m_engine->list().isEmpty() &&
        !m_engine->playing())
        pressPlay();
}

void TPlayerForm::onDiscRemoving()
{
    if (!m_engine || !m_engine->audioPresent())
        return;
    m_list->setAcceptTrackFiles(false);
    m_engine->writeListBack();
    if (!m_closing)
        emit scriptEvent(QStringLiteral("On_AlbumEject"), m_engine->current().album.albumEvents[1]);
}

void TPlayerForm::onStepChanged()
{
    if (m_positionForm)
        m_positionForm->close();
    refreshList();
    if (m_engine && m_engine->currentIndex() >= 0 && m_engine->currentIndex() < m_list->count())
        m_list->setCurrentRow(m_engine->currentIndex());
    refreshDisplay();
    refreshButtons();
}

void TPlayerForm::startRecognition()
{
    if (!m_engine || !m_engine->audioPresent())
        return;
    const DiscInfo &disc = m_engine->current().disc;
    QList<int> offsets;
    for (int t = 1; t <= disc.trackCount; ++t)
        offsets.append(disc.trackOffsets[t]);
    RecognitionSequence::Request request;
    request.discId = disc.id.toLower();
    request.query = CddbQueryText(request.discId, offsets, disc.length);
    request.mediaIdentity = disc.mediaIdentity.toUpper();
    request.remoteLookup = m_settings.GetOptionFlag(_GLOB_OPTION_AUTORCDDB);
    request.albumWizard = m_settings.GetOptionFlag(_GLOB_OPTION_USEALBWIZ);
    auto *lookup = new RecognitionSequence(request, this);
    const QStringList folders = m_localCddbFolders;
    const QString albumId = disc.id;
    lookup->setStage(RecognitionSequence::LocalCddb,
                     [this, folders, albumId](const RecognitionSequence::Request &,
                                              std::function<void(int)> report) {
                         startLocalLookup(folders, albumId, std::move(report));
                     });
    lookup->setStage(RecognitionSequence::RemoteCddb,
                     [this, albumId](const RecognitionSequence::Request &r, auto report) {
                         TCDDBThread *thread = startRemoteLookup(albumId, r.query);
                         if (!thread) {
                             report(RecognitionSequence::NotFound);
                             return;
                         }
                         connect(thread, &TCDDBThread::lookupFinished, this,
                                 [report](int result) { report(result); });
                     });
    connect(lookup, &RecognitionSequence::finished, this, [this](int stage, int notice) {
        if (notice == RecognitionSequence::Found) {
            refreshAll();
            emit recognised(stage);
        }
    });
    lookup->start();
}

// ---- Display ---------------------------------------------------------------------------

// Tries the local databases one after another on a worker thread, so a first lookup that
// builds the index never freezes the window.
void TPlayerForm::startLocalLookup(QStringList folders, const QString &albumId,
                                   std::function<void(int)> report)
{
    if (folders.isEmpty() || !m_lookups) {
        report(RecognitionSequence::NotFound);
        return;
    }
    const QString folder = folders.takeFirst();
    TLocalCDDBThread *thread = TLocalCDDBThread::StartLookup(*m_lookups, folder, albumId);
    auto status = std::make_shared<int>(0);
    connect(thread, &TLocalCDDBThread::statusChanged, this, [this, status](const QString &text) {
        if (*status)
            m_statusBox->remove(*status);
        *status = text.isEmpty() ? 0 : m_statusBox->add(text, 0);
    });
    connect(thread, &TLocalCDDBThread::lookupFinished, this,
            [this, status, folders, albumId, report](int result) {
                if (*status)
                    m_statusBox->remove(*status);
                if (result == RecognitionSequence::Found)
                    report(RecognitionSequence::Found);
                else
                    startLocalLookup(folders, albumId, report);
            });
}

TCDDBThread *TPlayerForm::startRemoteLookup(const QString &albumId, const QString &query)
{
    if (!m_lookups)
        return nullptr;
    TCDDBThread *thread = TCDDBThread::StartLookup(
        *m_lookups, CddbLookupSettings::fromSettings(m_settings), albumId, query);
    auto status = std::make_shared<int>(0);
    connect(thread, &TCDDBThread::statusChanged, this, [this, status](const QString &text) {
        if (*status)
            m_statusBox->remove(*status);
        *status = text.isEmpty() ? 0 : m_statusBox->add(text, 0);
    });
    connect(thread, &TCDDBThread::lookupFinished, this, [this, status](int) {
        if (*status)
            m_statusBox->remove(*status);
        *status = 0;
        refreshAll();
    });
    m_animationQueue.removeAll(QStringLiteral("AVI_RCDDB_GET"));
    if (m_animations)
        m_animationQueue.prepend(QStringLiteral("AVI_RCDDB_GET"));
    refreshCddbButtons();
    return thread;
}

void TPlayerForm::refreshCddbButtons()
{
    const bool running = m_lookups && m_lookups->count() > 0;
    m_cddbStopButton->setVisible(running);
    m_remoteCddbButton->setVisible(!running);
    if (!running && m_animationQueue.removeAll(QStringLiteral("AVI_RCDDB_GET")) > 0)
        refreshAnimation();
    else if (running)
        refreshAnimation();
}

void TPlayerForm::refreshAll()
{
    refreshTabs();
    refreshList();
    refreshHeader();
    refreshSummary();
    refreshDisplay();
    refreshButtons();
    refreshAnimation();
}

int TPlayerForm::trackOfFrame(int frames) const
{
    if (!m_engine)
        return 0;
    const DiscInfo &disc = m_engine->current().disc;
    for (int t = disc.trackCount; t >= 1; --t) {
        if (frames >= disc.trackOffsets[t])
            return t;
    }
    return disc.trackCount > 0 ? 1 : 0;
}

QString TPlayerForm::stepTitle(int index) const
{
    if (!m_engine || index < 0 || index >= m_engine->list().size())
        return {};
    const TStep &step = m_engine->list().at(index);
    const QString name = step.title.trimmed();
    if (!name.isEmpty())
        return name;
    return m_engine->current()
        .album.trackTitles[qBound(0, trackOfFrame(step.start), AlbumInfo::MaxTracks)];
}

FormatContext TPlayerForm::formatContext() const
{
    FormatContext c;
    if (!m_engine)
        return c;
    const AlbumInfo &album = m_engine->current().album;
    c.audio = m_engine->audioPresent();
    c.artist = album.artist;
    c.binder = album.binder;
    c.category = album.category;
    c.owner = album.owner;
    c.copyright = album.copyright;
    c.title = album.title;
    c.year = album.year;
    c.playlistName = m_engine->currentPlaylist();
    c.stepCount = int(m_engine->list().size());
    c.stepNumber = m_engine->currentIndex() + 1;
    if (c.audio && !m_engine->list().isEmpty()) {
        const int frames = m_engine->displayTime(m_settings.timeFormat, m_engine->position());
        c.minutes = frames < 0 ? 0 : frames / 4500;
        c.seconds = frames < 0 ? 0 : (frames / 75) % 60;
        c.track = m_engine->currentTrack();
    }
    if (c.track > 0 && c.track <= AlbumInfo::MaxTracks)
        c.trackNotes = album.trackNotes[c.track];
    c.stepTitle = stepTitle(m_engine->currentIndex());
    return c;
}

QString TPlayerForm::infoLine() const
{
    if (m_settings.GetOptionFlag(_GLOB_OPTION_USEFORMATSTRINGS))
        return ExpandFormat(m_settings.userFormat, formatContext());
    return m_engine ? stepTitle(m_engine->currentIndex()) : QString();
}

void TPlayerForm::refreshDisplay()
{
    const bool steps = m_engine && m_engine->audioPresent() && !m_engine->list().isEmpty();
    QString time = QStringLiteral("00 00:00");
    if (steps) {
        time = TimeButtonText(m_engine->currentTrack(),
                              m_engine->displayTime(m_settings.timeFormat, m_engine->position()));
    }
    if (m_timeButton->text() != time) {
        m_timeButton->setText(time);
        m_miniTimeButton->setText(time);
    }
    const bool formats = m_settings.GetOptionFlag(_GLOB_OPTION_USEFORMATSTRINGS);
    const QString caption = formats ? ExpandFormat(m_settings.captionFormat, formatContext())
                                    : QStringLiteral("Orbisong 4.0");
    const QString info = steps || formats ? infoLine() : QString();
    if (caption != m_shownCaption) {
        m_shownCaption = caption;
        setWindowTitle(caption);
    }
    if (info != m_shownInfo) {
        m_shownInfo = info;
        m_userLabel->setText(info);
    }
    QString tip = info;
    if (!formats && m_engine && m_engine->audioPresent()) {
        const AlbumInfo &album = m_engine->current().album;
        tip =
            album.artist + QStringLiteral(" - ") + album.title + QStringLiteral(" (") + info + u')';
    }
    m_trayIcons[0]->setToolTip(tip.left(79));
    if (m_engine && steps) {
        const int index = m_engine->currentIndex();
        m_trayIcons[3]->setToolTip(stepTitle(qMax(0, index - 1)));
        m_trayIcons[4]->setToolTip(stepTitle(qMin(int(m_engine->list().size()) - 1, index + 1)));
    }
    const bool playing = m_engine && m_engine->playing();
    const QIcon playIcon = svgIcon(playing ? QStringLiteral("pause") : QStringLiteral("play"));
    m_playButton->setIcon(playIcon);
    m_miniButtons[2]->setIcon(playIcon);
}

void TPlayerForm::refreshHeader()
{
    const bool audio = m_engine && m_engine->audioPresent();
    QString title;
    QString artist;
    QString weblinkHint = tr("Artist on the Internet");
    if (audio) {
        const AlbumInfo &album = m_engine->current().album;
        title = album.title;
        artist = album.artist;
        if (!album.copyright.isEmpty())
            artist += QStringLiteral(" - ") + album.copyright;
        if (!album.artist.isEmpty())
            weblinkHint = album.artist + tr(" on the Internet");
    }
    m_titleLabel->setText(title);
    m_artistLabel->setText(artist);
    for (auto &entry : m_hints) {
        if (entry.first == m_weblinkButton)
            entry.second = weblinkHint;
    }
    if (m_settings.GetOptionFlag(_GLOB_OPTION_SHOWHINTS))
        m_weblinkButton->setToolTip(weblinkHint);
}

void TPlayerForm::refreshSummary()
{
    qint64 total = 0;
    int count = 0;
    if (m_engine) {
        for (const TStep &step : std::as_const(m_engine->list()))
            total += step.length();
        count = int(m_engine->list().size());
    }
    m_summaryLabel->setText(PlaylistSummary(total, count));
}

void TPlayerForm::refreshList()
{
    const int selected = m_list->currentRow();
    QSignalBlocker block(m_list);
    m_list->clear();
    if (!m_engine)
        return;
    const QList<TStep> &steps = m_engine->list();
    const DiscInfo &disc = m_engine->current().disc;
    for (int i = 0; i < steps.size(); ++i) {
        const TStep &step = steps.at(i);
        const int track = trackOfFrame(step.start);
        const int trackStart = disc.trackOffsets[qBound(0, track, DiscInfo::MaxTracks)];
        auto *item = new QListWidgetItem(stepTitle(i));
        item->setData(TPlaylistList::SerialRole, step.serial());
        item->setData(TPlaylistList::CurrentRole, i == m_engine->currentIndex());
        item->setData(TPlaylistList::TrackRole, track);
        item->setData(TPlaylistList::StartRole, step.start - trackStart);
        item->setData(TPlaylistList::EndRole, step.end - trackStart);
        m_list->addItem(item);
    }
    if (selected >= 0 && selected < m_list->count())
        m_list->setCurrentRow(selected);
    else if (m_engine->currentIndex() >= 0 && m_engine->currentIndex() < m_list->count())
        m_list->setCurrentRow(m_engine->currentIndex());
}

void TPlayerForm::refreshTabs()
{
    QSignalBlocker block(m_tabs);
    while (m_tabs->count() > 0)
        m_tabs->removeTab(0);
    if (!m_engine || !m_engine->audioPresent())
        return;
    int current = 0;
    for (const auto &playlist : std::as_const(m_engine->current().playlists)) {
        const int index = m_tabs->addTab(playlist->title);
        if (playlist->title.compare(m_engine->currentPlaylist(), Qt::CaseInsensitive) == 0)
            current = index;
    }
    m_tabs->setCurrentIndex(current);
}

void TPlayerForm::refreshButtons()
{
    const bool drive = m_engine && !m_engine->noDrive();
    const bool audio = m_engine && m_engine->audioPresent();
    const bool steps = audio && m_list->count() > 0;
    bool nextOk = false;
    bool custom = false;
    bool hasCurrent = false;
    if (steps) {
        const int index = m_engine->currentIndex();
        nextOk = index < m_list->count() - 1 ||
                 (m_engine->current().album.flags & AlbumFlagRepeat) ||
                 m_settings.GetOptionFlag(_GLOB_OPTION_RANDOMDRIVE) ||
                 m_settings.GetOptionFlag(_GLOB_OPTION_RANDOMORDER);
        hasCurrent = index >= 0;
    }
    if (audio) {
        auto playlist = findPlaylist(m_engine->current().playlists, m_engine->currentPlaylist());
        custom = playlist && !playlist->isAlbumPlaylist();
    }
    for (QWidget *w : {static_cast<QWidget *>(m_timeButton), static_cast<QWidget *>(m_stopButton),
                       static_cast<QWidget *>(m_playButton), static_cast<QWidget *>(m_prevButton),
                       static_cast<QWidget *>(m_miniTimeButton)})
        w->setEnabled(steps);
    m_nextButton->setEnabled(steps && nextOk);
    for (QWidget *w : {m_propertiesButton, m_introButton, m_repeatButton, m_weblinkButton,
                       m_addButton, m_remoteCddbButton, m_localCddbButton, m_sendCddbButton})
        w->setEnabled(audio);
    m_editButton->setEnabled(audio && custom);
    m_removeButton->setEnabled(audio && custom);
    m_ejectButton->setEnabled(drive);
    m_driveButton->setEnabled(drive);
    m_volumeTrack->setEnabled(true);

    m_miniButtons[0]->setEnabled(drive);
    m_miniButtons[1]->setEnabled(steps);
    m_miniButtons[2]->setEnabled(steps);
    m_miniButtons[3]->setEnabled(steps);
    m_miniButtons[4]->setEnabled(steps && nextOk);
    m_miniButtons[5]->setEnabled(audio);

    m_propertiesAction->setEnabled(audio);
    m_ejectAction->setEnabled(drive);
    m_stopAction->setEnabled(steps);
    m_playAction->setEnabled(steps);
    m_prevAction->setEnabled(steps);
    m_nextAction->setEnabled(steps && nextOk);
    m_addAction->setEnabled(audio);
    m_editAction->setEnabled(audio && custom);
    m_removeAction->setEnabled(audio && custom);
    m_favoritesAction->setEnabled(hasCurrent);
}

void TPlayerForm::refreshAnimation()
{
    const bool playing = m_engine && m_engine->playing();
    const QString play = QStringLiteral("AVI_PLAY");
    if (m_animations && playing && !m_animationQueue.contains(play))
        m_animationQueue.append(play);
    else if (!playing)
        m_animationQueue.removeAll(play);
    const QString first = m_animationQueue.isEmpty() ? QString() : m_animationQueue.first();
    const QString file = first.isEmpty() ? QString() : AnimationResource(first);
    if (m_statusMovie->fileName() == file)
        return;
    m_statusMovie->stop();
    m_statusMovie->setFileName(file);
    if (file.isEmpty()) {
        m_statusPicture->setPixmap(svgIcon(QStringLiteral("orbisong")).pixmap(32, 32));
    } else {
        m_statusPicture->setMovie(m_statusMovie);
        m_statusMovie->start();
    }
}

// ---- Playlist list and tabs ------------------------------------------------------------

void TPlayerForm::onTabClicked(int index)
{
    if (!m_engine || index < 0 || index >= m_tabs->count())
        return;
    // Reordering, deleting and shuffling change custom playlists, never "Album".
    m_engine->writeListBack();
    m_engine->setCurrentPlaylist(m_tabs->tabText(index));
    m_list->setAcceptTrackFiles(m_engine->audioPresent() && index != 0);
    refreshAll();
}

void TPlayerForm::playRow(int row)
{
    if (!m_engine || row < 0 || row >= m_engine->list().size())
        return;
    m_engine->playStep(row);
    refreshAll();
}

void TPlayerForm::followCurrent(int previousSerial, bool wasRunning)
{
    QList<TStep> &list = m_engine->list();
    for (int i = 0; i < list.size(); ++i) {
        if (list.at(i).serial() == previousSerial) {
            // The playing step only moved: follow it without interrupting playback.
            m_engine->setCurrentIndex(i);
            return;
        }
    }
    const int index = m_engine->currentIndex();
    if (wasRunning)
        m_engine->stopPlayback();
    if (index >= list.size())
        m_engine->stop();
    else if (wasRunning)
        m_engine->playStep(index);
    else
        m_engine->moveToStep(index);
}

void TPlayerForm::deleteRow(int row)
{
    if (!m_engine || row < 0 || row >= m_engine->list().size())
        return;
    QList<TStep> &list = m_engine->list();
    const int index = m_engine->currentIndex();
    const int serial = index >= 0 && index < list.size() ? list.at(index).serial() : -1;
    const bool running = m_engine->playing();
    list.removeAt(row);
    if (index > row)
        m_engine->setCurrentIndex(index - 1);
    if (index >= row)
        followCurrent(serial, running);
    refreshList();
    m_list->setCurrentRow(qMin(row, m_list->count() - 1));
    refreshSummary();
    refreshDisplay();
    refreshButtons();
}

void TPlayerForm::moveRow(int from, int to)
{
    if (!m_engine)
        return;
    QList<TStep> &list = m_engine->list();
    if (from < 0 || from >= list.size() || to < 0 || to >= list.size() || from == to)
        return;
    const int index = m_engine->currentIndex();
    const int serial = index >= 0 && index < list.size() ? list.at(index).serial() : -1;
    list.move(from, to);
    followCurrent(serial, m_engine->playing());
    refreshList();
    m_list->setCurrentRow(to);
    refreshDisplay();
    refreshButtons();
}

void TPlayerForm::dropTrackFiles(const QStringList &paths, int beforeRow)
{
    if (!m_engine || !m_engine->audioPresent())
        return;
    QList<TStep> &list = m_engine->list();
    const DiscInfo &disc = m_engine->current().disc;
    const int index = m_engine->currentIndex();
    const bool running = m_engine->playing();
    int at = qBound(0, beforeRow, int(list.size()));
    int inserted = 0;
    int insertedBeforeCurrent = 0;
    for (const QString &path : paths) {
        const int track = m_engine->trackFromFile(path);
        if (track < 1 || track > disc.trackCount)
            continue;
        list.insert(at, TStep(QString(), disc.trackOffsets[track], disc.trackOffsets[track + 1]));
        if (at <= index)
            ++insertedBeforeCurrent;
        ++at;
        ++inserted;
    }
    if (inserted == 0)
        return;
    if (index < 0) {
        m_engine->moveToStep(0);
    } else if (insertedBeforeCurrent > 0) {
        if (running)
            m_engine->stopPlayback();
        if (running)
            m_engine->playStep(index);
        else
            m_engine->moveToStep(index);
    }
    refreshAll();
}

void TPlayerForm::addToFavorites(const QList<int> &rows)
{
    if (!m_engine || !m_engine->audioPresent())
        return;
    const QString name = FavoritesPlaylistName(m_login);
    CurrentAlbum &current = m_engine->current();
    auto playlist = findPlaylist(current.playlists, name);
    if (!playlist) {
        playlist = std::make_shared<TPlaylist>(name, 0);
        current.playlists.append(playlist);
    }
    const bool isCurrent =
        playlist->title.compare(m_engine->currentPlaylist(), Qt::CaseInsensitive) == 0;
    const QList<TStep> source = m_engine->list();
    for (int row : rows) {
        if (row < 0 || row >= source.size())
            continue;
        TStep copy(source.at(row).title, source.at(row).start, source.at(row).end);
        copy.script = source.at(row).script;
        if (isCurrent)
            m_engine->list().append(copy);
        else
            playlist->steps.append(copy);
    }
    refreshAll();
}

void TPlayerForm::shuffleList()
{
    if (!m_engine || m_engine->list().size() < 2)
        return;
    QList<TStep> &list = m_engine->list();
    const int index = m_engine->currentIndex();
    const int serial = index >= 0 && index < list.size() ? list.at(index).serial() : -1;
    for (int i = int(list.size()) - 1; i > 0; --i)
        list.swapItemsAt(i, int(QRandomGenerator::global()->bounded(i + 1)));
    followCurrent(serial, m_engine->playing());
    refreshAll();
}

// ---- Satellites --------------------------------------------------------------------------

void TPlayerForm::openPositionWindow(QToolButton *button)
{
    if (!m_engine || m_engine->currentIndex() < 0 ||
        m_engine->currentIndex() >= m_engine->list().size())
        return;
    if (m_positionForm) {
        m_positionForm->raise();
        return;
    }
    const TStep step = m_engine->list().at(m_engine->currentIndex());
    const int range = qMax(0, step.length() / 75);
    const int at = qMax(0, (m_engine->position() - step.start) / 75);
    m_positionForm = new TPositionForm(range, at, [this, step](int seconds) {
        return FramesToText(
            m_engine->displayTime(m_settings.timeFormat, step.start + seconds * 75));
    });
    const QPoint topLeft = button->mapToGlobal(QPoint(0, button->height()));
    m_positionForm->setGeometry(topLeft.x(), topLeft.y(),
                                qMax(120, centralWidget()->width() - button->x()),
                                button->height() + 8 + 20);
    connect(m_positionForm, &TPositionForm::positionChosen, this,
            [this, step](int seconds, bool atEnd) {
                if (!m_engine || m_engine->currentIndex() < 0)
                    return;
                if (atEnd) {
                    m_engine->nextStep();
                } else {
                    const bool running = m_engine->playing();
                    if (running)
                        m_engine->stopPlayback();
                    m_engine->setPosition(step.start + seconds * 75);
                    refreshDisplay();
                    if (running)
                        m_engine->startPlayback();
                }
                refreshAll();
            });
    m_positionForm->show();
    m_positionForm->activateWindow();
}

bool TPlayerForm::setTimerPlay(const QDateTime &moment)
{
    const bool set = m_timers.setAt(TimerMoments::Play, moment);
    refreshTimerButtons();
    return set;
}

bool TPlayerForm::setTimerStop(const QDateTime &moment)
{
    const bool set = m_timers.setAt(TimerMoments::Stop, moment);
    refreshTimerButtons();
    return set;
}

void TPlayerForm::onTimerButton(TimerMoments::Kind kind)
{
    if (m_timers.isSet(kind)) {
        m_timers.clear(kind);
        refreshTimerButtons();
        return;
    }
    refreshTimerButtons();
    if (m_timerForms[kind]) {
        m_timerForms[kind]->raise();
        m_timerForms[kind]->activateWindow();
        return;
    }
    TTimerForm *form = nullptr;
    if (kind == TimerMoments::Play)
        form = new TAutoplayForm(m_settings.onTimerPlay, this);
    else
        form = new TAutostopForm(m_settings.onTimerStop, this);
    form->setQuestionPort(m_questions);
    m_timerForms[kind] = form;
    connect(form, &TTimerForm::scriptChanged, this, [this, kind](const QString &script) {
        (kind == TimerMoments::Play ? m_settings.onTimerPlay : m_settings.onTimerStop) = script;
    });
    connect(form, &TTimerForm::delayChosen, this, [this, kind](int minutes) {
        m_timers.setAfterMinutes(kind, minutes);
        refreshTimerButtons();
    });
    connect(form, &TTimerForm::timeChosen, this, [this, kind](const QDateTime &moment) {
        m_timers.setAt(kind, moment);
        refreshTimerButtons();
    });
    suspendStayOnTop();
    connect(form, &QObject::destroyed, this, &TPlayerForm::resumeStayOnTop);
    form->show();
}

void TPlayerForm::refreshTimerButtons()
{
    const QString names[] = {tr("Timer Play"), tr("Timer Stop")};
    QToolButton *buttons[] = {m_autoPlayButton, m_autoStopButton};
    for (int kind : {0, 1}) {
        const bool set = m_timers.isSet(TimerMoments::Kind(kind));
        buttons[kind]->setChecked(set);
        const QString text =
            set ? names[kind] + QStringLiteral(": ") +
                      QLocale().toString(m_timers.moment(TimerMoments::Kind(kind)).time(),
                                         QLocale::ShortFormat)
                : names[kind];
        for (auto &entry : m_hints) {
            if (entry.first == buttons[kind])
                entry.second = text;
        }
        if (m_settings.GetOptionFlag(_GLOB_OPTION_SHOWHINTS))
            buttons[kind]->setToolTip(text);
    }
}

void TPlayerForm::checkTimers()
{
    const QList<TimerMoments::Kind> due = m_timers.poll(m_monotonic.elapsed());
    for (TimerMoments::Kind kind : due) {
        const bool running = m_engine && m_engine->playing();
        const bool play = kind == TimerMoments::Play;
        QToolButton *button = play ? m_playButton : m_stopButton;
        const bool canAct = button->isEnabled() && (play ? !running : running);
        if (canAct) {
            if (play)
                pressPlay();
            else
                pressStop();
            emit scriptEvent(play ? QStringLiteral("On_TimerPlay") : QStringLiteral("On_TimerStop"),
                             play ? m_settings.onTimerPlay : m_settings.onTimerStop);
        } else if (m_settings.GetOptionFlag(_GLOB_OPTION_TIMERWARNING)) {
            raise();
            activateWindow();
            QApplication::beep();
            m_questions->ask(play ? 12312 : 12313,
                             QLocale().toString(QTime::currentTime(), QLocale::ShortFormat), {},
                             {});
        }
    }
    if (!due.isEmpty())
        refreshTimerButtons();
}

void TPlayerForm::openAbout()
{
    auto *about = new TAboutForm(this);
    suspendStayOnTop();
    connect(about, &QObject::destroyed, this, &TPlayerForm::resumeStayOnTop);
    about->show();
}

void TPlayerForm::openVolumeProgram()
{
    const QString program =
        m_settings.volumePath.isEmpty() ? QStringLiteral("pavucontrol") : m_settings.volumePath;
    if (!QProcess::startDetached(program, {}))
        m_statusBox->add(tr("Unable to start %1").arg(program), 5);
}

TTrayIcon *TPlayerForm::trayIcon(int index) const
{
    return index >= 0 && index < m_trayIcons.size() ? m_trayIcons.at(index) : nullptr;
}

void TPlayerForm::setupTrayIcons()
{
    for (TTrayIcon *icon : std::as_const(m_trayIcons))
        icon->setActive(false);
    m_trayIcons[0]->setActive(true);
    m_trayIcons[1]->setActive(m_settings.GetOptionFlag(_GLOB_OPTION_TRAYSTOP));
    m_trayIcons[2]->setActive(m_settings.GetOptionFlag(_GLOB_OPTION_TRAYPLAY));
    m_trayIcons[3]->setActive(m_settings.GetOptionFlag(_GLOB_OPTION_TRAYPREV));
    m_trayIcons[4]->setActive(m_settings.GetOptionFlag(_GLOB_OPTION_TRAYNEXT));
}

void TPlayerForm::fillDriveMenu(QMenu *menu)
{
    menu->clear();
    if (!m_engine)
        return;
    const QString letters = m_engine->driveLetters();
    if (letters.size() >= 2 && m_settings.GetOptionFlag(_GLOB_OPTION_CHANGERCOMPAT)) {
        menu->addAction(tr("&Refresh"), this, [this] {
            if (m_engine->playing())
                m_engine->stop();
            m_engine->refreshDriveIds();
        });
        menu->addSeparator();
    } else {
        m_engine->refreshDriveIds();
    }
    if (m_engine->noDrive())
        return;
    auto *group = new QActionGroup(menu);
    const bool titles = m_settings.GetOptionFlag(_GLOB_OPTION_SHOWALBUMTITLES);
    for (QChar letter : letters) {
        const DriveDiscLabel label = titles ? m_engine->driveLabel(letter) : DriveDiscLabel{};
        QAction *action = menu->addAction(DriveMenuCaption(letter, titles, label));
        action->setCheckable(true);
        action->setChecked(letter == m_engine->currentDrive());
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, letter] { chooseDrive(letter); });
    }
}

void TPlayerForm::chooseDrive(QChar letter)
{
    if (!m_engine || letter == m_engine->currentDrive() ||
        !m_engine->driveLetters().contains(letter))
        return;
    if (m_engine->playing())
        m_engine->stop();
    if (!m_engine->closeDrive()) {
        qCInfo(lcPlayer) << "Unable to close drive.";
        return;
    }
    if (!m_engine->openDrive(letter))
        qCInfo(lcPlayer) << "Unable to open drive" << letter;
    refreshAll();
}

QStringList TPlayerForm::driveMenuTexts()
{
    QMenu menu;
    fillDriveMenu(&menu);
    QStringList texts;
    for (QAction *action : menu.actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

void TPlayerForm::fillJumpMenu(QMenu *menu)
{
    menu->clear();
    if (!m_engine || !m_engine->audioPresent())
        return;
    for (const auto &playlist : std::as_const(m_engine->current().playlists)) {
        const bool isCurrent =
            playlist->title.compare(m_engine->currentPlaylist(), Qt::CaseInsensitive) == 0;
        QMenu *sub = menu->addMenu(playlist->title);
        sub->menuAction()->setCheckable(true);
        sub->menuAction()->setChecked(isCurrent);
        const QList<TStep> steps = isCurrent ? m_engine->list() : playlist->steps;
        auto *group = new QActionGroup(sub);
        for (int i = 0; i < steps.size(); ++i) {
            QString title = steps.at(i).title.trimmed();
            if (title.isEmpty())
                title = m_engine->current().album.trackTitles[qBound(
                    0, trackOfFrame(steps.at(i).start), AlbumInfo::MaxTracks)];
            QAction *action = sub->addAction(title);
            action->setCheckable(true);
            action->setChecked(isCurrent && i == m_engine->currentIndex());
            group->addAction(action);
            const QString name = playlist->title;
            connect(action, &QAction::triggered, this, [this, name, i, isCurrent] {
                m_engine->stop();
                if (!isCurrent) {
                    m_engine->writeListBack();
                    m_engine->setCurrentPlaylist(name);
                }
                m_engine->playStep(i);
                refreshAll();
            });
        }
    }
}

void TPlayerForm::fillTrayMenu()
{
    m_trayPopup->clear();
    auto add = [this](const QString &text, QAbstractButton *button, auto slot) {
        QAction *a = m_trayPopup->addAction(text, this, slot);
        if (button)
            a->setEnabled(button->isEnabled());
        return a;
    };
    add(tr("&Eject"), m_ejectButton, &TPlayerForm::pressEject);
    add(tr("&Stop"), m_stopButton, &TPlayerForm::pressStop);
    add(tr("&Play/Pause"), m_playButton, &TPlayerForm::pressPlay);
    add(tr("P&revious Track"), m_prevButton, &TPlayerForm::pressPrev);
    add(tr("&Next Track"), m_nextButton, &TPlayerForm::pressNext);
    m_trayPopup->addSeparator();
    QMenu *web = m_trayPopup->addMenu(tr("&WebLink"));
    web->setEnabled(m_engine && !m_engine->current().webLinks.isEmpty());
    QMenu *jump = m_trayPopup->addMenu(tr("&Jump"));
    jump->setEnabled(m_engine && m_engine->audioPresent());
    fillJumpMenu(jump);
    QMenu *drive = m_trayPopup->addMenu(tr("&Drive"));
    drive->setEnabled(m_engine && !m_engine->noDrive());
    fillDriveMenu(drive);
    m_trayPopup->addSeparator();
    add(tr("&Album Properties"), m_propertiesButton, &TPlayerForm::propertiesRequested);
    add(tr("&Collection"), m_collectionButton, &TPlayerForm::collectionRequested);
    add(tr("&Options"), nullptr, &TPlayerForm::optionsRequested);
    m_trayPopup->addSeparator();
    add(tr("&Close"), nullptr, &QWidget::close);
}

// ---- Stay on top, geometry --------------------------------------------------------------

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

void TPlayerForm::computeSizeStops()
{
    SizeStops::Metrics m;
    m.menu = menuBar()->sizeHint().height();
    m.caption = 0; // the window system draws the title bar outside our geometry
    m.frame = 0;
    m.mini = m_miniPanel->sizeHint().height();
    m.controls = m_controlPanel->sizeHint().height();
    m.details = m_detailPanel->sizeHint().height();
    m.status = m_statusPanel->sizeHint().height();
    m.edit = m_editPanel->sizeHint().height();
    m.miniWidth = m_miniPanel->sizeHint().width();
    m.fullWidth = qMax(width(), 400);
    m_stops = SizeStops::compute(m);
    if (m_fullHeight <= 0)
        m_fullHeight = height();
}

void TPlayerForm::applyMiniMode(bool mini)
{
    if (mini == m_miniMode)
        return;
    m_miniMode = mini;
    menuBar()->setVisible(!mini);
    m_controlPanel->setVisible(!mini);
    m_detailPanel->setVisible(!mini);
    m_playlistPanel->setVisible(!mini);
    m_miniPanel->setVisible(mini);
    m_statusPanel->setVisible(!mini);
    updateMinimumWidth();
}

void TPlayerForm::updateMinimumWidth()
{
    // Only the height is left to the stops; the row of buttons always fits.
    QWidget *row = m_miniMode ? m_miniPanel : m_controlPanel;
    centralWidget()->setMinimumSize(row->sizeHint().width(), 1);
}

void TPlayerForm::toggleMiniMode()
{
    if (!m_firstShown)
        computeSizeStops();
    const int miniHeight = m_stops.stops[SizeStops::Mini].height;
    if (height() > miniHeight) {
        m_fullHeight = height();
        applyMiniMode(true);
        setMinimumSize(0, 0);
        resize(m_stops.stops[SizeStops::Mini].width, miniHeight);
    } else {
        applyMiniMode(false);
        const int full = m_fullHeight > miniHeight ? m_fullHeight : MiniToggleHeight;
        resize(m_stops.stops[SizeStops::Controls].width, full);
    }
}

void TPlayerForm::snapToSizeStop()
{
    if (!m_firstShown || isMinimized() || isMaximized())
        return;
    const SizeStops::Stop &stop = m_stops.stops[m_stops.match(height())];
    const QSize target(stop.width > 0 ? qMax(stop.width, minimumSizeHint().width()) : width(),
                       stop.height < 0 ? height() : stop.height);
    if (target.height() == height())
        return;
    m_snapping = true;
    resize(width(), target.height());
    m_snapping = false;
}

void TPlayerForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (!m_firstShown)
        return;
    if (!m_snapping)
        m_snapTimer.start();
    const bool mini = height() < m_stops.stops[SizeStops::Controls].height;
    applyMiniMode(mini);
    if (!mini) {
        m_detailPanel->setVisible(height() >= m_stops.stops[SizeStops::Details].height);
        m_statusPanel->setVisible(height() >= m_stops.stops[SizeStops::Status].height);
        m_playlistPanel->setVisible(height() > m_stops.stops[SizeStops::Status].height);
        m_settings.mainWindow.height = height();
    }
    stickToEdges();
}

void TPlayerForm::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    stickToEdges();
}

void TPlayerForm::stickToEdges()
{
    if (m_sticking || !isVisible() || !screen())
        return;
    const QRect area = screen()->availableGeometry();
    QRect frame = frameGeometry();
    if (m_settings.GetOptionFlag(_GLOB_OPTION_STICKRIGHT))
        frame.moveRight(area.right());
    else if (m_settings.GetOptionFlag(_GLOB_OPTION_STICKLEFT))
        frame.moveLeft(area.left());
    if (m_settings.GetOptionFlag(_GLOB_OPTION_STICKBOTTOM))
        frame.moveBottom(area.bottom());
    else if (m_settings.GetOptionFlag(_GLOB_OPTION_STICKTOP))
        frame.moveTop(area.top());
    if (frame.topLeft() == frameGeometry().topLeft())
        return;
    m_sticking = true;
    move(frame.topLeft());
    m_sticking = false;
}

void TPlayerForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_engine &&
        m_volumeTrack->value() != m_engine->volume()) {
        QSignalBlocker block(m_volumeTrack);
        m_volumeTrack->setValue(m_engine->volume());
    }
}

bool TPlayerForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_playButton) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto *drag = static_cast<QDropEvent *>(event);
            if (drag->source() == m_list && m_playButton->isEnabled()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto *drop = static_cast<QDropEvent *>(event);
            if (drop->source() == m_list) {
                drop->acceptProposedAction();
                playRow(m_list->currentRow());
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace Orbisong
