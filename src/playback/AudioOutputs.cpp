#include "playback/AudioOutputs.h"

#include <QLoggingCategory>

#include <gst/gst.h>

Q_LOGGING_CATEGORY(lcOutputs, "orbisong.playback.outputs")

namespace Orbisong {

namespace {

QString quoted(const char *value)
{
    QString text = QString::fromUtf8(value);
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The element the device makes, written as a pipeline description: its factory and the text
// properties the device gave values other than their defaults (the device it plays to).
QString sinkDescription(GstDevice *device)
{
    GstElement *element = gst_device_create_element(device, nullptr);
    if (!element)
        return {};
    GstElementFactory *factory = gst_element_get_factory(element);
    QString description = factory ? QString::fromUtf8(GST_OBJECT_NAME(factory)) : QString();
    guint count = 0;
    GParamSpec **specs = g_object_class_list_properties(G_OBJECT_GET_CLASS(element), &count);
    for (guint i = 0; i < count && !description.isEmpty(); ++i) {
        GParamSpec *spec = specs[i];
        const bool settable = (spec->flags & G_PARAM_READWRITE) == G_PARAM_READWRITE &&
                              !(spec->flags & G_PARAM_CONSTRUCT_ONLY);
        if (!settable || spec->value_type != G_TYPE_STRING || g_str_equal(spec->name, "name"))
            continue;
        GValue value = G_VALUE_INIT;
        g_value_init(&value, G_TYPE_STRING);
        g_object_get_property(G_OBJECT(element), spec->name, &value);
        const char *text = g_value_get_string(&value);
        if (text && !g_param_value_defaults(spec, &value))
            description +=
                QLatin1Char(' ') + QString::fromUtf8(spec->name) + QLatin1Char('=') + quoted(text);
        g_value_unset(&value);
    }
    g_free(specs);
    gst_object_unref(element);
    return description;
}

} // namespace

QList<AudioOutput> ListAudioOutputs()
{
    QList<AudioOutput> outputs;
    GError *error = nullptr;
    if (!gst_init_check(nullptr, nullptr, &error)) {
        qCWarning(lcOutputs) << "GStreamer cannot start:" << (error ? error->message : "");
        g_clear_error(&error);
        return outputs;
    }
    GstDeviceMonitor *monitor = gst_device_monitor_new();
    gst_device_monitor_add_filter(monitor, "Audio/Sink", nullptr);
    GList *devices = gst_device_monitor_get_devices(monitor);
    for (GList *item = devices; item; item = item->next) {
        auto *device = GST_DEVICE(item->data);
        gchar *name = gst_device_get_display_name(device);
        AudioOutput output{QString::fromUtf8(name).trimmed(), sinkDescription(device)};
        g_free(name);
        const bool known = ChooseAudioOutput(outputs, output.name) >= 0;
        if (!output.name.isEmpty() && !output.sink.isEmpty() && !known)
            outputs.append(output);
    }
    g_list_free_full(devices, gst_object_unref);
    gst_object_unref(monitor);
    return outputs;
}

int ChooseAudioOutput(const QList<AudioOutput> &outputs, const QString &saved)
{
    for (int i = 0; i < outputs.size(); ++i) {
        if (!saved.isEmpty() && outputs.at(i).name.compare(saved, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace Orbisong
