// The audio outputs of the volume menu. The machine has no sound card, so a device provider
// registered by the test stands for one: an output that plays into a file.

#include "playback/AudioOutputs.h"
#include "playback/AudioPipeline.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gst/gst.h>
#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QByteArray s_outputFile;

struct TestDevice
{
    GstDevice parent;
};
struct TestDeviceClass
{
    GstDeviceClass parent;
};
G_DEFINE_TYPE(TestDevice, test_device, GST_TYPE_DEVICE)

GstElement *createElement(GstDevice *, const gchar *name)
{
    GstElement *sink = gst_element_factory_make("filesink", name);
    g_object_set(sink, "location", s_outputFile.constData(), nullptr);
    return sink;
}

void test_device_class_init(TestDeviceClass *klass)
{
    GST_DEVICE_CLASS(klass)->create_element = createElement;
}

void test_device_init(TestDevice *)
{
}

struct TestProvider
{
    GstDeviceProvider parent;
};
struct TestProviderClass
{
    GstDeviceProviderClass parent;
};
G_DEFINE_TYPE(TestProvider, test_provider, GST_TYPE_DEVICE_PROVIDER)

GstDevice *makeDevice(const char *name)
{
    GstCaps *caps = gst_caps_new_empty_simple("audio/x-raw");
    auto *device = GST_DEVICE(g_object_new(test_device_get_type(), "display-name", name,
                                           "device-class", "Audio/Sink", "caps", caps, nullptr));
    gst_caps_unref(caps);
    return device;
}

GList *probe(GstDeviceProvider *)
{
    // The same output twice, as two providers may see it, is listed once.
    GList *devices = nullptr;
    devices = g_list_append(devices, makeDevice("Test Speakers \"A\""));
    devices = g_list_append(devices, makeDevice("test speakers \"a\""));
    return devices;
}

void test_provider_class_init(TestProviderClass *klass)
{
    GstDeviceProviderClass *provider = GST_DEVICE_PROVIDER_CLASS(klass);
    provider->probe = probe;
    gst_device_provider_class_set_static_metadata(provider, "Test outputs", "Sink/Audio",
                                                  "Audio outputs of the tests", "Orbisong");
}

void test_provider_init(TestProvider *)
{
}

gboolean registerProvider(GstPlugin *plugin)
{
    return gst_device_provider_register(plugin, "orbisongtestoutputs", GST_RANK_PRIMARY,
                                        test_provider_get_type());
}

} // namespace

TEST(AudioOutputs, TheMonitorsOutputsAreListedOnceAndPlayWhenChosen)
{
    QTemporaryDir dir;
    s_outputFile = dir.filePath(QStringLiteral("out.raw")).toUtf8();
    ASSERT_TRUE(gst_init_check(nullptr, nullptr, nullptr));
    ASSERT_TRUE(gst_plugin_register_static(
        GST_VERSION_MAJOR, GST_VERSION_MINOR, "orbisongtestoutputs", "Test outputs",
        registerProvider, "1.0", "LGPL", "tests", "orbisong", "https://orbisong.invalid"));

    const QList<AudioOutput> outputs = ListAudioOutputs();
    const int chosen = ChooseAudioOutput(outputs, QStringLiteral("TEST SPEAKERS \"A\""));
    ASSERT_GE(chosen, 0);
    int named = 0;
    for (const AudioOutput &output : outputs) {
        EXPECT_FALSE(output.sink.isEmpty()) << output.name.toStdString();
        named +=
            output.name.compare(QStringLiteral("Test Speakers \"A\""), Qt::CaseInsensitive) == 0;
    }
    EXPECT_EQ(named, 1);
    EXPECT_EQ(outputs.at(chosen).sink,
              QStringLiteral("filesink location=\"%1\"").arg(QString::fromUtf8(s_outputFile)));
    EXPECT_EQ(ChooseAudioOutput(outputs, QStringLiteral("Unplugged")), -1);
    EXPECT_EQ(ChooseAudioOutput(outputs, QString()), -1);

    // Playback goes to the chosen output.
    qunsetenv("ORBISONG_AUDIO_SINK");
    AudioPipeline::setChosenSink(outputs.at(chosen).sink);
    AudioPipeline pipeline;
    QString error;
    ASSERT_TRUE(pipeline.start(
        0, 75,
        [](int, char *buffer, int frames) {
            std::fill(buffer, buffer + frames * AudioPipeline::BytesPerFrame, '\0');
            return frames;
        },
        &error))
        << error.toStdString();
    QDeadlineTimer deadline(30000);
    while (pipeline.isPlaying() && !deadline.hasExpired())
        QThread::msleep(20);
    pipeline.stop();
    AudioPipeline::setChosenSink({});
    EXPECT_EQ(QFileInfo(QString::fromUtf8(s_outputFile)).size(), 75 * AudioPipeline::BytesPerFrame);
}
