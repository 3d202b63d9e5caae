#include "playback/ImageProbe.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <sys/resource.h>

namespace Orbisong {

ImageProbe::ImageProbe()
{
    m_program = qEnvironmentVariable("ORBISONG_IMAGE_PROBE");
    if (m_program.isEmpty() && QCoreApplication::instance()) {
        m_program = QDir(QCoreApplication::applicationDirPath())
                        .filePath(QStringLiteral("orbisong-image-probe"));
    }
}

std::optional<ImageProbeReport> ImageProbe::probe(const QString &image, QString *error) const
{
    if (m_program.isEmpty() || !QFileInfo(m_program).isExecutable()) {
        *error = QStringLiteral("the image checker %1 is missing")
                     .arg(m_program.isEmpty() ? QStringLiteral("orbisong-image-probe") : m_program);
        return std::nullopt;
    }
    const QFileInfo file(image);
    QProcess child;
    // A cdrdao TOC names its data files relative to the TOC's own folder.
    child.setWorkingDirectory(file.absolutePath());
    child.setProcessChannelMode(QProcess::SeparateChannels);
    const rlim_t memory = rlim_t(m_memoryLimit);
    child.setChildProcessModifier([memory] {
        const rlimit limit{memory, memory};
        setrlimit(RLIMIT_AS, &limit);
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
    });
    child.start(m_program, {file.absoluteFilePath()});
    if (!child.waitForStarted()) {
        *error = QStringLiteral("the image checker cannot be started: %1").arg(child.errorString());
        return std::nullopt;
    }
    if (!child.waitForFinished(m_timeLimitMs)) {
        child.kill();
        child.waitForFinished(-1);
        *error =
            QStringLiteral("reading it took longer than %1 seconds").arg(m_timeLimitMs / 1000.0);
        return std::nullopt;
    }
    if (child.exitStatus() == QProcess::CrashExit) {
        *error = QStringLiteral("reading it crashed the image checker");
        return std::nullopt;
    }
    if (child.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(child.readAllStandardError()).trimmed();
        *error = said.isEmpty() ? QStringLiteral("the image checker refused it") : said;
        return std::nullopt;
    }
    return ImageProbeReport::parse(child.readAllStandardOutput(), error);
}

} // namespace Orbisong
