#include "ui/player/PlayerStatusPanel.h"

#include "ui/player/PlayerHints.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

namespace Orbisong {

PlayerStatusPanel::PlayerStatusPanel(PlayerHints &hints, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("StatusPanel"));
    setAttribute(Qt::WA_StyledBackground);
    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("StatusLabel"));
    m_statusLabel->setAlignment(Qt::AlignCenter);
    m_summaryLabel = new QLabel(this);
    m_summaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    hints.add(m_summaryLabel, tr("Playlist summary"));
    m_volumeTrack = new QSlider(Qt::Horizontal, this);
    m_volumeTrack->setObjectName(QStringLiteral("VolumeTrack"));
    m_volumeTrack->setFixedWidth(90);
    m_volumeTrack->setRange(0, 65535);
    m_volumeTrack->setPageStep(4096);
    m_volumeTrack->setFocusPolicy(Qt::NoFocus);
    hints.add(m_volumeTrack, tr("Adjust volume"));
    connect(m_volumeTrack, &QSlider::valueChanged, this, &PlayerStatusPanel::volumeChosen);
    m_volumeButton = hints.iconButton(QStringLiteral("VolumeButton"), QStringLiteral("volume"),
                                      tr("Open volume control"), this);
    m_volumeButton->setIconSize(QSize(16, 16));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 4, 2);
    layout->addWidget(m_summaryLabel);
    layout->addWidget(m_statusLabel, 1);
    layout->addWidget(m_volumeButton);
    layout->addWidget(m_volumeTrack);
}

void PlayerStatusPanel::showSummary(const QString &text)
{
    m_summaryLabel->setText(text);
}

void PlayerStatusPanel::showVolume(int volume)
{
    if (m_volumeTrack->value() == volume)
        return;
    QSignalBlocker block(m_volumeTrack);
    m_volumeTrack->setValue(volume);
}

} // namespace Orbisong
