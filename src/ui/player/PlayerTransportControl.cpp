#include "ui/player/PlayerTransportControl.h"

#include "collection/Settings.h"
#include "player/PlayerEngine.h"
#include "player/PlayerTransport.h"
#include "ui/player/PlayerControlPanel.h"
#include "ui/player/PlayerListControl.h"
#include "ui/player/PlayerMiniPanel.h"
#include "ui/player/PlayerView.h"
#include "ui/player/TPlaylistList.h"
#include "ui/player/TPositionForm.h"

#include <QDropEvent>
#include <QToolButton>

namespace Orbisong {

PlayerTransportControl::PlayerTransportControl(QWidget *window, Settings &settings,
                                               PlayerControlPanel *control, PlayerMiniPanel *mini,
                                               PlayerListControl *list, PlayerView *view)
    : QObject(window), m_window(window), m_settings(settings), m_control(control), m_list(list),
      m_view(view)
{
    using Control = PlayerControlPanel;
    using Mini = PlayerMiniPanel;
    const std::tuple<Control::Button, Mini::Button, void (PlayerTransportControl::*)()> presses[] =
        {{Control::Eject, Mini::Eject, &PlayerTransportControl::pressEject},
         {Control::Stop, Mini::Stop, &PlayerTransportControl::pressStop},
         {Control::Play, Mini::Play, &PlayerTransportControl::pressPlay},
         {Control::Prev, Mini::Prev, &PlayerTransportControl::pressPrev},
         {Control::Next, Mini::Next, &PlayerTransportControl::pressNext}};
    for (const auto &[button, miniButton, press] : presses) {
        connect(control->button(button), &QToolButton::clicked, this, press);
        connect(mini->button(miniButton), &QToolButton::clicked, this, press);
    }
    connect(control->button(Control::Intro), &QToolButton::clicked, this, [this](bool on) {
        if (m_engine && PlayerTransport(*m_engine).setIntro(on))
            m_view->refreshAll();
    });
    connect(control->button(Control::Repeat), &QToolButton::clicked, this, [this](bool on) {
        if (m_engine && PlayerTransport(*m_engine).setRepeat(on))
            m_view->refreshButtons();
    });
    for (QToolButton *time : {control->timeButton(), mini->timeButton()})
        connect(time, &QToolButton::clicked, this, [this, time] { openPositionWindow(time); });
    m_play = control->button(Control::Play);
    m_play->installEventFilter(this);
}

bool PlayerTransportControl::enabled(int button) const
{
    return m_engine && m_control->button(PlayerControlPanel::Button(button))->isEnabled();
}

void PlayerTransportControl::pressPlay()
{
    if (!enabled(PlayerControlPanel::Play))
        return;
    PlayerTransport(*m_engine).togglePlay();
    m_view->refreshAll();
}

void PlayerTransportControl::pressStop()
{
    if (!enabled(PlayerControlPanel::Stop))
        return;
    m_engine->stop();
    m_view->refreshAll();
}

void PlayerTransportControl::pressNext()
{
    if (!enabled(PlayerControlPanel::Next))
        return;
    m_engine->nextStep();
    m_view->refreshAll();
}

void PlayerTransportControl::pressPrev()
{
    if (!enabled(PlayerControlPanel::Prev))
        return;
    m_engine->prevStep();
    m_view->refreshAll();
}

void PlayerTransportControl::pressEject()
{
    if (enabled(PlayerControlPanel::Eject))
        m_engine->ejectOrRetract();
}

bool PlayerTransportControl::actOnTimer(TimerMoments::Kind kind)
{
    const bool play = kind == TimerMoments::Play;
    const bool running = m_engine && m_engine->playing();
    if (!enabled(play ? PlayerControlPanel::Play : PlayerControlPanel::Stop) || running == play)
        return false;
    if (play)
        pressPlay();
    else
        pressStop();
    return true;
}

void PlayerTransportControl::closePositionWindow()
{
    if (m_positionForm)
        m_positionForm->close();
}

void PlayerTransportControl::openPositionWindow(QToolButton *button)
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
                                qMax(120, m_window->width() - button->x()),
                                button->height() + 8 + 20);
    connect(m_positionForm, &TPositionForm::positionChosen, this,
            [this, step](int seconds, bool atEnd) { moveWithinStep(step, seconds, atEnd); });
    m_positionForm->show();
    m_positionForm->activateWindow();
}

void PlayerTransportControl::moveWithinStep(const TStep &step, int seconds, bool atEnd)
{
    if (!m_engine || m_engine->currentIndex() < 0)
        return;
    if (atEnd) {
        m_engine->nextStep();
    } else {
        const bool running = m_engine->playing();
        if (running)
            m_engine->stopPlayback();
        m_engine->setPosition(step.start + seconds * 75);
        m_view->refreshDisplay();
        if (running)
            m_engine->startPlayback();
    }
    m_view->refreshAll();
}

bool PlayerTransportControl::eventFilter(QObject *watched, QEvent *event)
{
    // Only the stored pointer is compared: the filter also sees the button's last events while
    // the panel that owns it is being destroyed.
    QToolButton *play = m_play;
    const QEvent::Type type = event->type();
    if (watched != play ||
        (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop))
        return QObject::eventFilter(watched, event);
    auto *drop = static_cast<QDropEvent *>(event);
    if (drop->source() != m_list->list())
        return QObject::eventFilter(watched, event);
    if (type != QEvent::Drop) {
        if (!play->isEnabled())
            return QObject::eventFilter(watched, event);
        drop->acceptProposedAction();
        return true;
    }
    drop->acceptProposedAction();
    m_list->playRow(m_list->list()->currentRow());
    return true;
}

} // namespace Orbisong
