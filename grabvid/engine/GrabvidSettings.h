#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace Orbisong {

// The capture program's settings, kept in "Grabvid.ini" in the current folder: labels and
// values on lines of their own, in a fixed order, lines ending in CR LF.
struct GrabvidSettings
{
    int fps = 15;
    bool captureAudio = true;
    int bitsPerSample = 8;
    int samplesPerSec = 11025;
    int channels = 1;
    QString captureFile;
    QString pictureBase;
    int pictureCounter = 0;

    static QString fileName();
    static GrabvidSettings defaults(const QString &folder);

    QByteArray serialize() const;
    // nullopt when the text is short, out of order or holds values the program cannot use.
    static std::optional<GrabvidSettings> parse(const QByteArray &text);

    // Written whole to a temporary file and renamed, so a failed write keeps the old file.
    bool save(const QString &path) const;
    // The file's settings, or `fallback` when it is missing, short or garbled.
    static GrabvidSettings load(const QString &path, const GrabvidSettings &fallback);
};

// Bytes as UTF-8 when they are valid UTF-8, else as Windows-1252.
QString decodeStoredText(const QByteArray &bytes);

} // namespace Orbisong
