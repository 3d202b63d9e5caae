#pragma once

#include "GstSupport.h"

#include <QImage>
#include <QObject>
#include <QTimer>

namespace Orbisong {

// Plays a media file (video, sound or both) and hands its pictures to whoever shows them.
class MediaPlayer : public QObject
{
    Q_OBJECT

public:
    explicit MediaPlayer(QObject *parent = nullptr);
    ~MediaPlayer() override;

    // Opens the file paused on its first picture. `audioSink` names the sound output element;
    // "fakesink" plays silently at the file's own pace.
    bool open(const QString &path, const QString &audioSink = QStringLiteral("autoaudiosink"));
    bool play();
    bool pause();
    bool seek(qint64 milliseconds);

    bool isPlaying() const { return m_playing; }
    qint64 positionMs() const;
    qint64 durationMs() const;
    qint64 framesShown() const { return m_framesShown; }
    QImage currentFrame() const { return m_frame; }

signals:
    void frameReady(const QImage &frame);
    void finished();
    void failed(const QString &text);

private:
    void tick();

    PipelineHolder m_playbin;
    QTimer m_timer;
    QImage m_frame;
    bool m_playing = false;
    qint64 m_framesShown = 0;
};

} // namespace Orbisong
