#pragma once

#include "player/PlayerDisplay.h"

#include <QWidget>

#include <array>

class QLabel;
class QToolButton;

namespace Orbisong {

class PlayerHints;

// The top row of the player: the time button, the album and timer buttons, the transport
// buttons and the web-link button, with the info line under them.
class PlayerControlPanel : public QWidget
{
    Q_OBJECT

public:
    enum Button {
        Properties,
        Collection,
        AutoPlay,
        AutoStop,
        Intro,
        Repeat,
        Eject,
        Stop,
        Play,
        Prev,
        Next,
        Weblink,
        ButtonCount
    };

    explicit PlayerControlPanel(PlayerHints &hints, QWidget *parent = nullptr);

    QToolButton *button(Button which) const { return m_buttons[which]; }
    QToolButton *timeButton() const { return m_timeButton; }
    QLabel *userLabel() const { return m_userLabel; }

    void applyEnabled(const PlayerDisplay::Enabled &enabled);
    void showTime(const QString &text);
    void showPlaying(bool playing);

private:
    std::array<QToolButton *, ButtonCount> m_buttons{};
    QToolButton *m_timeButton = nullptr;
    QLabel *m_userLabel = nullptr;
};

} // namespace Orbisong
