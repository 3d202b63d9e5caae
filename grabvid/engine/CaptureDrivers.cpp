#include "CaptureDrivers.h"

#include "GstSupport.h"

namespace Orbisong {

namespace {

QString structureString(const GstStructure *properties, const char *field)
{
    const gchar *value = properties ? gst_structure_get_string(properties, field) : nullptr;
    return value ? QString::fromUtf8(value) : QString();
}

QString deviceVersion(const GstStructure *properties)
{
    const QString driver = structureString(properties, "v4l2.device.driver");
    guint version = 0;
    if (properties && gst_structure_get_uint(properties, "v4l2.device.version", &version)) {
        return QStringLiteral("%1 %2.%3.%4")
            .arg(driver)
            .arg(version >> 16)
            .arg((version >> 8) & 0xff)
            .arg(version & 0xff)
            .trimmed();
    }
    return driver.isEmpty() ? QStringLiteral("unknown version") : driver;
}

QList<CaptureDriverInfo> videoDevices(int limit)
{
    QList<CaptureDriverInfo> drivers;
    GstDeviceMonitor *monitor = gst_device_monitor_new();
    gst_device_monitor_add_filter(monitor, "Video/Source", nullptr);
    if (!gst_device_monitor_start(monitor)) {
        gst_object_unref(monitor);
        return drivers;
    }
    GList *devices = gst_device_monitor_get_devices(monitor);
    for (GList *item = devices; item; item = item->next) {
        GstDevice *device = GST_DEVICE(item->data);
        GstStructure *properties = gst_device_get_properties(device);
        QString path = structureString(properties, "device.path");
        if (path.isEmpty())
            path = structureString(properties, "api.v4l2.path");
        if (!path.isEmpty() && drivers.size() < limit) {
            CaptureDriverInfo driver;
            driver.kind = CaptureDriverInfo::Device;
            gchar *name = gst_device_get_display_name(device);
            driver.name = QString::fromUtf8(name).left(80);
            g_free(name);
            driver.version = deviceVersion(properties).left(100);
            driver.devicePath = path;
            if (GstCaps *caps = gst_device_get_caps(device)) {
                gchar *text = gst_caps_to_string(caps);
                driver.caps = QString::fromUtf8(text);
                g_free(text);
                gst_caps_unref(caps);
            }
            drivers.append(driver);
        }
        if (properties)
            gst_structure_free(properties);
    }
    g_list_free_full(devices, gst_object_unref);
    gst_device_monitor_stop(monitor);
    gst_object_unref(monitor);
    return drivers;
}

} // namespace

CaptureDriverInfo testSourceDriver()
{
    CaptureDriverInfo driver;
    driver.kind = CaptureDriverInfo::TestSource;
    driver.name = QStringLiteral("Grabvid Test Source");
    driver.version = QStringLiteral("Version %1.%2").arg(GST_VERSION_MAJOR).arg(GST_VERSION_MINOR);
    return driver;
}

QList<CaptureDriverInfo> enumerateCaptureDrivers(bool withTestSource)
{
    ensureGstInitialised();
    QList<CaptureDriverInfo> drivers =
        videoDevices(withTestSource ? MaxCaptureDrivers - 1 : MaxCaptureDrivers);
    if (withTestSource)
        drivers.append(testSourceDriver());
    return drivers;
}

bool audioHardwarePresent()
{
    ensureGstInitialised();
    GstDeviceMonitor *monitor = gst_device_monitor_new();
    gst_device_monitor_add_filter(monitor, "Audio/Source", nullptr);
    bool found = false;
    if (gst_device_monitor_start(monitor)) {
        GList *devices = gst_device_monitor_get_devices(monitor);
        found = devices != nullptr;
        g_list_free_full(devices, gst_object_unref);
        gst_device_monitor_stop(monitor);
    }
    gst_object_unref(monitor);
    return found;
}

} // namespace Orbisong
