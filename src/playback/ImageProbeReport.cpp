#include "playback/ImageProbeReport.h"

namespace Orbisong {

namespace {

bool readNumber(const QByteArray &word, int low, int high, int *value)
{
    bool ok = false;
    const qlonglong number = word.toLongLong(&ok);
    if (!ok || number < low || number > high)
        return false;
    *value = int(number);
    return true;
}

} // namespace

std::optional<ImageProbeReport> ImageProbeReport::parse(const QByteArray &output, QString *error)
{
    ImageProbeReport report;
    bool seenFirst = false;
    const auto fail = [error](const QString &why) {
        *error = why;
        return std::nullopt;
    };
    for (const QByteArray &line : output.split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        const QByteArray &key = words.first();
        if (key.isEmpty())
            continue;
        if (key == "first" && words.size() == 2 && !seenFirst) {
            if (!readNumber(words[1], 1, 99, &report.m_first))
                return fail(QStringLiteral("the first track number is out of range"));
            seenFirst = true;
        } else if (key == "track" && words.size() == 4 && seenFirst && report.m_leadOut < 0) {
            int number = 0;
            int start = 0;
            const int expected = report.m_first + int(report.m_starts.size());
            if (!readNumber(words[1], expected, expected, &number) || expected > 99)
                return fail(QStringLiteral("the tracks are not numbered in order"));
            if (!readNumber(words[2], 0, MaxFrames, &start) ||
                (!report.m_starts.isEmpty() && start <= report.m_starts.last()))
                return fail(QStringLiteral("track %1 starts at an impossible frame").arg(number));
            if (words[3] != "audio" && words[3] != "data")
                return fail(QStringLiteral("track %1 has an unknown kind").arg(number));
            report.m_starts.append(start);
            report.m_audio.append(words[3] == "audio");
        } else if (key == "leadout" && words.size() == 2 && report.m_leadOut < 0) {
            if (!readNumber(words[1], 0, MaxFrames, &report.m_leadOut))
                return fail(QStringLiteral("the lead-out is out of range"));
        } else {
            return fail(QStringLiteral("the probe's report is malformed"));
        }
    }
    if (report.m_starts.isEmpty())
        return fail(QStringLiteral("it holds no tracks"));
    if (report.m_leadOut < 0)
        return fail(QStringLiteral("it has no lead-out"));
    return report;
}

} // namespace Orbisong
