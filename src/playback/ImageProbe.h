#pragma once

#include "playback/ImageProbeReport.h"

#include <QString>

#include <optional>

namespace Orbisong {

// Runs the disc-image probe (orbisong-image-probe, installed beside the programs) on an image
// in a child process with a time and a memory limit. libcdio crashes, hangs or asks for
// gigabytes on some damaged images; an image is opened in this process only after the probe
// read it cleanly.
class ImageProbe
{
public:
    ImageProbe();

    // The probe program: $ORBISONG_IMAGE_PROBE when set, else beside the running program.
    QString program() const { return m_program; }
    void setProgram(const QString &program) { m_program = program; }
    void setTimeLimit(int milliseconds) { m_timeLimitMs = milliseconds; }
    void setMemoryLimit(qint64 bytes) { m_memoryLimit = bytes; }

    // The image's checked table of contents; empty with `error` saying why the image cannot be
    // opened (the probe crashed, hung, ran out of memory, refused it or reported nonsense).
    std::optional<ImageProbeReport> probe(const QString &image, QString *error) const;

private:
    QString m_program;
    int m_timeLimitMs = 10000;
    qint64 m_memoryLimit = qint64(512) << 20;
};

} // namespace Orbisong
