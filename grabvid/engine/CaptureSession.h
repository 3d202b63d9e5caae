#pragma once

#include "CaptureTypes.h"
#include "GstSupport.h"

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSize>
#include <QTimer>

#include <atomic>

namespace Orbisong {

// The capture engine: one connected driver, its live picture, sequence capture into an AVI
// capture file and single pictures. Its operations mirror a capture window's requests and
// report success as a bool so the program can show its own failure texts. No widgets: the
// picture leaves through frameReady, progress through statusText.
class CaptureSession : public QObject
{
    Q_OBJECT

public:
    explicit CaptureSession(QObject *parent = nullptr);
    ~CaptureSession() override;

    bool driverConnect(const CaptureDriverInfo &driver);
    bool driverDisconnect();
    bool isConnected() const { return m_connected; }
    CaptureDriverInfo driver() const { return m_driver; }
    DriverCaps driverCaps() const;
    bool getStatus(CaptureStatus &status) const;

    // Overlay needs display hardware; it is never available.
    bool setOverlay(bool on);
    bool setPreview(bool on);
    void setPreviewRate(int milliseconds);

    bool getSequenceSetup(CaptureParams &params) const;
    bool setSequenceSetup(const CaptureParams &params);
    bool getAudioFormat(WaveFormat &format) const;
    bool setAudioFormat(const WaveFormat &format);

    bool setCaptureFile(const QString &path);
    QString captureFile() const { return m_captureFile; }
    bool fileAllocate(qint64 bytes);
    bool fileSaveAs(const QString &path);

    // Saves the current frame as a 24-bit BMP file.
    bool saveDib(const QString &path);

    // Sequence capture runs from start to stop; a failure while it runs emits captureFailed.
    bool sequenceStart();
    bool sequenceStop();
    bool isCapturing() const { return m_capturing; }

    QSize frameSize() const { return m_frameSize; }
    bool setFrameSize(const QSize &size);
    QList<QSize> frameSizes() const;
    QList<int> frameRates(const QSize &size) const;

    QList<SourceControl> sourceControls() const;
    bool setSourceControl(const QString &name, int value);

    VideoEncoder encoder() const { return m_encoder; }
    bool setEncoder(const VideoEncoder &encoder);

    QImage currentFrame() const { return m_frame; }

signals:
    void frameReady(const QImage &frame);
    void statusText(const QString &text);
    void captureFailed();

private:
    QString pipelineText(bool record) const;
    bool startPipeline(bool record);
    void applySourceControls();
    void pullFrames();
    void pollBus();
    void tick();
    void reportProgress();

    CaptureDriverInfo m_driver;
    bool m_connected = false;
    bool m_preview = false;
    bool m_audioHardware = false;
    CaptureParams m_params;
    WaveFormat m_audioFormat;
    QString m_captureFile;
    QSize m_frameSize{320, 240};
    VideoEncoder m_encoder;
    QMap<QString, int> m_controls;

    PipelineHolder m_pipeline;
    QTimer m_timer;
    QImage m_frame;

    bool m_capturing = false;
    bool m_captureError = false;
    bool m_captureAudio = false;
    QElapsedTimer m_captureClock;
    qint64 m_lastReport = 0;
    std::atomic<qint64> m_framesWritten{0};
};

} // namespace Orbisong
