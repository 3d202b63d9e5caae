#include "playback/DemoDisc.h"

#include "collection/DiscId.h"
#include "playback/DiscImageWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace Orbisong {

namespace {

constexpr int Rate = 44100;
constexpr double Pi = 3.14159265358979323846;

// One piece of the album: key, tempo, length and the seed of its melody.
struct Piece
{
    const char *title;
    int rootMidi; // key of the piece
    bool minor;
    double bpm;
    int seconds;
    std::uint32_t seed;
    int instrument; // 0 electric piano, 1 bell, 2 soft pluck
};

const Piece Pieces[] = {
    {"Morning Orbit", 60, false, 104, 24, 7, 0},    {"Glass Harbour", 57, true, 88, 31, 23, 1},
    {"Paper Lanterns", 62, false, 120, 27, 41, 2},  {"Slow Tide", 55, true, 76, 38, 97, 0},
    {"Homeward Lights", 64, false, 96, 43, 131, 1},
};

double midiToHz(double midi)
{
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

// A small deterministic generator so every machine makes the same album (and the same id).
struct Lcg
{
    std::uint32_t state;
    int next(int range)
    {
        state = state * 1664525u + 1013904223u;
        return int((state >> 16) % std::uint32_t(range));
    }
};

// Adds a note to the stereo mix: additive voice with a decaying envelope.
void addNote(std::vector<float> &left, std::vector<float> &right, double start, double length,
             double hz, double gain, int instrument, double pan)
{
    const std::size_t first = std::size_t(start * Rate);
    const std::size_t count = std::size_t((length + 0.6) * Rate);
    const double decay = instrument == 1 ? 2.2 : instrument == 2 ? 5.0 : 3.0;
    const double l = gain * std::cos(pan * Pi / 2);
    const double r = gain * std::sin(pan * Pi / 2);
    for (std::size_t i = 0; i < count && first + i < left.size(); ++i) {
        const double t = double(i) / Rate;
        const double attack = std::min(1.0, t / 0.008);
        const double release = t > length ? std::exp(-(t - length) * 12.0) : 1.0;
        const double env = attack * release * std::exp(-t * decay);
        const double phase = 2 * Pi * hz * t;
        double v = std::sin(phase) + 0.35 * std::sin(2 * phase) * std::exp(-t * 6.0);
        if (instrument == 1)
            v += 0.25 * std::sin(3.01 * phase) * std::exp(-t * 4.0);
        if (instrument == 2)
            v = std::sin(phase + 0.8 * std::sin(phase) * std::exp(-t * 8.0));
        left[first + i] += float(v * env * l);
        right[first + i] += float(v * env * r);
    }
}

void addPad(std::vector<float> &left, std::vector<float> &right, double start, double length,
            const int *chord, double gain)
{
    const std::size_t first = std::size_t(start * Rate);
    const std::size_t count = std::size_t(length * Rate);
    for (int n = 0; n < 3; ++n) {
        const double hz = midiToHz(chord[n]);
        for (std::size_t i = 0; i < count && first + i < left.size(); ++i) {
            const double t = double(i) / Rate;
            const double env = std::min(1.0, t / 0.4) * std::min(1.0, (length - t) / 0.4);
            left[first + i] += float(gain * env * std::sin(2 * Pi * hz * 0.999 * t));
            right[first + i] += float(gain * env * std::sin(2 * Pi * hz * 1.001 * t));
        }
    }
}

QByteArray renderPiece(const Piece &piece)
{
    const std::size_t samples = std::size_t(piece.seconds) * Rate;
    std::vector<float> left(samples), right(samples);
    static const int major[] = {0, 2, 4, 7, 9, 12, 14, 16};
    static const int minor[] = {0, 3, 5, 7, 10, 12, 15, 17};
    const int *scale = piece.minor ? minor : major;
    // I-vi-IV-V in major, i-VI-III-VII in minor: root offsets of each bar's chord.
    static const int majorRoots[] = {0, 9, 5, 7};
    static const int minorRoots[] = {0, 8, 3, 10};
    const int *roots = piece.minor ? minorRoots : majorRoots;

    const double beat = 60.0 / piece.bpm;
    const double bar = 4 * beat;
    Lcg random{piece.seed};
    int degree = 2;
    const double end = piece.seconds - 2.0;
    for (int b = 0; b * bar < end; ++b) {
        const double barStart = b * bar;
        const int root = piece.rootMidi + roots[b % 4];
        const bool minorChord = piece.minor ? (b % 4 == 0) : (b % 4 == 1);
        const int chord[3] = {root - 12, root - 12 + (minorChord ? 3 : 4), root - 12 + 7};
        addPad(left, right, barStart, std::min(bar, end - barStart), chord, 0.035);
        addNote(left, right, barStart, beat * 1.5, midiToHz(root - 24), 0.22, 2, 0.5);
        addNote(left, right, barStart + 2 * beat, beat, midiToHz(root - 17), 0.16, 2, 0.5);
        // The melody walks the scale in small steps, two phrases of eighths and quarters.
        for (double t = 0; t < bar - 0.01;) {
            const bool quarter = random.next(3) == 0;
            const double length = quarter ? beat : beat / 2;
            if (random.next(6) != 0 && barStart + t < end) {
                degree = std::clamp(degree + random.next(5) - 2, 0, 7);
                addNote(left, right, barStart + t, length * 0.9,
                        midiToHz(piece.rootMidi + scale[degree]), 0.18, piece.instrument, 0.35);
            }
            t += length;
        }
    }
    QByteArray pcm(qsizetype(samples) * 4, '\0');
    auto *out = reinterpret_cast<std::int16_t *>(pcm.data());
    for (std::size_t i = 0; i < samples; ++i) {
        const double t = double(i) / Rate;
        const double fade =
            std::clamp((piece.seconds - t) / 2.5, 0.0, 1.0) * std::min(1.0, t / 0.05);
        // A gentle soft clip keeps chords that pile up from distorting.
        out[2 * i] = std::int16_t(std::tanh(left[i] * fade) * 30000);
        out[2 * i + 1] = std::int16_t(std::tanh(right[i] * fade) * 30000);
    }
    return pcm;
}

QString xmcdEntry(const QList<int> &starts, int leadOut, const QString &discId)
{
    QString text = QStringLiteral("# xmcd CD database file\n#\n# Track frame offsets:\n");
    for (int start : starts)
        text += QStringLiteral("#     %1\n").arg(start);
    text += QStringLiteral("#\n# Disc length: %1 seconds\n#\n# Revision: 0\n"
                           "# Submitted via: Orbisong 4.0.3\n#\n")
                .arg(leadOut / 75);
    text += QStringLiteral("DISCID=%1\n").arg(discId);
    text += QStringLiteral("DTITLE=%1 / %2\n").arg(DemoDisc::artist(), DemoDisc::title());
    text += QStringLiteral("DYEAR=2026\nDGENRE=Ambient\n");
    const QStringList titles = DemoDisc::trackTitles();
    for (int i = 0; i < titles.size(); ++i)
        text += QStringLiteral("TTITLE%1=%2\n").arg(i).arg(titles.at(i));
    text += QStringLiteral("EXTD=Synthesized for the Orbisong demo disc.\n");
    for (int i = 0; i < titles.size(); ++i)
        text += QStringLiteral("EXTT%1=\n").arg(i);
    text += QStringLiteral("PLAYORDER=\n");
    return text;
}

bool writeText(const QString &path, const QString &text, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

QString DemoDisc::artist()
{
    return QStringLiteral("The Orbisong Ensemble");
}

QString DemoDisc::title()
{
    return QStringLiteral("Demo Disc");
}

QStringList DemoDisc::trackTitles()
{
    QStringList titles;
    for (const Piece &piece : Pieces)
        titles.append(QString::fromLatin1(piece.title));
    return titles;
}

QString DemoDisc::cuePath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("demo.cue"));
}

QString DemoDisc::cddbFolder(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("cddb"));
}

bool DemoDisc::write(const QString &folder, QString *error)
{
    if (!QDir().mkpath(folder) || !QDir().mkpath(cddbFolder(folder) + QStringLiteral("/misc"))) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    DiscImageWriter writer;
    for (const Piece &piece : Pieces)
        writer.addAudioTrack(renderPiece(piece));
    // The entry goes first and the CUE sheet last, so a finished image implies the rest.
    const QString discId = CddbDiscIdText(CddbDiscId(writer.trackStarts(), writer.leadOut()));
    return writeText(cddbFolder(folder) + QStringLiteral("/misc/") + discId,
                     xmcdEntry(writer.trackStarts(), writer.leadOut(), discId), error)
           && writer.write(cuePath(folder), error);
}

QString DemoDisc::ensure(const QString &folder, QString *error)
{
    const QString cue = cuePath(folder);
    const QString bin = QDir(folder).filePath(QStringLiteral("demo.bin"));
    if (QFileInfo::exists(cue) && QFileInfo::exists(bin))
        return cue;
    return write(folder, error) ? cue : QString();
}

QString ensureDemoDisc(const QString &folder, QString *error)
{
    return DemoDisc::ensure(folder, error);
}

} // namespace Orbisong
