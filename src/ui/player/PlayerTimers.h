#pragma once

#include "player/TimerMoments.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <array>

class QToolButton;
class QWidget;

namespace Orbisong {

class PlayerHints;
class QuestionPort;
class TTimerForm;
struct Settings;

// Timer play and timer stop of the player: the moments, the two buttons that show them and
// the windows that set them. When a moment comes it reports `due`; the window decides what
// can be done.
class PlayerTimers : public QObject
{
    Q_OBJECT

public:
    // The windows open over `window`; `buttons` are the timer play and timer stop buttons.
    PlayerTimers(QWidget *window, Settings &settings, PlayerHints &hints,
                 const std::array<QToolButton *, 2> &buttons);

    TimerMoments &moments() { return m_moments; }
    void setClock(TimerMoments::Clock clock);
    // The windows ask through this port; it must outlive them.
    void setQuestionPort(QuestionPort *port);

    // A timer button was pressed: a set moment is cleared, otherwise its window opens.
    void press(TimerMoments::Kind kind);
    bool setAt(TimerMoments::Kind kind, const QDateTime &moment);
    // Clears both moments.
    void reset();
    // Reports the moments that have come; checked every 4800 ms at most.
    void check();
    void closeWindows();
    // Shows the moments on the buttons and in their hints.
    void refreshButtons();

signals:
    void due(TimerMoments::Kind kind);
    // A timer window opened or closed, for the window's always-on-top suspension.
    void windowOpened();
    void windowClosed();

private:
    QWidget *m_window;
    Settings &m_settings;
    PlayerHints &m_hints;
    std::array<QToolButton *, 2> m_buttons;
    TimerMoments m_moments;
    QElapsedTimer m_monotonic;
    std::array<QPointer<TTimerForm>, 2> m_forms;
    QuestionPort *m_questions = nullptr;
};

} // namespace Orbisong
