#pragma once

#include "player/PlayerDisplay.h"

#include <QWidget>

#include <array>

class QToolButton;

namespace Orbisong {

class PlayerHints;

// The single row the player shrinks to in mini mode: small transport buttons, the web
// links and the time.
class PlayerMiniPanel : public QWidget
{
    Q_OBJECT

public:
    enum Button { Eject, Stop, Play, Prev, Next, Weblink, ButtonCount };

    explicit PlayerMiniPanel(PlayerHints &hints, QWidget *parent = nullptr);

    QToolButton *button(Button which) const { return m_buttons[which]; }
    QToolButton *timeButton() const { return m_timeButton; }

    void applyEnabled(const PlayerDisplay::Enabled &enabled);
    void showTime(const QString &text);
    void showPlaying(bool playing);

private:
    std::array<QToolButton *, ButtonCount> m_buttons{};
    QToolButton *m_timeButton = nullptr;
};

} // namespace Orbisong
