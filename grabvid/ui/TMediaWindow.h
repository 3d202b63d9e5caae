#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QSlider;

namespace Orbisong {

class MediaPlayer;
class PreviewWidget;

// The "Video" child window that plays a media file: picture, play/pause and a position bar.
class TMediaWindow : public QWidget
{
    Q_OBJECT

public:
    TMediaWindow(const QString &path, QWidget *parent = nullptr,
                 const QString &audioSink = QStringLiteral("autoaudiosink"));

    bool isOpen() const { return m_open; }
    MediaPlayer *player() const { return m_player; }

private:
    void togglePlay();
    void updatePosition();

    MediaPlayer *m_player;
    PreviewWidget *m_picture;
    QPushButton *m_play;
    QSlider *m_position;
    QLabel *m_time;
    bool m_open = false;
};

} // namespace Orbisong
