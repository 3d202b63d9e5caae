#include "RiffReader.h"

#include <QtEndian>

namespace {

quint32 u32(const QByteArray &data, qsizetype at)
{
    return at + 4 <= data.size() ? qFromLittleEndian<quint32>(data.constData() + at) : 0;
}

quint16 u16(const QByteArray &data, qsizetype at)
{
    return at + 2 <= data.size() ? qFromLittleEndian<quint16>(data.constData() + at) : 0;
}

// Walks the chunks between `begin` and `end`, descending into LIST chunks.
void walk(const QByteArray &data, qsizetype begin, qsizetype end, AviHeaders &headers,
          QByteArray &streamType)
{
    qsizetype at = begin;
    while (at + 8 <= end) {
        const QByteArray id = data.mid(at, 4);
        const qsizetype size = u32(data, at + 4);
        const qsizetype body = at + 8;
        if (id == "LIST" && data.mid(body, 4) != "movi") {
            walk(data, body + 4, qMin(end, body + size), headers, streamType);
        } else if (id == "avih") {
            headers.microSecPerFrame = u32(data, body);
            headers.totalFrames = u32(data, body + 16);
            headers.width = u32(data, body + 32);
            headers.height = u32(data, body + 36);
            headers.valid = true;
        } else if (id == "strh") {
            streamType = data.mid(body, 4);
        } else if (id == "strf" && streamType == "auds") {
            headers.hasAudio = true;
            headers.channels = u16(data, body + 2);
            headers.samplesPerSec = u32(data, body + 4);
            headers.avgBytesPerSec = u32(data, body + 8);
            headers.blockAlign = u16(data, body + 12);
            headers.bitsPerSample = u16(data, body + 14);
        }
        at = body + size + (size & 1);
    }
}

} // namespace

AviHeaders readAviHeaders(const QByteArray &file)
{
    AviHeaders headers;
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "AVI ")
        return headers;
    QByteArray streamType;
    walk(file, 12, file.size(), headers, streamType);
    return headers;
}
