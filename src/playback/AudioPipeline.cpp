#include "playback/AudioPipeline.h"

#include <QLoggingCategory>

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <algorithm>

Q_LOGGING_CATEGORY(lcAudio, "orbisong.playback.audio")

namespace Orbisong {

namespace {

// One second of audio per buffer keeps the per-buffer overhead negligible while the queue
// (a few buffers) stays short enough for stop and seek to feel immediate.
constexpr int FramesPerBuffer = 75;
constexpr guint64 QueueBytes = 4ull * FramesPerBuffer * AudioPipeline::BytesPerFrame;

// The drives' pipelines are made on the main thread, but the choice may be read elsewhere.
std::mutex chosenSinkMutex;
QString chosenSink;

void initGStreamer()
{
    static const bool ready = [] {
        GError *error = nullptr;
        if (!gst_init_check(nullptr, nullptr, &error)) {
            qCWarning(lcAudio) << "GStreamer cannot start:" << (error ? error->message : "");
            g_clear_error(&error);
            return false;
        }
        return true;
    }();
    Q_UNUSED(ready);
}

GstClockTime framesToTime(qint64 frames)
{
    return gst_util_uint64_scale(guint64(frames), GST_SECOND, 75);
}

} // namespace

AudioPipeline::AudioPipeline(QString sink) : m_sink(std::move(sink))
{
    initGStreamer();
}

AudioPipeline::~AudioPipeline()
{
    stop();
}

QString AudioPipeline::defaultSink()
{
    const QString forced = qEnvironmentVariable("ORBISONG_AUDIO_SINK");
    if (!forced.isEmpty())
        return forced;
    std::lock_guard lock(chosenSinkMutex);
    return chosenSink;
}

void AudioPipeline::setChosenSink(const QString &sink)
{
    std::lock_guard lock(chosenSinkMutex);
    chosenSink = sink;
}

GstElement *AudioPipeline::build(const QString &sink, QString *error)
{
    const QString description =
        QStringLiteral("appsrc name=source format=time is-live=false block=false "
                       "! audioconvert ! volume name=volume ! %1")
            .arg(sink);
    GError *parseError = nullptr;
    GstElement *pipeline = gst_parse_launch(description.toUtf8().constData(), &parseError);
    if (parseError) {
        *error = QString::fromUtf8(parseError->message);
        g_clear_error(&parseError);
        if (pipeline)
            gst_object_unref(pipeline);
        return nullptr;
    }
    if (gst_element_set_state(pipeline, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) {
        *error = QStringLiteral("the audio output \"%1\" cannot be opened").arg(sink);
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(pipeline);
        return nullptr;
    }
    return pipeline;
}

bool AudioPipeline::start(int from, int end, Reader reader, QString *error)
{
    stop();
    if (from >= end) {
        *error = QStringLiteral("nothing to play");
        return false;
    }
    QString wanted = m_sink.isEmpty() ? defaultSink() : m_sink;
    QString buildError;
    m_pipeline = build(wanted.isEmpty() ? QStringLiteral("autoaudiosink") : wanted, &buildError);
    if (!m_pipeline && !wanted.isEmpty() && m_sink.isEmpty() &&
        qEnvironmentVariableIsEmpty("ORBISONG_AUDIO_SINK")) {
        // The chosen output has gone (unplugged): the desktop's output plays instead.
        qCInfo(lcAudio) << "the chosen audio output cannot be opened:" << buildError;
        wanted.clear();
        m_pipeline = build(QStringLiteral("autoaudiosink"), &buildError);
    }
    m_sinkName = wanted.isEmpty() ? QStringLiteral("autoaudiosink") : wanted;
    if (!m_pipeline && wanted.isEmpty()) {
        // Without a sound output the position must still move at the rate of real playback.
        qCInfo(lcAudio) << "no audio output:" << buildError << "- playing to a silent sink";
        m_sinkName = QStringLiteral("fakesink sync=true");
        m_pipeline = build(m_sinkName, &buildError);
    }
    if (!m_pipeline) {
        *error = buildError;
        return false;
    }
    m_source = GST_APP_SRC(gst_bin_get_by_name(GST_BIN(m_pipeline), "source"));
    m_volume = gst_bin_get_by_name(GST_BIN(m_pipeline), "volume");
    g_object_set(m_volume, "volume", m_volumeLevel, nullptr);

    GstCaps *caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "layout",
                                        G_TYPE_STRING, "interleaved", "rate", G_TYPE_INT, 44100,
                                        "channels", G_TYPE_INT, 2, nullptr);
    gst_app_src_set_caps(m_source, caps);
    gst_caps_unref(caps);
    gst_app_src_set_max_bytes(m_source, QueueBytes);
    gst_app_src_set_size(m_source, gint64(end - from) * BytesPerFrame);

    m_reader = std::move(reader);
    m_from = from;
    m_end = end;
    m_next = from;
    m_lastPosition = from;
    m_finished = false;
    GstAppSrcCallbacks callbacks{};
    callbacks.need_data = &AudioPipeline::needData;
    gst_app_src_set_callbacks(m_source, &callbacks, this, nullptr);

    if (gst_element_set_state(m_pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        *error = QStringLiteral("the playback pipeline cannot start");
        stop();
        return false;
    }
    return true;
}

void AudioPipeline::needData(GstAppSrc *, unsigned, void *self)
{
    static_cast<AudioPipeline *>(self)->feed();
}

void AudioPipeline::feed()
{
    std::lock_guard lock(m_feedMutex);
    const int frame = m_next;
    const int frames = std::min(FramesPerBuffer, m_end - frame);
    if (frames <= 0) {
        gst_app_src_end_of_stream(m_source);
        return;
    }
    GstBuffer *buffer = gst_buffer_new_allocate(nullptr, gsize(frames) * BytesPerFrame, nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    const int read = m_reader(frame, reinterpret_cast<char *>(map.data), frames);
    gst_buffer_unmap(buffer, &map);
    if (read <= 0) {
        qCWarning(lcAudio) << "reading audio failed at frame" << frame;
        gst_buffer_unref(buffer);
        gst_app_src_end_of_stream(m_source);
        return;
    }
    gst_buffer_set_size(buffer, gsize(read) * BytesPerFrame);
    GST_BUFFER_PTS(buffer) = framesToTime(frame - m_from);
    GST_BUFFER_DURATION(buffer) = framesToTime(frame - m_from + read) - GST_BUFFER_PTS(buffer);
    m_next = frame + read;
    gst_app_src_push_buffer(m_source, buffer);
    if (m_next >= m_end)
        gst_app_src_end_of_stream(m_source);
}

void AudioPipeline::pollBus()
{
    if (!m_pipeline || m_finished)
        return;
    GstBus *bus = gst_element_get_bus(m_pipeline);
    while (GstMessage *message =
               gst_bus_pop_filtered(bus, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))) {
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
            GError *error = nullptr;
            gst_message_parse_error(message, &error, nullptr);
            qCWarning(lcAudio) << "playback failed:" << (error ? error->message : "");
            g_clear_error(&error);
        } else {
            m_lastPosition = m_end;
        }
        m_finished = true;
        gst_message_unref(message);
    }
    gst_object_unref(bus);
    // At the end of the range the pipeline is let go at once, as a stop would.
    if (m_finished)
        release();
}

bool AudioPipeline::isPlaying()
{
    pollBus();
    return m_pipeline && !m_finished;
}

int AudioPipeline::position()
{
    pollBus();
    if (!m_pipeline || m_finished)
        return m_lastPosition;
    gint64 time = 0;
    if (gst_element_query_position(m_pipeline, GST_FORMAT_TIME, &time) && time >= 0) {
        const int heard = m_from + int(gst_util_uint64_scale(guint64(time), 75, GST_SECOND));
        m_lastPosition = std::clamp(heard, m_from, m_end);
    }
    return m_lastPosition;
}

void AudioPipeline::setVolume(double volume)
{
    m_volumeLevel = volume;
    if (m_volume)
        g_object_set(m_volume, "volume", volume, nullptr);
}

void AudioPipeline::stop()
{
    if (!m_pipeline)
        return;
    position();
    release();
}

void AudioPipeline::release()
{
    if (!m_pipeline)
        return;
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
    gst_object_unref(m_source);
    gst_object_unref(m_volume);
    gst_object_unref(m_pipeline);
    m_pipeline = nullptr;
    m_source = nullptr;
    m_volume = nullptr;
    m_finished = true;
}

} // namespace Orbisong
