#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace Orbisong {

// Writes CUE/BIN disc images: one BIN file of raw 2352-byte sectors and the CUE sheet that
// describes its tracks. Used for the demo disc and by tests that need a disc.
class DiscImageWriter
{
public:
    // Adds an audio track; `pcm` is 16-bit little-endian stereo at 44.1 kHz, padded with
    // silence to whole frames.
    void addAudioTrack(const QByteArray &pcm);
    // Adds an audio track of `frames` frames of silence.
    void addSilentTrack(int frames);
    // Adds a mode-1 data track of `frames` sectors.
    void addDataTrack(int frames);

    // Album and track titles written as TITLE and PERFORMER lines, which readers of the sheet
    // take as the disc's CD-Text; `trackTitles` follow the tracks in order.
    void setCdText(const QString &performer, const QString &title, const QStringList &trackTitles);

    // Writes `cuePath` and the BIN beside it (same name, ".bin"); false with a reason on failure.
    bool write(const QString &cuePath, QString *error = nullptr) const;

    // Absolute start frames of the tracks and the lead-out, as a drive reports them.
    QList<int> trackStarts() const;
    int leadOut() const;

private:
    struct Track
    {
        bool audio = true;
        QByteArray pcm;
        int frames = 0;
    };
    QList<Track> m_tracks;
    QString m_performer;
    QString m_title;
    QStringList m_trackTitles;
};

} // namespace Orbisong
