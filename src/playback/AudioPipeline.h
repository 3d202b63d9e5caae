#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <mutex>

typedef struct _GstElement GstElement;
typedef struct _GstAppSrc GstAppSrc;

namespace Orbisong {

// Plays CD audio (44.1 kHz, 16-bit stereo, 2352 bytes a frame) that a reader supplies frame
// by frame: appsrc → audioconvert → volume → audio output. The reader runs on the pipeline's
// streaming thread, so what it touches must be safe to use from there.
class AudioPipeline
{
public:
    static constexpr int BytesPerFrame = 2352;

    // Fills `buffer` with `frames` frames starting at `frame`; returns the frames read, or a
    // negative number when reading failed.
    using Reader = std::function<int(int frame, char *buffer, int frames)>;

    // `sink` is a pipeline description of the output, such as "fakesink sync=false"; empty
    // means the desktop's audio output, or a real-time "fakesink" when there is none.
    explicit AudioPipeline(QString sink = {});
    ~AudioPipeline();
    AudioPipeline(const AudioPipeline &) = delete;
    AudioPipeline &operator=(const AudioPipeline &) = delete;

    // Starts playing frames [from, end) and returns at once; the output catches up.
    bool start(int from, int end, Reader reader, QString *error);
    // Releases the pipeline; safe to call when nothing plays.
    void stop();
    // True from start() until stop(), the end of the range or an error.
    bool isPlaying();
    // The frame being heard (the first frame until the output reports a position).
    int position();
    void setVolume(double volume);
    // The output actually used, for diagnostics.
    QString sinkName() const { return m_sinkName; }

    // The output when nothing else is asked for: $ORBISONG_AUDIO_SINK, else the output the
    // user chose, else the desktop's.
    static QString defaultSink();
    // The user's output as a pipeline description (AudioOutput::sink); empty for the
    // desktop's. Pipelines started afterwards play to it.
    static void setChosenSink(const QString &sink);

private:
    static void needData(GstAppSrc *source, unsigned length, void *self);
    void feed();
    void pollBus();
    void release();
    GstElement *build(const QString &sink, QString *error);

    QString m_sink;
    QString m_sinkName;
    GstElement *m_pipeline = nullptr;
    GstElement *m_volume = nullptr;
    GstAppSrc *m_source = nullptr;
    Reader m_reader;
    double m_volumeLevel = 1.0;
    int m_from = 0;
    int m_end = 0;
    std::atomic<int> m_next{0};
    std::atomic<bool> m_finished{false};
    int m_lastPosition = 0;
    std::mutex m_feedMutex;
};

} // namespace Orbisong
