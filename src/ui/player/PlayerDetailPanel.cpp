#include "ui/player/PlayerDetailPanel.h"

#include "ui/player/PlayerHints.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMimeData>
#include <QMovie>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

constexpr int CoverSize = 42;

// The first local picture file among the dragged addresses, empty when there is none.
QString droppedPicture(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl &url : data->urls()) {
        const QString file = url.toLocalFile();
        if (!file.isEmpty() && !QImageReader::imageFormat(file).isEmpty())
            return file;
    }
    return {};
}

} // namespace

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
    m_cover = new QLabel(this);
    m_cover->setObjectName(QStringLiteral("CoverPicture"));
    m_cover->setFixedSize(CoverSize, CoverSize);
    m_cover->setAlignment(Qt::AlignCenter);
    m_cover->hide();
    hints.add(m_cover, tr("Album cover: drop a picture here to change it"));
    setAcceptDrops(true);
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
    layout->addWidget(m_cover);
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

void PlayerDetailPanel::showCover(const QString &file)
{
    const QDateTime stamp = file.isEmpty() ? QDateTime() : QFileInfo(file).lastModified();
    if (file == m_coverFile && stamp == m_coverStamp)
        return;
    m_coverFile = file;
    m_coverStamp = stamp;
    const QPixmap picture(file);
    if (file.isEmpty() || picture.isNull()) {
        m_cover->clear();
        m_cover->hide();
        return;
    }
    m_cover->setPixmap(picture.scaled(m_cover->size() * devicePixelRatioF(), Qt::KeepAspectRatio,
                                      Qt::SmoothTransformation));
    m_cover->show();
}

bool PlayerDetailPanel::coverShown() const
{
    return !m_cover->isHidden() && !m_cover->pixmap().isNull();
}

void PlayerDetailPanel::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedPicture(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void PlayerDetailPanel::dropEvent(QDropEvent *event)
{
    const QString file = droppedPicture(event->mimeData());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    emit pictureDropped(file);
}

} // namespace Orbisong
