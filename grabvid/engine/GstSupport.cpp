#include "GstSupport.h"

#include <gst/video/video.h>

namespace Orbisong {

void ensureGstInitialised()
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
}

QImage imageFromSample(GstSample *sample)
{
    if (!sample)
        return {};
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) ||
        GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_BGRx)
        return {};
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ))
        return {};
    const QImage view(map.data, GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info),
                      GST_VIDEO_INFO_PLANE_STRIDE(&info, 0), QImage::Format_RGB32);
    QImage image = view.copy();
    gst_buffer_unmap(buffer, &map);
    return image;
}

QString busMessageText(GstMessage *message)
{
    GError *error = nullptr;
    gchar *debug = nullptr;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
        gst_message_parse_error(message, &error, &debug);
    else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_WARNING)
        gst_message_parse_warning(message, &error, &debug);
    const QString text = error ? QString::fromUtf8(error->message) : QString();
    if (error)
        g_error_free(error);
    g_free(debug);
    return text;
}

void PipelineHolder::reset(GstElement *pipeline)
{
    if (m_pipeline) {
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
        gst_object_unref(m_pipeline);
    }
    m_pipeline = pipeline;
}

GstElement *PipelineHolder::element(const char *name) const
{
    if (!m_pipeline)
        return nullptr;
    GstElement *found = gst_bin_get_by_name(GST_BIN(m_pipeline), name);
    if (found)
        gst_object_unref(found);
    return found;
}

} // namespace Orbisong
