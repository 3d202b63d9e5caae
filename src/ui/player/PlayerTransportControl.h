#pragma once

#include "player/TimerMoments.h"

#include <QObject>
#include <QPointer>

class QToolButton;
class QWidget;

namespace Orbisong {

class PlayerControlPanel;
class PlayerEngine;
class PlayerListControl;
class PlayerMiniPanel;
class PlayerView;
class TPositionForm;
class TStep;
struct Settings;

// What the player's transport controls do: play/pause, stop, previous, next and eject act only
// while their button is enabled, so menus, mini buttons and tray icons follow the buttons.
// Also the intro and repeat toggles, the position strip under the time buttons, and steps
// dragged from the list onto the play button.
class PlayerTransportControl : public QObject
{
    Q_OBJECT

public:
    PlayerTransportControl(QWidget *window, Settings &settings, PlayerControlPanel *control,
                           PlayerMiniPanel *mini, PlayerListControl *list, PlayerView *view);

    void setEngine(PlayerEngine *engine) { m_engine = engine; }

    void pressPlay();
    void pressStop();
    void pressNext();
    void pressPrev();
    void pressEject();
    // Starts or stops playback for a timer that came; false when its button cannot act now.
    bool actOnTimer(TimerMoments::Kind kind);
    void closePositionWindow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool enabled(int button) const;
    void openPositionWindow(QToolButton *button);
    void moveWithinStep(const TStep &step, int seconds, bool atEnd);

    QWidget *m_window;
    Settings &m_settings;
    PlayerControlPanel *m_control;
    PlayerListControl *m_list;
    QToolButton *m_play = nullptr;
    PlayerView *m_view;
    PlayerEngine *m_engine = nullptr;
    QPointer<TPositionForm> m_positionForm;
};

} // namespace Orbisong
