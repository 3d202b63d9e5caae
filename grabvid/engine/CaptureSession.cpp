#include "CaptureSession.h"

#include "CaptureDrivers.h"
#include "CaptureFileOps.h"
#include "CaptureMath.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <gst/app/gstappsink.h>
#include <gst/video/colorbalance.h>

#include <algorithm>

namespace Orbisong {

namespace {

constexpr int DefaultPreviewRateMs = 66;
constexpr GstClockTime StopTimeout = 10 * GST_SECOND;

QList<QSize> testSourceSizes()
{
    return {{160, 120}, {176, 144}, {320, 240}, {352, 288}, {640, 480}};
}

GstPadProbeReturn countBuffer(GstPad *, GstPadProbeInfo *, gpointer counter)
{
    static_cast<std::atomic<qint64> *>(counter)->fetch_add(1);
    return GST_PAD_PROBE_OK;
}

void addRates(const GValue *value, QList<int> &rates)
{
    if (GST_VALUE_HOLDS_FRACTION(value)) {
        const int num = gst_value_get_fraction_numerator(value);
        const int den = gst_value_get_fraction_denominator(value);
        if (num > 0 && den > 0)
            rates.append((num + den / 2) / den);
    } else if (GST_VALUE_HOLDS_LIST(value)) {
        for (guint i = 0; i < gst_value_list_get_size(value); ++i)
            addRates(gst_value_list_get_value(value, i), rates);
    }
}

} // namespace

CaptureSession::CaptureSession(QObject *parent) : QObject(parent)
{
    ensureGstInitialised();
    m_timer.setInterval(DefaultPreviewRateMs);
    connect(&m_timer, &QTimer::timeout, this, &CaptureSession::tick);
}

CaptureSession::~CaptureSession()
{
    if (m_capturing)
        sequenceStop();
}

DriverCaps CaptureSession::driverCaps() const
{
    DriverCaps caps;
    caps.captureInitialized = m_connected;
    return caps;
}

bool CaptureSession::getStatus(CaptureStatus &status) const
{
    if (!m_connected)
        return false;
    status.imageWidth = m_frameSize.width();
    status.imageHeight = m_frameSize.height();
    status.liveWindow = m_preview;
    status.overlayWindow = false;
    status.capturingNow = m_capturing;
    status.audioHardware = m_audioHardware;
    status.currentVideoFrame = m_framesWritten.load();
    status.timeElapsedMs = m_capturing ? m_captureClock.elapsed() : 0;
    return true;
}

bool CaptureSession::driverConnect(const CaptureDriverInfo &driver)
{
    if (m_capturing)
        return false;
    driverDisconnect();
    m_driver = driver;
    m_controls.clear();
    if (driver.kind == CaptureDriverInfo::Device) {
        const QList<QSize> sizes = frameSizes();
        if (!sizes.isEmpty() && !sizes.contains(m_frameSize))
            m_frameSize = sizes.first();
    }
    if (!startPipeline(false)) {
        m_driver = {};
        return false;
    }
    m_connected = true;
    m_audioHardware = driver.kind == CaptureDriverInfo::TestSource || audioHardwarePresent();
    m_timer.start();
    emit statusText(tr("Connected to %1").arg(driver.name));
    return true;
}

bool CaptureSession::driverDisconnect()
{
    if (m_capturing)
        return false;
    if (!m_connected)
        return true;
    m_timer.stop();
    m_pipeline.reset();
    m_connected = false;
    m_preview = false;
    m_frame = {};
    emit statusText(tr("Disconnected from %1").arg(m_driver.name));
    return true;
}

bool CaptureSession::setOverlay(bool on)
{
    return m_connected && !on;
}

bool CaptureSession::setPreview(bool on)
{
    if (!m_connected)
        return false;
    m_preview = on;
    if (on && !m_frame.isNull())
        emit frameReady(m_frame);
    return true;
}

void CaptureSession::setPreviewRate(int milliseconds)
{
    m_timer.setInterval(qMax(1, milliseconds));
}

bool CaptureSession::getSequenceSetup(CaptureParams &params) const
{
    if (!m_connected)
        return false;
    params = m_params;
    return true;
}

bool CaptureSession::setSequenceSetup(const CaptureParams &params)
{
    if (!m_connected || m_capturing || params.microSecPerFrame < 1)
        return false;
    const bool rateChanged = params.microSecPerFrame != m_params.microSecPerFrame;
    m_params = params;
    return !rateChanged || startPipeline(false);
}

bool CaptureSession::getAudioFormat(WaveFormat &format) const
{
    if (!m_connected)
        return false;
    format = m_audioFormat;
    return true;
}

bool CaptureSession::setAudioFormat(const WaveFormat &format)
{
    if (!m_connected || m_capturing || !isValidWaveFormat(format))
        return false;
    m_audioFormat = format;
    return true;
}

bool CaptureSession::setCaptureFile(const QString &path)
{
    if (path.isEmpty() || path.size() > 4096 || m_capturing)
        return false;
    m_captureFile = QFileInfo(path).absoluteFilePath();
    return true;
}

bool CaptureSession::fileAllocate(qint64 bytes)
{
    return !m_capturing && allocateCaptureFile(m_captureFile, bytes);
}

bool CaptureSession::fileSaveAs(const QString &path)
{
    return !m_capturing && copyCaptureFile(m_captureFile, path);
}

bool CaptureSession::saveDib(const QString &path)
{
    if (!m_connected)
        return false;
    if (m_frame.isNull()) {
        // Right after connecting no frame has been shown yet: wait for the first one.
        if (GstElement *sink = m_pipeline.element("preview")) {
            if (GstSample *sample =
                    gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 2 * GST_SECOND)) {
                m_frame = imageFromSample(sample);
                gst_sample_unref(sample);
            }
        }
    }
    if (m_frame.isNull())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "bmp");
    if (!writer.write(m_frame.convertToFormat(QImage::Format_RGB888)))
        return false;
    return file.commit();
}

bool CaptureSession::sequenceStart()
{
    if (!m_connected || m_capturing || m_captureFile.isEmpty())
        return false;
    m_captureAudio = m_params.captureAudio && m_audioHardware;
    if (m_params.captureAudio && !m_audioHardware)
        emit statusText(tr("No audio hardware: capturing video only"));
    m_framesWritten = 0;
    m_captureError = false;
    if (!startPipeline(true)) {
        startPipeline(false);
        return false;
    }
    m_capturing = true;
    m_captureClock.start();
    m_lastReport = 0;
    emit statusText(tr("Capturing to %1").arg(m_captureFile));
    return true;
}

bool CaptureSession::sequenceStop()
{
    if (!m_capturing)
        return false;
    bool ok = false;
    if (!m_captureError) {
        // End of stream lets the muxer finish the file's headers and index.
        GstElement *pipeline = m_pipeline.get();
        gst_element_send_event(pipeline, gst_event_new_eos());
        GstBus *bus = gst_element_get_bus(pipeline);
        GstMessage *message = gst_bus_timed_pop_filtered(
            bus, StopTimeout, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        ok = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
        if (message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
            emit statusText(tr("Capture error: %1").arg(busMessageText(message)));
        if (message)
            gst_message_unref(message);
        gst_object_unref(bus);
    }
    const qint64 frames = m_framesWritten.load();
    const double seconds = m_captureClock.elapsed() / 1000.0;
    m_pipeline.reset();
    m_capturing = false;
    ok = ok && frames > 0;
    if (ok) {
        emit statusText(tr("Captured %1 frames in %2 seconds to %3")
                            .arg(frames)
                            .arg(seconds, 0, 'f', 1)
                            .arg(m_captureFile));
    }
    if (!startPipeline(false)) {
        m_connected = false;
        m_timer.stop();
    }
    return ok;
}

QList<QSize> CaptureSession::frameSizes() const
{
    if (m_driver.kind == CaptureDriverInfo::TestSource)
        return testSourceSizes();
    QList<QSize> sizes;
    GstCaps *caps = gst_caps_from_string(m_driver.caps.toUtf8().constData());
    if (!caps)
        return sizes;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        const GstStructure *s = gst_caps_get_structure(caps, i);
        int width = 0;
        int height = 0;
        if (gst_structure_get_int(s, "width", &width) &&
            gst_structure_get_int(s, "height", &height) && !sizes.contains(QSize(width, height)))
            sizes.append(QSize(width, height));
    }
    gst_caps_unref(caps);
    std::sort(sizes.begin(), sizes.end(), [](const QSize &a, const QSize &b) {
        return a.width() * a.height() < b.width() * b.height();
    });
    return sizes;
}

QList<int> CaptureSession::frameRates(const QSize &size) const
{
    QList<int> rates;
    if (m_driver.kind == CaptureDriverInfo::Device) {
        GstCaps *caps = gst_caps_from_string(m_driver.caps.toUtf8().constData());
        for (guint i = 0; caps && i < gst_caps_get_size(caps); ++i) {
            const GstStructure *s = gst_caps_get_structure(caps, i);
            int width = 0;
            int height = 0;
            if (gst_structure_get_int(s, "width", &width) &&
                gst_structure_get_int(s, "height", &height) && QSize(width, height) == size) {
                if (const GValue *value = gst_structure_get_value(s, "framerate"))
                    addRates(value, rates);
            }
        }
        if (caps)
            gst_caps_unref(caps);
    }
    if (rates.isEmpty())
        rates = {5, 10, 15, 20, 25, 30};
    std::sort(rates.begin(), rates.end());
    rates.erase(std::unique(rates.begin(), rates.end()), rates.end());
    rates.removeAll(0);
    return rates;
}

bool CaptureSession::setFrameSize(const QSize &size)
{
    if (m_capturing || size.width() < 16 || size.height() < 16 || size.width() > 4096 ||
        size.height() > 4096)
        return false;
    m_frameSize = size;
    m_frame = {};
    return !m_connected || startPipeline(false);
}

QList<SourceControl> CaptureSession::sourceControls() const
{
    QList<SourceControl> controls;
    GstElement *balance = m_pipeline.element("balance");
    if (!balance || !GST_IS_COLOR_BALANCE(balance))
        return controls;
    GstColorBalance *colorBalance = GST_COLOR_BALANCE(balance);
    for (const GList *item = gst_color_balance_list_channels(colorBalance); item;
         item = item->next) {
        auto *channel = GST_COLOR_BALANCE_CHANNEL(item->data);
        SourceControl control;
        control.name = QString::fromUtf8(channel->label);
        control.minimum = channel->min_value;
        control.maximum = channel->max_value;
        control.value = gst_color_balance_get_value(colorBalance, channel);
        controls.append(control);
    }
    return controls;
}

bool CaptureSession::setSourceControl(const QString &name, int value)
{
    GstElement *balance = m_pipeline.element("balance");
    if (!balance || !GST_IS_COLOR_BALANCE(balance))
        return false;
    GstColorBalance *colorBalance = GST_COLOR_BALANCE(balance);
    for (const GList *item = gst_color_balance_list_channels(colorBalance); item;
         item = item->next) {
        auto *channel = GST_COLOR_BALANCE_CHANNEL(item->data);
        if (QString::fromUtf8(channel->label) == name) {
            const int bounded = qBound(channel->min_value, value, channel->max_value);
            gst_color_balance_set_value(colorBalance, channel, bounded);
            m_controls.insert(name, bounded);
            return true;
        }
    }
    return false;
}

bool CaptureSession::setEncoder(const VideoEncoder &encoder)
{
    if (m_capturing || encoder.quality < 0 || encoder.quality > 100)
        return false;
    m_encoder = encoder;
    return true;
}

QString CaptureSession::pipelineText(bool record) const
{
    const QString source =
        m_driver.kind == CaptureDriverInfo::TestSource
            ? QStringLiteral("videotestsrc is-live=true ! videobalance name=balance")
            : QStringLiteral("v4l2src name=balance");
    // The frame rate is the exact period, so the file's headers carry it to the microsecond.
    QString text = QStringLiteral("%1 ! videorate ! videoconvert ! videoscale ! "
                                  "video/x-raw,width=%2,height=%3,framerate=1000000/%4,"
                                  "pixel-aspect-ratio=1/1 ! tee name=t "
                                  "t. ! queue leaky=downstream max-size-buffers=2 ! videoconvert ! "
                                  "video/x-raw,format=BGRx ! appsink name=preview max-buffers=1 "
                                  "drop=true sync=false wait-on-eos=false")
                       .arg(source)
                       .arg(m_frameSize.width())
                       .arg(m_frameSize.height())
                       .arg(qMax<qint64>(1, m_params.microSecPerFrame));
    if (!record)
        return text;
    const QString encoder =
        m_encoder.kind == VideoEncoder::MotionJpeg
            ? QStringLiteral("videoconvert ! jpegenc name=enc quality=%1").arg(m_encoder.quality)
            : QStringLiteral("videoconvert ! video/x-raw,format=I420 ! identity name=enc");
    text += QStringLiteral(" t. ! queue max-size-buffers=0 max-size-time=0 max-size-bytes=0 ! %1 ! "
                           "queue ! avimux name=mux ! filesink name=sink")
                .arg(encoder);
    if (m_captureAudio) {
        const QString audioSource =
            m_driver.kind == CaptureDriverInfo::TestSource
                ? QStringLiteral("audiotestsrc is-live=true wave=sine freq=440 volume=0.2")
                : QStringLiteral("pulsesrc");
        text += QStringLiteral(" %1 ! audioconvert ! audioresample ! "
                               "audio/x-raw,format=%2,rate=%3,channels=%4,layout=interleaved ! "
                               "queue max-size-buffers=0 max-size-time=0 max-size-bytes=0 ! mux.")
                    .arg(audioSource)
                    .arg(m_audioFormat.bitsPerSample == 8 ? QStringLiteral("U8")
                                                          : QStringLiteral("S16LE"))
                    .arg(m_audioFormat.samplesPerSec)
                    .arg(m_audioFormat.channels);
    }
    return text;
}

bool CaptureSession::startPipeline(bool record)
{
    m_pipeline.reset();
    GError *error = nullptr;
    GstElement *pipeline = gst_parse_launch(pipelineText(record).toUtf8().constData(), &error);
    if (error) {
        emit statusText(QString::fromUtf8(error->message));
        g_error_free(error);
        if (pipeline)
            gst_object_unref(pipeline);
        return false;
    }
    m_pipeline.reset(pipeline);
    if (m_driver.kind == CaptureDriverInfo::Device) {
        g_object_set(m_pipeline.element("balance"), "device",
                     m_driver.devicePath.toLocal8Bit().constData(), nullptr);
    }
    if (record) {
        g_object_set(m_pipeline.element("sink"), "location",
                     QFile::encodeName(m_captureFile).constData(), nullptr);
        GstPad *pad = gst_element_get_static_pad(m_pipeline.element("enc"), "src");
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, countBuffer, &m_framesWritten, nullptr);
        gst_object_unref(pad);
    }
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        pollBus();
        m_pipeline.reset();
        return false;
    }
    applySourceControls();
    return true;
}

void CaptureSession::applySourceControls()
{
    const QMap<QString, int> controls = m_controls;
    for (auto it = controls.cbegin(); it != controls.cend(); ++it)
        setSourceControl(it.key(), it.value());
}

void CaptureSession::pullFrames()
{
    GstElement *sink = m_pipeline.element("preview");
    if (!sink)
        return;
    GstSample *latest = nullptr;
    while (GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 0)) {
        if (latest)
            gst_sample_unref(latest);
        latest = sample;
    }
    if (!latest)
        return;
    const QImage image = imageFromSample(latest);
    gst_sample_unref(latest);
    if (image.isNull())
        return;
    m_frame = image;
    if (m_preview)
        emit frameReady(m_frame);
}

void CaptureSession::pollBus()
{
    if (!m_pipeline)
        return;
    GstBus *bus = gst_element_get_bus(m_pipeline.get());
    while (GstMessage *message =
               gst_bus_pop_filtered(bus, GstMessageType(GST_MESSAGE_ERROR | GST_MESSAGE_WARNING))) {
        const QString text = busMessageText(message);
        const bool failed = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR;
        gst_message_unref(message);
        emit statusText(text);
        if (failed && m_capturing && !m_captureError) {
            m_captureError = true;
            emit captureFailed();
        }
    }
    gst_object_unref(bus);
}

void CaptureSession::tick()
{
    pullFrames();
    pollBus();
    if (m_capturing)
        reportProgress();
}

void CaptureSession::reportProgress()
{
    const qint64 elapsed = m_captureClock.elapsed();
    if (elapsed - m_lastReport < 1000)
        return;
    m_lastReport = elapsed;
    emit statusText(tr("Capturing: %1 frames, %2 seconds%3")
                        .arg(m_framesWritten.load())
                        .arg(elapsed / 1000)
                        .arg(m_captureAudio ? tr(", with audio") : QString()));
}

} // namespace Orbisong
