#pragma once

#include <QImage>
#include <QString>

#include <gst/gst.h>

namespace Orbisong {

// Initialises GStreamer once per process.
void ensureGstInitialised();

// The picture of a sample in 32-bit BGRx, as a deep copy; null for other formats.
QImage imageFromSample(GstSample *sample);

// Text of an error or warning message on a pipeline's bus.
QString busMessageText(GstMessage *message);

// Owns a pipeline: stops it and drops the reference when it goes.
class PipelineHolder
{
public:
    PipelineHolder() = default;
    explicit PipelineHolder(GstElement *pipeline) : m_pipeline(pipeline) {}
    ~PipelineHolder() { reset(); }
    PipelineHolder(const PipelineHolder &) = delete;
    PipelineHolder &operator=(const PipelineHolder &) = delete;

    GstElement *get() const { return m_pipeline; }
    explicit operator bool() const { return m_pipeline != nullptr; }
    void reset(GstElement *pipeline = nullptr);
    // A named element of the pipeline, unreferenced (the pipeline keeps it alive).
    GstElement *element(const char *name) const;

private:
    GstElement *m_pipeline = nullptr;
};

} // namespace Orbisong
