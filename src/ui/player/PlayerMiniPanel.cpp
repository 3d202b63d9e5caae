#include "ui/player/PlayerMiniPanel.h"

#include "ui/player/PlayerHints.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace Orbisong {

PlayerMiniPanel::PlayerMiniPanel(PlayerHints &hints, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MiniPanel"));
    m_timeButton = new QToolButton(this);
    m_timeButton->setObjectName(QStringLiteral("MiniTimeButton"));
    m_timeButton->setText(QStringLiteral("00 00:00"));
    const struct
    {
        const char *name;
        const char *icon;
        QString hint;
    } buttons[ButtonCount] = {
        {"MiniEjectButton", "eject", tr("Eject or load a CD")},
        {"MiniStopButton", "stop", tr("Stop playback")},
        {"MiniPlayButton", "play", tr("Start or pause playback")},
        {"MiniPrevButton", "prev", tr("Jump to previous track")},
        {"MiniNextButton", "next", tr("Jump to next track")},
        {"MiniWeblinkButton", "weblink", tr("Internet links")},
    };
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(1);
    for (int i = 0; i < ButtonCount; ++i) {
        m_buttons[i] =
            hints.iconButton(QString::fromLatin1(buttons[i].name),
                             QString::fromLatin1(buttons[i].icon), buttons[i].hint, this);
        m_buttons[i]->setIconSize(QSize(16, 16));
        layout->addWidget(m_buttons[i]);
    }
    m_buttons[Weblink]->setPopupMode(QToolButton::InstantPopup);
    layout->addWidget(m_timeButton);
}

void PlayerMiniPanel::applyEnabled(const PlayerDisplay::Enabled &enabled)
{
    m_buttons[Eject]->setEnabled(enabled.drive);
    for (Button b : {Stop, Play, Prev})
        m_buttons[b]->setEnabled(enabled.steps);
    m_buttons[Next]->setEnabled(enabled.steps && enabled.next);
    m_buttons[Weblink]->setEnabled(enabled.audio);
    m_timeButton->setEnabled(enabled.steps);
}

void PlayerMiniPanel::showTime(const QString &text)
{
    if (m_timeButton->text() != text)
        m_timeButton->setText(text);
}

void PlayerMiniPanel::showPlaying(bool playing)
{
    m_buttons[Play]->setIcon(
        PlayerHints::icon(playing ? QStringLiteral("pause") : QStringLiteral("play")));
}

} // namespace Orbisong
