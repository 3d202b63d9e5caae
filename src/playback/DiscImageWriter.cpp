#include "playback/DiscImageWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace Orbisong {

namespace {

constexpr int SectorBytes = 2352;
constexpr int Pregap = 150;

QString msf(int frames)
{
    return QStringLiteral("%1:%2:%3")
        .arg(frames / 4500, 2, 10, QLatin1Char('0'))
        .arg(frames / 75 % 60, 2, 10, QLatin1Char('0'))
        .arg(frames % 75, 2, 10, QLatin1Char('0'));
}

// A raw mode-1 sector: sync pattern, address header and an empty user area.
QByteArray dataSector(int lba)
{
    QByteArray sector(SectorBytes, '\0');
    for (int i = 1; i <= 10; ++i)
        sector[i] = char(0xFF);
    auto bcd = [](int v) { return char(((v / 10) << 4) | (v % 10)); };
    sector[12] = bcd(lba / 4500);
    sector[13] = bcd(lba / 75 % 60);
    sector[14] = bcd(lba % 75);
    sector[15] = 1;
    return sector;
}

} // namespace

void DiscImageWriter::addAudioTrack(const QByteArray &pcm)
{
    Track track;
    track.pcm = pcm;
    track.frames = int((pcm.size() + SectorBytes - 1) / SectorBytes);
    track.pcm.resize(qsizetype(track.frames) * SectorBytes, '\0');
    m_tracks.append(track);
}

void DiscImageWriter::addSilentTrack(int frames)
{
    addAudioTrack(QByteArray(qsizetype(frames) * SectorBytes, '\0'));
}

void DiscImageWriter::addDataTrack(int frames)
{
    Track track;
    track.audio = false;
    track.frames = frames;
    m_tracks.append(track);
}

QList<int> DiscImageWriter::trackStarts() const
{
    QList<int> starts;
    int frame = Pregap;
    for (const Track &track : m_tracks) {
        starts.append(frame);
        frame += track.frames;
    }
    return starts;
}

int DiscImageWriter::leadOut() const
{
    int frame = Pregap;
    for (const Track &track : m_tracks)
        frame += track.frames;
    return frame;
}

void DiscImageWriter::setCdText(const QString &performer, const QString &title,
                                const QStringList &trackTitles)
{
    m_performer = performer;
    m_title = title;
    m_trackTitles = trackTitles;
}

namespace {

QString cdTextLine(const QString &indent, const char *key, const QString &value)
{
    if (value.isEmpty())
        return {};
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1Char('\''));
    return QStringLiteral("%1%2 \"%3\"\r\n").arg(indent, QLatin1String(key), quoted);
}

} // namespace

bool DiscImageWriter::write(const QString &cuePath, QString *error) const
{
    const QFileInfo cueInfo(cuePath);
    const QString binName = cueInfo.completeBaseName() + QStringLiteral(".bin");
    QSaveFile bin(cueInfo.dir().filePath(binName));
    if (!bin.open(QIODevice::WriteOnly)) {
        if (error)
            *error = bin.errorString();
        return false;
    }
    QString cue =
        cdTextLine(QString(), "PERFORMER", m_performer) + cdTextLine(QString(), "TITLE", m_title);
    cue += QStringLiteral("FILE \"%1\" BINARY\r\n").arg(binName);
    int offset = 0;
    for (int i = 0; i < m_tracks.size(); ++i) {
        const Track &track = m_tracks.at(i);
        cue += QStringLiteral("  TRACK %1 %2\r\n")
                   .arg(i + 1, 2, 10, QLatin1Char('0'))
                   .arg(track.audio ? QStringLiteral("AUDIO") : QStringLiteral("MODE1/2352"));
        cue += cdTextLine(QStringLiteral("    "), "TITLE", m_trackTitles.value(i));
        cue += QStringLiteral("    INDEX 01 %1\r\n").arg(msf(offset));
        if (track.audio) {
            bin.write(track.pcm);
        } else {
            for (int s = 0; s < track.frames; ++s)
                bin.write(dataSector(Pregap + offset + s));
        }
        offset += track.frames;
    }
    QSaveFile cueFile(cuePath);
    if (!cueFile.open(QIODevice::WriteOnly) || cueFile.write(cue.toUtf8()) < 0 || !bin.commit() ||
        !cueFile.commit()) {
        if (error)
            *error = bin.errorString().isEmpty() ? cueFile.errorString() : bin.errorString();
        return false;
    }
    return true;
}

} // namespace Orbisong
