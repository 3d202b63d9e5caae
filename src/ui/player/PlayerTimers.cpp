#include "ui/player/PlayerTimers.h"

#include "collection/Settings.h"
#include "ui/player/PlayerHints.h"
#include "ui/player/TTimerForm.h"

#include <QLocale>
#include <QToolButton>

namespace Orbisong {

PlayerTimers::PlayerTimers(QWidget *window, Settings &settings, PlayerHints &hints,
                           const std::array<QToolButton *, 2> &buttons)
    : QObject(window), m_window(window), m_settings(settings), m_hints(hints), m_buttons(buttons)
{
    m_monotonic.start();
}

void PlayerTimers::setClock(TimerMoments::Clock clock)
{
    m_moments = TimerMoments(std::move(clock));
}

void PlayerTimers::setQuestionPort(QuestionPort *port)
{
    m_questions = port;
    for (const auto &form : m_forms) {
        if (form)
            form->setQuestionPort(port);
    }
}

void PlayerTimers::press(TimerMoments::Kind kind)
{
    if (m_moments.isSet(kind)) {
        m_moments.clear(kind);
        refreshButtons();
        return;
    }
    // The button is a toggle; until a moment is chosen it shows none.
    refreshButtons();
    if (m_forms[kind]) {
        m_forms[kind]->raise();
        m_forms[kind]->activateWindow();
        return;
    }
    QString &script = kind == TimerMoments::Play ? m_settings.onTimerPlay : m_settings.onTimerStop;
    TTimerForm *form = nullptr;
    if (kind == TimerMoments::Play)
        form = new TAutoplayForm(script, m_window);
    else
        form = new TAutostopForm(script, m_window);
    form->setQuestionPort(m_questions);
    m_forms[kind] = form;
    connect(form, &TTimerForm::scriptChanged, this,
            [&script](const QString &stored) { script = stored; });
    connect(form, &TTimerForm::delayChosen, this, [this, kind](int minutes) {
        m_moments.setAfterMinutes(kind, minutes);
        refreshButtons();
    });
    connect(form, &TTimerForm::timeChosen, this,
            [this, kind](const QDateTime &moment) { setAt(kind, moment); });
    emit windowOpened();
    connect(form, &QObject::destroyed, this, &PlayerTimers::windowClosed);
    form->show();
}

bool PlayerTimers::setAt(TimerMoments::Kind kind, const QDateTime &moment)
{
    const bool set = m_moments.setAt(kind, moment);
    refreshButtons();
    return set;
}

void PlayerTimers::reset()
{
    m_moments.clear(TimerMoments::Play);
    m_moments.clear(TimerMoments::Stop);
    refreshButtons();
}

void PlayerTimers::check()
{
    const QList<TimerMoments::Kind> due = m_moments.poll(m_monotonic.elapsed());
    for (TimerMoments::Kind kind : due)
        emit this->due(kind);
    if (!due.isEmpty())
        refreshButtons();
}

void PlayerTimers::closeWindows()
{
    for (const auto &form : m_forms) {
        if (form)
            form->close();
    }
}

void PlayerTimers::refreshButtons()
{
    const QString names[] = {tr("Timer Play"), tr("Timer Stop")};
    for (int kind : {0, 1}) {
        const bool set = m_moments.isSet(TimerMoments::Kind(kind));
        m_buttons[kind]->setChecked(set);
        const QString text =
            set ? names[kind] + QStringLiteral(": ") +
                      QLocale().toString(m_moments.moment(TimerMoments::Kind(kind)).time(),
                                         QLocale::ShortFormat)
                : names[kind];
        m_hints.setText(m_buttons[kind], text);
    }
}

} // namespace Orbisong
