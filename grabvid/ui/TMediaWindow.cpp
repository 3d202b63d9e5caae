#include "TMediaWindow.h"

#include "MediaPlayer.h"
#include "PreviewWidget.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

QString clockText(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

TMediaWindow::TMediaWindow(const QString &path, QWidget *parent, const QString &audioSink)
    : QWidget(parent, Qt::Window), m_player(new MediaPlayer(this)),
      m_picture(new PreviewWidget(this)), m_play(new QPushButton(this)),
      m_position(new QSlider(Qt::Horizontal, this)), m_time(new QLabel(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Video"));
    m_picture->setPlaceholder(QFileInfo(path).fileName());
    m_play->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    m_position->setRange(0, 0);
    auto *controls = new QHBoxLayout;
    controls->addWidget(m_play);
    controls->addWidget(m_position, 1);
    controls->addWidget(m_time);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_picture, 1);
    layout->addLayout(controls);
    resize(360, 320);

    connect(m_player, &MediaPlayer::frameReady, m_picture, &PreviewWidget::showFrame);
    connect(m_player, &MediaPlayer::frameReady, this, &TMediaWindow::updatePosition);
    connect(m_player, &MediaPlayer::finished, this, [this] {
        m_play->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
        m_player->seek(0);
    });
    connect(m_player, &MediaPlayer::failed, this, [this](const QString &text) {
        m_picture->setPlaceholder(text);
        m_play->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    });
    connect(m_play, &QPushButton::clicked, this, &TMediaWindow::togglePlay);
    connect(m_position, &QSlider::sliderMoved, m_player,
            [this](int value) { m_player->seek(value); });

    m_open = m_player->open(path, audioSink);
    m_play->setEnabled(m_open);
    if (!m_open)
        m_picture->setPlaceholder(tr("Cannot open %1").arg(QFileInfo(path).fileName()));
}

void TMediaWindow::togglePlay()
{
    if (m_player->isPlaying()) {
        m_player->pause();
        m_play->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    } else if (m_player->play()) {
        m_play->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    }
}

void TMediaWindow::updatePosition()
{
    const qint64 duration = m_player->durationMs();
    const qint64 position = m_player->positionMs();
    m_position->setRange(0, int(qMin<qint64>(duration, INT_MAX)));
    if (!m_position->isSliderDown())
        m_position->setValue(int(qMin<qint64>(position, INT_MAX)));
    m_time->setText(clockText(position) + QStringLiteral(" / ") + clockText(duration));
}

} // namespace Orbisong
