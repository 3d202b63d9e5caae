#pragma once

#include "playback/AudioPipeline.h"
#include "playback/CdDevice.h"

#include <QElapsedTimer>
#include <QList>

#include <memory>
#include <mutex>

typedef struct _CdIo CdIo_t;
typedef struct cdrom_drive_s cdrom_drive_t;
typedef struct cdrom_paranoia_s cdrom_paranoia_t;

namespace Orbisong {

// A real CD drive or a disc image (CUE/BIN, cdrdao TOC, NRG) read with libcdio. Playback is
// digital: the audio sectors are extracted (through paranoia on real drives) and played by an
// AudioPipeline. A disc image behaves as a drive whose door can be opened and closed.
class CdioDevice : public CdDevice
{
public:
    // `source` is a drive's device path or an image file; `audioSink` as for AudioPipeline.
    explicit CdioDevice(const QString &source, const QString &audioSink = {});
    ~CdioDevice() override;

    // False when libcdio cannot open the source at all; `error` says why.
    bool isOpen(QString *error = nullptr) const;
    // Why the last open failed: ErrorHardware, ErrorImageTruncated for an image whose data
    // file is shorter than its sheet, or ErrorImageDamaged for an image the probe could not
    // read; NoError after a successful open.
    int openErrorCode() const { return m_openErrorCode; }
    QString source() const { return m_source; }
    bool isImage() const { return m_image; }

    int mediaPresent(bool *present) override;
    int trackCount(int *count) override;
    int trackStart(int track, int *frames) override;
    int trackLength(int track, int *frames) override;
    int position(int *frames) override;
    int mode(int *mode) override;
    int play(int from) override;
    int stop() override;
    int openDoor() override;
    int closeDoor() override;
    int trackType(int track, int *type) override;
    int mediaIdentity(QString *identity) override;
    QString volumeLabel() override;
    void setVolume(int volume) override;
    int volume() const override { return m_volume; }

    // Reads `frames` audio frames from `frame` on into `buffer` (2352 bytes a frame).
    int readAudio(int frame, char *buffer, int frames);

    static bool isImagePath(const QString &path);

private:
    bool openSource();
    void closeSource();
    void readToc();
    bool refreshMedia();
    int playEnd(int from) const;
    void releaseParanoia();

    QString m_source;
    bool m_image = false;
    QString m_openError;
    int m_openErrorCode = NoError;
    CdIo_t *m_cdio = nullptr;
    cdrom_drive_t *m_drive = nullptr;
    cdrom_paranoia_t *m_paranoia = nullptr;
    int m_paranoiaNext = -1;
    std::mutex m_ioMutex; // the reader runs on the pipeline's streaming thread
    bool m_doorOpen = false;
    bool m_bigEndianAudio = false;
    QList<int> m_starts;
    QList<bool> m_audio;
    int m_leadOut = 0;
    AudioPipeline m_pipeline;
    int m_stoppedAt = 0;  // the position before anything was played
    bool m_heard = false; // the pipeline's last position counts
    QElapsedTimer m_lastProbe;
    int m_volume = 65535;
};

} // namespace Orbisong
