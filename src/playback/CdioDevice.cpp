#include "playback/CdioDevice.h"

#include "collection/DiscId.h"
#include "playback/ImageProbe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <cstring>
#include <utility>

Q_LOGGING_CATEGORY(lcCdio, "orbisong.playback.cdio")

namespace Orbisong {

namespace {

// libcdio writes its warnings to stderr unless told otherwise; they belong in our log.
void logHandler(cdio_log_level_t level, const char *message)
{
    if (level >= CDIO_LOG_WARN)
        qCInfo(lcCdio) << message;
    else
        qCDebug(lcCdio) << message;
}

void routeCdioLog()
{
    static const bool routed = [] {
        cdio_log_set_handler(logHandler);
        return true;
    }();
    Q_UNUSED(routed);
}

driver_id_t imageDriver(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("cue"))
        return DRIVER_BINCUE;
    if (suffix == QLatin1String("toc"))
        return DRIVER_CDRDAO;
    if (suffix == QLatin1String("nrg"))
        return DRIVER_NRG;
    return DRIVER_UNKNOWN;
}

// The sheet of an image places its tracks; libcdio ends the last one where the data file
// ends. A track that starts at or past that end means the data file is shorter than the sheet
// says. Empty when every track has data; else the first track that has none.
QString imageShortfall(CdIo_t *cdio)
{
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0)
        return {};
    const lba_t leadOut = cdio_get_track_lba(cdio, CDIO_CDROM_LEADOUT_TRACK);
    for (track_t t = first; t < first + count; ++t) {
        const lba_t start = cdio_get_track_lba(cdio, t);
        if (start >= leadOut) {
            return QStringLiteral("its data ends at frame %1 but track %2 starts at frame %3")
                .arg(leadOut)
                .arg(t)
                .arg(start);
        }
    }
    return {};
}

} // namespace

CdioDevice::CdioDevice(const QString &source, const QString &audioSink)
    : m_source(source), m_image(isImagePath(source)), m_pipeline(audioSink)
{
    routeCdioLog();
    if (openSource())
        readToc();
    m_stoppedAt = m_starts.value(0, 0);
    m_lastProbe.start();
}

CdioDevice::~CdioDevice()
{
    m_pipeline.stop();
    closeSource();
}

bool CdioDevice::isImagePath(const QString &path)
{
    return imageDriver(path) != DRIVER_UNKNOWN;
}

bool CdioDevice::openSource()
{
    const QByteArray path =
        (m_image ? QFileInfo(m_source).absoluteFilePath() : m_source).toLocal8Bit();
    // libcdio looks for the data files of a cdrdao TOC in the working folder rather than
    // beside the TOC, so the TOC's folder is made current while it is read.
    const bool cdrdao = imageDriver(m_source) == DRIVER_CDRDAO;
    // libcdio can crash or hang on a damaged image, so another process reads it first.
    QString damage;
    if (m_image && !ImageProbe().probe(m_source, &damage)) {
        m_openError = QStringLiteral("The image %1 is damaged: %2.")
                          .arg(QFileInfo(m_source).fileName(), damage);
        m_openErrorCode = ErrorImageDamaged;
        return false;
    }
    const QString previous = QDir::currentPath();
    if (cdrdao)
        QDir::setCurrent(QFileInfo(m_source).absolutePath());
    m_cdio = cdio_open(path.constData(), m_image ? imageDriver(m_source) : DRIVER_DEVICE);
    if (cdrdao)
        QDir::setCurrent(previous);
    if (!m_cdio) {
        m_openError = QStringLiteral("cannot open %1").arg(m_source);
        m_openErrorCode = ErrorHardware;
        return false;
    }
    const QString shortfall = m_image ? imageShortfall(m_cdio) : QString();
    if (!shortfall.isEmpty()) {
        cdio_destroy(m_cdio);
        m_cdio = nullptr;
        m_openError = QStringLiteral("The image %1 is shorter than its sheet says: %2.")
                          .arg(QFileInfo(m_source).fileName(), shortfall);
        m_openErrorCode = ErrorImageTruncated;
        return false;
    }
    m_openError.clear();
    m_openErrorCode = NoError;
    // cdrdao keeps raw audio files in big-endian order unless a file is marked SWAP or is a
    // WAVE file; CUE/BIN and NRG images hold the disc's own little-endian samples.
    if (imageDriver(m_source) == DRIVER_CDRDAO) {
        QFile toc(m_source);
        const QByteArray text =
            toc.open(QIODevice::ReadOnly) ? toc.readAll().toUpper() : QByteArray();
        m_bigEndianAudio = !text.contains("SWAP") && !text.contains(".WAV\"");
    }
    return true;
}

void CdioDevice::closeSource()
{
    releaseParanoia();
    if (m_cdio)
        cdio_destroy(m_cdio);
    m_cdio = nullptr;
}

void CdioDevice::releaseParanoia()
{
    if (m_paranoia)
        cdio_paranoia_free(m_paranoia);
    if (m_drive)
        cdio_cddap_close_no_free_cdio(m_drive);
    m_paranoia = nullptr;
    m_drive = nullptr;
    m_paranoiaNext = -1;
}

bool CdioDevice::isOpen(QString *error) const
{
    if (error)
        *error = m_openError;
    return m_cdio != nullptr;
}

void CdioDevice::readToc()
{
    m_starts.clear();
    m_audio.clear();
    m_leadOut = 0;
    if (!m_cdio)
        return;
    const track_t first = cdio_get_first_track_num(m_cdio);
    const track_t count = cdio_get_num_tracks(m_cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0)
        return;
    for (track_t t = first; t < first + count && m_starts.size() < 99; ++t) {
        m_starts.append(int(cdio_get_track_lba(m_cdio, t)));
        m_audio.append(cdio_get_track_format(m_cdio, t) == TRACK_FORMAT_AUDIO);
    }
    m_leadOut = int(cdio_get_track_lba(m_cdio, CDIO_CDROM_LEADOUT_TRACK));
}

// A real drive's disc can change under us; an image changes only through the door.
bool CdioDevice::refreshMedia()
{
    if (m_image)
        return m_cdio && !m_doorOpen && !m_starts.isEmpty();
    bool changed = false;
    {
        std::lock_guard lock(m_ioMutex);
        const int report = m_cdio ? cdio_get_media_changed(m_cdio) : 1;
        // A drive that cannot report changes is probed again now and then while empty;
        // reopening an empty drive on every status read would keep it spinning up.
        changed = report == 1 || (report < 0 && m_starts.isEmpty() &&
                                  (!m_lastProbe.isValid() || m_lastProbe.elapsed() > 2000));
    }
    if (!changed)
        return !m_starts.isEmpty();
    m_lastProbe.start();
    // The reader thread takes the lock too, so playback ends before the drive is reopened.
    m_pipeline.stop();
    std::lock_guard lock(m_ioMutex);
    closeSource();
    if (openSource())
        readToc();
    m_heard = false;
    m_stoppedAt = m_starts.value(0, 0);
    return !m_starts.isEmpty();
}

int CdioDevice::mediaPresent(bool *present)
{
    *present = refreshMedia();
    return NoError;
}

int CdioDevice::trackCount(int *count)
{
    if (!refreshMedia())
        return ErrorMediaNotPresent;
    *count = int(m_starts.size());
    return NoError;
}

int CdioDevice::trackStart(int track, int *frames)
{
    if (!refreshMedia())
        return ErrorMediaNotPresent;
    return startInTable(m_starts, m_leadOut, track, frames);
}

int CdioDevice::trackLength(int track, int *frames)
{
    if (!refreshMedia())
        return ErrorMediaNotPresent;
    return lengthInTable(m_starts, m_leadOut, track, frames);
}

int CdioDevice::position(int *frames)
{
    if (!refreshMedia())
        return ErrorMediaNotPresent;
    *frames = m_heard ? m_pipeline.position() : m_stoppedAt;
    return NoError;
}

int CdioDevice::mode(int *mode)
{
    if (m_doorOpen) {
        *mode = ModeOpen;
        return NoError;
    }
    if (!refreshMedia()) {
        *mode = ModeNotReady;
        return NoError;
    }
    *mode = m_pipeline.isPlaying() ? ModePlay : ModeStop;
    return NoError;
}

// Playback runs on through the audio tracks and stops before a data track or at the lead-out.
int CdioDevice::playEnd(int from) const
{
    for (int i = 0; i < m_starts.size(); ++i) {
        if (m_starts.at(i) > from && !m_audio.at(i))
            return m_starts.at(i);
    }
    return m_leadOut;
}

int CdioDevice::play(int from)
{
    if (!refreshMedia())
        return ErrorMediaNotPresent;
    if (from < m_starts.first() || from >= m_leadOut)
        return ErrorOutOfRange;
    // A data track read as audio is loud noise; a drive refuses to play one.
    for (int i = int(m_starts.size()) - 1; i >= 0; --i) {
        if (m_starts.at(i) <= from) {
            if (!m_audio.at(i))
                return ErrorUnsupportedFunction;
            break;
        }
    }
    m_pipeline.stop();
    m_stoppedAt = from;
    m_heard = false;
    QString error;
    const bool started = m_pipeline.start(
        from, playEnd(from),
        [this](int frame, char *buffer, int frames) { return readAudio(frame, buffer, frames); },
        &error);
    if (!started) {
        qCWarning(lcCdio) << "cannot play" << m_source << ":" << error;
        return ErrorNoAudioOutput;
    }
    m_heard = true;
    m_pipeline.setVolume(m_volume / 65535.0);
    return NoError;
}

int CdioDevice::stop()
{
    if (!refreshMedia())
        return ErrorMediaNotPresent;
    m_pipeline.stop();
    return NoError;
}

int CdioDevice::openDoor()
{
    m_pipeline.stop();
    m_heard = false;
    if (m_image) {
        m_doorOpen = true;
        return NoError;
    }
    std::lock_guard lock(m_ioMutex);
    releaseParanoia();
    const driver_return_code_t result = cdio_eject_media(&m_cdio);
    m_cdio = nullptr;
    m_starts.clear();
    m_doorOpen = result == DRIVER_OP_SUCCESS;
    return result == DRIVER_OP_SUCCESS ? NoError : ErrorHardware;
}

int CdioDevice::closeDoor()
{
    if (m_image) {
        m_doorOpen = false;
        m_heard = false;
        m_stoppedAt = m_starts.value(0, 0);
        return NoError;
    }
    const QByteArray path = m_source.toLocal8Bit();
    driver_id_t driver = DRIVER_DEVICE;
    const driver_return_code_t result = cdio_close_tray(path.constData(), &driver);
    m_doorOpen = false;
    return result == DRIVER_OP_SUCCESS ? NoError : ErrorHardware;
}

int CdioDevice::trackType(int track, int *type)
{
    if (!refreshMedia())
        return ErrorMediaNotPresent;
    if (track < 1 || track > m_starts.size())
        return ErrorOutOfRange;
    *type = m_audio.at(track - 1) ? TrackAudio : TrackOther;
    return NoError;
}

int CdioDevice::mediaIdentity(QString *identity)
{
    if (!refreshMedia())
        return ErrorMediaNotPresent;
    *identity = QString::number(CddbDiscId(m_starts, m_leadOut));
    return NoError;
}

QString CdioDevice::volumeLabel()
{
    if (!refreshMedia())
        return {};
    return m_audio.value(0) ? QStringLiteral("Audio CD") : QString();
}

void CdioDevice::setVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 65535);
    m_pipeline.setVolume(m_volume / 65535.0);
}

int CdioDevice::readAudio(int frame, char *buffer, int frames)
{
    std::lock_guard lock(m_ioMutex);
    if (!m_cdio)
        return -1;
    const lsn_t lsn = frame - CDIO_PREGAP_SECTORS;
    if (m_image) {
        if (cdio_read_audio_sectors(m_cdio, buffer, lsn, unsigned(frames)) != DRIVER_OP_SUCCESS)
            return -1;
        if (m_bigEndianAudio) {
            for (qsizetype i = 0; i + 1 < qsizetype(frames) * AudioPipeline::BytesPerFrame; i += 2)
                std::swap(buffer[i], buffer[i + 1]);
        }
        return frames;
    }
    // Real drives go through paranoia, which corrects jitter and retries scratched sectors.
    if (!m_paranoia) {
        m_drive = cdio_cddap_identify_cdio(m_cdio, CDDA_MESSAGE_FORGETIT, nullptr);
        if (!m_drive || cdio_cddap_open(m_drive) != 0) {
            releaseParanoia();
            return -1;
        }
        m_paranoia = cdio_paranoia_init(m_drive);
        cdio_paranoia_modeset(m_paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    }
    if (m_paranoiaNext != frame)
        cdio_paranoia_seek(m_paranoia, lsn, SEEK_SET);
    for (int i = 0; i < frames; ++i) {
        const int16_t *sector = cdio_paranoia_read(m_paranoia, nullptr);
        if (!sector)
            return i > 0 ? i : -1;
        std::memcpy(buffer + i * AudioPipeline::BytesPerFrame, sector,
                    AudioPipeline::BytesPerFrame);
    }
    m_paranoiaNext = frame + frames;
    return frames;
}

} // namespace Orbisong
