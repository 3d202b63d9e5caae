#include "MediaPlayer.h"

#include <QFile>
#include <QUrl>

#include <gst/app/gstappsink.h>

namespace Orbisong {

MediaPlayer::MediaPlayer(QObject *parent) : QObject(parent)
{
    ensureGstInitialised();
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &MediaPlayer::tick);
}

MediaPlayer::~MediaPlayer() = default;

bool MediaPlayer::open(const QString &path, const QString &audioSink)
{
    m_timer.stop();
    m_playbin.reset();
    m_playing = false;
    m_framesShown = 0;
    m_frame = {};
    if (!QFile::exists(path))
        return false;
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin)
        return false;
    m_playbin.reset(playbin);
    GError *error = nullptr;
    GstElement *videoSink = gst_parse_bin_from_description(
        "videoconvert ! videoscale ! video/x-raw,format=BGRx,pixel-aspect-ratio=1/1 ! "
        "appsink name=frames max-buffers=2 drop=false sync=true",
        TRUE, &error);
    if (error) {
        g_error_free(error);
        m_playbin.reset();
        return false;
    }
    GstElement *audio = gst_element_factory_make(audioSink.toUtf8().constData(), nullptr);
    if (audio && audioSink == QLatin1String("fakesink"))
        g_object_set(audio, "sync", TRUE, nullptr);
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    g_object_set(playbin, "uri", uri.constData(), "video-sink", videoSink, nullptr);
    if (audio)
        g_object_set(playbin, "audio-sink", audio, nullptr);
    if (gst_element_set_state(playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        m_playbin.reset();
        return false;
    }
    m_timer.start();
    return true;
}

bool MediaPlayer::play()
{
    if (!m_playbin ||
        gst_element_set_state(m_playbin.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return false;
    m_playing = true;
    return true;
}

bool MediaPlayer::pause()
{
    if (!m_playbin ||
        gst_element_set_state(m_playbin.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return false;
    m_playing = false;
    return true;
}

bool MediaPlayer::seek(qint64 milliseconds)
{
    return m_playbin &&
           gst_element_seek_simple(m_playbin.get(), GST_FORMAT_TIME,
                                   GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT),
                                   qMax<qint64>(0, milliseconds) * GST_MSECOND);
}

qint64 MediaPlayer::positionMs() const
{
    gint64 position = 0;
    if (!m_playbin || !gst_element_query_position(m_playbin.get(), GST_FORMAT_TIME, &position))
        return 0;
    return position / GST_MSECOND;
}

qint64 MediaPlayer::durationMs() const
{
    gint64 duration = 0;
    if (!m_playbin || !gst_element_query_duration(m_playbin.get(), GST_FORMAT_TIME, &duration))
        return 0;
    return duration / GST_MSECOND;
}

void MediaPlayer::tick()
{
    if (!m_playbin)
        return;
    GstElement *videoSink = nullptr;
    g_object_get(m_playbin.get(), "video-sink", &videoSink, nullptr);
    if (videoSink) {
        GstElement *sink = gst_bin_get_by_name(GST_BIN(videoSink), "frames");
        if (sink) {
            GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 0);
            if (!sample && !m_playing && m_frame.isNull())
                sample = gst_app_sink_try_pull_preroll(GST_APP_SINK(sink), 0);
            bool fresh = false;
            while (sample) {
                const QImage image = imageFromSample(sample);
                gst_sample_unref(sample);
                if (!image.isNull()) {
                    m_frame = image;
                    ++m_framesShown;
                    fresh = true;
                }
                sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 0);
            }
            gst_object_unref(sink);
            if (fresh)
                emit frameReady(m_frame);
        }
        gst_object_unref(videoSink);
    }
    GstBus *bus = gst_element_get_bus(m_playbin.get());
    while (GstMessage *message =
               gst_bus_pop_filtered(bus, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))) {
        const bool ended = GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
        const QString text = ended ? QString() : busMessageText(message);
        gst_message_unref(message);
        m_playing = false;
        gst_element_set_state(m_playbin.get(), GST_STATE_PAUSED);
        if (ended)
            emit finished();
        else
            emit failed(text);
    }
    gst_object_unref(bus);
}

} // namespace Orbisong
