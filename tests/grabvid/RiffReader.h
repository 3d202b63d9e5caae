#pragma once

#include <QByteArray>
#include <QList>

// Reads the header figures of an AVI file: the main header's frame period and the audio
// stream's format record.
struct AviHeaders
{
    bool valid = false;
    quint32 microSecPerFrame = 0;
    quint32 totalFrames = 0;
    quint32 width = 0;
    quint32 height = 0;
    bool hasAudio = false;
    quint16 channels = 0;
    quint32 samplesPerSec = 0;
    quint32 avgBytesPerSec = 0;
    quint16 blockAlign = 0;
    quint16 bitsPerSample = 0;
};

AviHeaders readAviHeaders(const QByteArray &file);
