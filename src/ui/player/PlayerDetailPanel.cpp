#include "ui/player/PlayerDetailPanel.h"

#include "ui/player/PlayerHints.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orbisong {

PlayerDetailPanel::PlayerDetailPanel(PlayerHints &hints, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DetailPanel"));
    setAttribute(Qt::WA_StyledBackground);
    m_driveButton = hints.iconButton(QStringLiteral("DriveButton"), QStringLiteral("drive"),
                                     tr("Choose a CD drive"), this);
    m_driveButton->setIconSize(QSize(28, 28));
    m_driveButton->setPopupMode(QToolButton::InstantPopup);
    m_driveButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_titleLabel = new QLabel(this);
    m_titleLabel->setObjectName(QStringLiteral("TitleLabel"));
    hints.add(m_titleLabel, tr("Album title"));
    m_artistLabel = new QLabel(this);
    m_artistLabel->setObjectName(QStringLiteral("ArtistLabel"));
    hints.add(m_artistLabel, tr("Album artist and/or copyright"));
    m_statusPicture = new QLabel(this);
    m_statusPicture->setObjectName(QStringLiteral("AVIPlayer"));
    m_statusPicture->setFixedSize(43, 42);
    m_statusPicture->setAlignment(Qt::AlignCenter);
    m_statusMovie = new QMovie(this);
    m_statusPicture->setPixmap(PlayerHints::icon(QStringLiteral("orbisong")).pixmap(32, 32));

    auto *texts = new QVBoxLayout;
    texts->setSpacing(1);
    texts->addWidget(m_titleLabel);
    texts->addWidget(m_artistLabel);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(m_driveButton);
    layout->addLayout(texts, 1);
    layout->addWidget(m_statusPicture);
}

void PlayerDetailPanel::applyEnabled(const PlayerDisplay::Enabled &enabled)
{
    m_driveButton->setEnabled(enabled.drive);
}

void PlayerDetailPanel::showAlbum(const QString &title, const QString &artist)
{
    m_titleLabel->setText(title);
    m_artistLabel->setText(artist);
}

void PlayerDetailPanel::showAnimation(const QString &file)
{
    if (m_statusMovie->fileName() == file)
        return;
    m_statusMovie->stop();
    m_statusMovie->setFileName(file);
    if (file.isEmpty()) {
        m_statusPicture->setPixmap(PlayerHints::icon(QStringLiteral("orbisong")).pixmap(32, 32));
    } else {
        m_statusPicture->setMovie(m_statusMovie);
        m_statusMovie->start();
    }
}

} // namespace Orbisong
