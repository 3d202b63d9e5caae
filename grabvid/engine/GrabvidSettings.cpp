#include "GrabvidSettings.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace Orbisong {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; unassigned codes stay as they are.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool parseNumber(const QString &text, int minimum, int maximum, int &value)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok || number < minimum || number > maximum)
        return false;
    value = number;
    return true;
}

} // namespace

QString decodeStoredText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    text.clear();
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(byte >= 0x80 && byte < 0xA0 ? QChar(Cp1252High[byte - 0x80]) : QChar(byte));
    }
    return text;
}

QString GrabvidSettings::fileName()
{
    return QStringLiteral("Grabvid.ini");
}

GrabvidSettings GrabvidSettings::defaults(const QString &folder)
{
    GrabvidSettings settings;
    settings.captureFile = QDir(folder).absoluteFilePath(QStringLiteral("capture.avi"));
    settings.pictureBase = QDir(folder).absoluteFilePath(QStringLiteral("picture"));
    return settings;
}

QByteArray GrabvidSettings::serialize() const
{
    const QStringList lines = {
        QStringLiteral("[FPS]"),        QString::number(fps),
        QStringLiteral("[AUDIO]"),      captureAudio ? QStringLiteral("Y") : QStringLiteral("N"),
        QStringLiteral("[BITS]"),       QString::number(bitsPerSample),
        QStringLiteral("[FREQ]"),       QString::number(samplesPerSec),
        QStringLiteral("[CHANNELS]"),   QString::number(channels),
        QStringLiteral("[CAP FILE]"),   captureFile,
        QStringLiteral("[PIC FILE]"),   pictureBase,
        QString::number(pictureCounter)};
    QByteArray text;
    for (const QString &line : lines)
        text += line.toUtf8() + "\r\n";
    return text;
}

std::optional<GrabvidSettings> GrabvidSettings::parse(const QByteArray &bytes)
{
    QStringList lines = decodeStoredText(bytes).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() != 15)
        return std::nullopt;
    const QStringList labels = {QStringLiteral("[FPS]"),      QStringLiteral("[AUDIO]"),
                                QStringLiteral("[BITS]"),     QStringLiteral("[FREQ]"),
                                QStringLiteral("[CHANNELS]"), QStringLiteral("[CAP FILE]"),
                                QStringLiteral("[PIC FILE]")};
    for (int i = 0; i < labels.size(); ++i) {
        if (lines.at(2 * i) != labels.at(i))
            return std::nullopt;
    }
    GrabvidSettings settings;
    const QString audio = lines.at(3).trimmed();
    if (audio != QLatin1String("Y") && audio != QLatin1String("N"))
        return std::nullopt;
    settings.captureAudio = audio == QLatin1String("Y");
    if (!parseNumber(lines.at(1), 1, 1000, settings.fps) ||
        !parseNumber(lines.at(5), 8, 16, settings.bitsPerSample) ||
        (settings.bitsPerSample != 8 && settings.bitsPerSample != 16) ||
        !parseNumber(lines.at(7), 1000, 96000, settings.samplesPerSec) ||
        !parseNumber(lines.at(9), 1, 2, settings.channels) ||
        !parseNumber(lines.at(14), 0, INT_MAX, settings.pictureCounter))
        return std::nullopt;
    settings.captureFile = lines.at(11);
    settings.pictureBase = lines.at(13);
    if (settings.captureFile.isEmpty())
        return std::nullopt;
    return settings;
}

bool GrabvidSettings::save(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(serialize());
    return file.commit();
}

GrabvidSettings GrabvidSettings::load(const QString &path, const GrabvidSettings &fallback)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fallback;
    return parse(file.readAll()).value_or(fallback);
}

} // namespace Orbisong
