#include "ui/player/PlayerControlPanel.h"

#include "ui/player/PlayerHints.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orbisong {

PlayerControlPanel::PlayerControlPanel(PlayerHints &hints, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ControlPanel"));
    setAttribute(Qt::WA_StyledBackground);
    m_timeButton = new QToolButton(this);
    m_timeButton->setObjectName(QStringLiteral("TimeButton"));
    m_timeButton->setText(QStringLiteral("00 00:00"));
    m_timeButton->setMinimumWidth(110);
    hints.add(m_timeButton, tr("Current position (click to adjust)"));

    const struct
    {
        const char *name;
        const char *icon;
        QString hint;
    } buttons[ButtonCount] = {
        {"PropertiesButton", "properties", tr("Album properties")},
        {"CollectionButton", "collection", tr("Collection")},
        {"AutoPlayButton", "timerplay", tr("Timer Play")},
        {"AutoStopButton", "timerstop", tr("Timer Stop")},
        {"IntroButton", "intro", tr("Toggle intro mode on/off")},
        {"RepeatButton", "repeat", tr("Toggle repeat mode on/off")},
        {"EjectButton", "eject", tr("Eject or load a CD")},
        {"StopButton", "stop", tr("Stop playback")},
        {"PlayButton", "play", tr("Start or pause playback")},
        {"PrevButton", "prev", tr("Jump to previous track")},
        {"NextButton", "next", tr("Jump to next track")},
        {"WeblinkButton", "weblink", tr("Artist on the Internet")},
    };
    for (int i = 0; i < ButtonCount; ++i) {
        m_buttons[i] =
            hints.iconButton(QString::fromLatin1(buttons[i].name),
                             QString::fromLatin1(buttons[i].icon), buttons[i].hint, this);
    }
    for (Button b : {AutoPlay, AutoStop, Intro, Repeat})
        m_buttons[b]->setCheckable(true);
    m_buttons[Play]->setIconSize(QSize(28, 28));
    m_buttons[Play]->setAcceptDrops(true);
    m_buttons[Weblink]->setPopupMode(QToolButton::InstantPopup);

    m_userLabel = new QLabel(this);
    m_userLabel->setObjectName(QStringLiteral("UserLabel"));
    m_userLabel->setAlignment(Qt::AlignCenter);

    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(m_timeButton);
    row->addSpacing(6);
    for (int i = Properties; i <= Repeat; ++i)
        row->addWidget(m_buttons[i]);
    row->addStretch();
    for (int i = Eject; i <= Weblink; ++i)
        row->addWidget(m_buttons[i]);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(3);
    layout->addLayout(row);
    layout->addWidget(m_userLabel);
}

void PlayerControlPanel::applyEnabled(const PlayerDisplay::Enabled &enabled)
{
    for (QToolButton *b : {m_timeButton, m_buttons[Stop], m_buttons[Play], m_buttons[Prev]})
        b->setEnabled(enabled.steps);
    m_buttons[Next]->setEnabled(enabled.steps && enabled.next);
    for (Button b : {Properties, Intro, Repeat, Weblink})
        m_buttons[b]->setEnabled(enabled.audio);
    m_buttons[Eject]->setEnabled(enabled.drive);
}

void PlayerControlPanel::showTime(const QString &text)
{
    if (m_timeButton->text() != text)
        m_timeButton->setText(text);
}

void PlayerControlPanel::showPlaying(bool playing)
{
    m_buttons[Play]->setIcon(
        PlayerHints::icon(playing ? QStringLiteral("pause") : QStringLiteral("play")));
}

} // namespace Orbisong
