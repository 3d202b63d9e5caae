#include "ui/player/PlayerGeometry.h"

#include "collection/Settings.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>

namespace Orbisong {

namespace {

// The height mini mode returns to when no full height was seen yet.
constexpr int MiniToggleHeight = 295;

} // namespace

PlayerGeometry::PlayerGeometry(QMainWindow *window, Settings &settings, const Panels &panels)
    : QObject(window), m_window(window), m_settings(settings), m_panels(panels)
{
    // The window system does not let us steer a border drag, so the stop is applied as soon
    // as the dragging pauses.
    m_snapTimer.setSingleShot(true);
    m_snapTimer.setInterval(250);
    connect(&m_snapTimer, &QTimer::timeout, this, &PlayerGeometry::snapToSizeStop);
    updateMinimumWidth();
}

void PlayerGeometry::start()
{
    m_started = true;
    computeSizeStops();
}

void PlayerGeometry::computeSizeStops()
{
    SizeStops::Metrics m;
    m.menu = m_window->menuBar()->sizeHint().height();
    m.caption = 0; // the window system draws the title bar outside our geometry
    m.frame = 0;
    m.mini = m_panels.mini->sizeHint().height();
    m.controls = m_panels.controls->sizeHint().height();
    m.details = m_panels.details->sizeHint().height();
    m.status = m_panels.status->sizeHint().height();
    m.edit = m_panels.edit->sizeHint().height();
    m.miniWidth = m_panels.mini->sizeHint().width();
    m.fullWidth = qMax(m_window->width(), 400);
    m_stops = SizeStops::compute(m);
    if (m_fullHeight <= 0)
        m_fullHeight = m_window->height();
}

void PlayerGeometry::applyMiniMode(bool mini)
{
    if (mini == m_miniMode)
        return;
    m_miniMode = mini;
    m_window->menuBar()->setVisible(!mini);
    for (QWidget *panel : {m_panels.controls, m_panels.details, m_panels.playlist, m_panels.status})
        panel->setVisible(!mini);
    m_panels.mini->setVisible(mini);
    updateMinimumWidth();
}

void PlayerGeometry::updateMinimumWidth()
{
    // Only the height is left to the stops; the row of buttons always fits.
    QWidget *row = m_miniMode ? m_panels.mini : m_panels.controls;
    m_window->centralWidget()->setMinimumSize(row->sizeHint().width(), 1);
}

void PlayerGeometry::toggleMiniMode()
{
    if (!m_started)
        computeSizeStops();
    const int miniHeight = m_stops.stops[SizeStops::Mini].height;
    if (m_window->height() > miniHeight) {
        m_fullHeight = m_window->height();
        applyMiniMode(true);
        m_window->setMinimumSize(0, 0);
        m_window->resize(m_stops.stops[SizeStops::Mini].width, miniHeight);
    } else {
        applyMiniMode(false);
        const int full = m_fullHeight > miniHeight ? m_fullHeight : MiniToggleHeight;
        m_window->resize(m_stops.stops[SizeStops::Controls].width, full);
    }
}

void PlayerGeometry::snapToSizeStop()
{
    if (!m_started || m_window->isMinimized() || m_window->isMaximized())
        return;
    const SizeStops::Stop &stop = m_stops.stops[m_stops.match(m_window->height())];
    const int height = stop.height < 0 ? m_window->height() : stop.height;
    if (height == m_window->height())
        return;
    m_snapping = true;
    m_window->resize(m_window->width(), height);
    m_snapping = false;
}

void PlayerGeometry::resized()
{
    if (!m_started)
        return;
    if (!m_snapping)
        m_snapTimer.start();
    const int height = m_window->height();
    const bool mini = height < m_stops.stops[SizeStops::Controls].height;
    applyMiniMode(mini);
    if (!mini) {
        m_panels.details->setVisible(height >= m_stops.stops[SizeStops::Details].height);
        m_panels.status->setVisible(height >= m_stops.stops[SizeStops::Status].height);
        m_panels.playlist->setVisible(height > m_stops.stops[SizeStops::Status].height);
        m_settings.mainWindow.height = height;
    }
    stickToEdges();
}

void PlayerGeometry::moved()
{
    stickToEdges();
}

void PlayerGeometry::stickToEdges()
{
    if (m_sticking || !m_window->isVisible() || !m_window->screen())
        return;
    const QRect area = m_window->screen()->availableGeometry();
    QRect frame = m_window->frameGeometry();
    if (m_settings.GetOptionFlag(_GLOB_OPTION_STICKRIGHT))
        frame.moveRight(area.right());
    else if (m_settings.GetOptionFlag(_GLOB_OPTION_STICKLEFT))
        frame.moveLeft(area.left());
    if (m_settings.GetOptionFlag(_GLOB_OPTION_STICKBOTTOM))
        frame.moveBottom(area.bottom());
    else if (m_settings.GetOptionFlag(_GLOB_OPTION_STICKTOP))
        frame.moveTop(area.top());
    if (frame.topLeft() == m_window->frameGeometry().topLeft())
        return;
    m_sticking = true;
    m_window->move(frame.topLeft());
    m_sticking = false;
}

} // namespace Orbisong
