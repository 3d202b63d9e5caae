#include "StartupSequence.h"

#include "AppPaths.h"
#include "QuestionPort.h"
#include "TPlayerForm.h"
#include "TQuestionForm.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QScreen>

Q_DECLARE_LOGGING_CATEGORY(lcInstance)

namespace Orbisong {

StartupSequence::StartupSequence(const QStringList &arguments, QObject *parent)
    : QObject(parent)
    , m_arguments(arguments)
{
}

StartupSequence::~StartupSequence()
{
    setQuestionPort(nullptr);
}

bool StartupSequence::start()
{
    if (!m_channel.listen())
        return false;
    connect(&m_channel, &InstanceChannel::handoverReceived, this, &StartupSequence::onHandover);

    m_login = loginName();
    // No drive is known until the device layer enumerates them: no-drive mode.
    m_driveLetters.clear();
    AppPaths::dataFolder();

    m_switches = parseStartupSwitches(m_arguments, m_driveLetters, {});
    if (m_driveLetters.isEmpty())
        m_switches.noDrive = true;

    m_session = std::make_unique<SettingsSession>(m_driveLetters);
    RecordProgramStart(m_session->store(), m_session->settings(),
                       QCoreApplication::applicationFilePath());
    m_session->store().sync();

    m_player = std::make_unique<TPlayerForm>(m_session->settings());
    TPlayerForm *player = m_player.get();
    m_questionPort = std::make_unique<WidgetQuestionPort>(player, [player](bool suspend) {
        if (suspend)
            player->suspendStayOnTop();
        else
            player->resumeStayOnTop();
    });
    setQuestionPort(m_questionPort.get());
    connect(qApp, &QApplication::aboutToQuit, this, &StartupSequence::onPlayerClosing);

    placePlayerWindow();
    const Settings &settings = m_session->settings();
    if (settings.GetOptionFlag(_GLOB_OPTION_ALWAYSMINIMIZE)
        || settings.GetOptionFlag(_GLOB_OPTION_WASMINIMIZED))
        m_player->showMinimized();
    else
        m_player->show();
    return true;
}

void StartupSequence::placePlayerWindow()
{
    const Settings &settings = m_session->settings();
    const WindowPlacement &placement = settings.mainWindow;
    if (placement.height != WindowPlacement::NotSet && placement.height > 0)
        m_player->resize(m_player->width(), placement.height);
    const bool usePosition = settings.GetOptionFlag(_GLOB_OPTION_SAVEPOSITION)
                             && placement.left != WindowPlacement::NotSet;
    if (usePosition) {
        m_player->move(placement.left, placement.top);
        return;
    }
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        m_player->move(area.center() - m_player->rect().center());
    }
}

void StartupSequence::onHandover(const Handover &handover)
{
    if (handover.kind == Handover::Raise || !m_switches.noDrive) {
        if (m_player) {
            m_player->showNormal();
            m_player->raise();
            m_player->activateWindow();
        }
    }
    // Play requests reach the player once it drives a CD; in no-drive mode they are ignored.
    if (m_switches.noDrive && handover.kind != Handover::Raise)
        qCInfo(lcInstance) << "ignored in no-drive mode";
}

void StartupSequence::onPlayerClosing()
{
    m_threadWindow.beginClosing();
    if (!m_player || !m_session)
        return;
    Settings &settings = m_session->settings();
    settings.SetOptionFlag(_GLOB_OPTION_WASMINIMIZED, m_player->isMinimized());
    if (!m_player->isMinimized()) {
        settings.mainWindow.left = m_player->x();
        settings.mainWindow.top = m_player->y();
        settings.mainWindow.height = m_player->height();
    }
    m_session->save();
}

} // namespace Orbisong
