#include "collection/DiscId.h"

#include <algorithm>

namespace Orbisong {

namespace {

int digitSum(int value)
{
    int sum = 0;
    for (; value > 0; value /= 10)
        sum += value % 10;
    return sum;
}

} // namespace

QString TocProblem(const QList<int> &trackStarts, qint64 leadOut)
{
    if (trackStarts.isEmpty())
        return QStringLiteral("no tracks");
    if (trackStarts.size() > MaxTocTracks)
        return QStringLiteral("%1 tracks, more than %2").arg(trackStarts.size()).arg(MaxTocTracks);
    for (qsizetype i = 0; i < trackStarts.size(); ++i) {
        const int start = trackStarts.at(i);
        if (start < 0 || start > MaxTocFrame)
            return QStringLiteral("track %1 starts at frame %2, outside 0-%3")
                .arg(i + 1)
                .arg(start)
                .arg(MaxTocFrame);
        if (i > 0 && start <= trackStarts.at(i - 1))
            return QStringLiteral("track %1 does not start after track %2").arg(i + 1).arg(i);
    }
    if (leadOut <= trackStarts.last())
        return QStringLiteral("the lead-out %1 is not after the last track").arg(leadOut);
    if (leadOut > MaxTocFrame)
        return QStringLiteral("the lead-out %1 is beyond frame %2").arg(leadOut).arg(MaxTocFrame);
    return {};
}

bool IsAlbumIdText(const QString &text)
{
    if (text.size() != 13)
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isDigit() || (c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F'));
    });
}

bool IsValidToc(const QList<int> &trackStarts, qint64 leadOut)
{
    return TocProblem(trackStarts, leadOut).isEmpty();
}

std::uint32_t CddbDiscId(const QList<int> &trackStarts, int leadOut)
{
    if (trackStarts.isEmpty())
        return 0;
    int checksum = 0;
    for (int start : trackStarts)
        checksum = (checksum + digitSum(start / 75)) % 255;
    // The per-track seconds telescope into lead-out minus first track, both truncated first.
    const qint64 seconds = qint64(leadOut) / 75 - trackStarts.first() / 75;
    return (std::uint32_t(checksum) << 24) | ((std::uint32_t(seconds) & 0xFFFFu) << 8) |
           (std::uint32_t(trackStarts.size()) & 0xFFu);
}

QString CddbDiscIdText(std::uint32_t discId)
{
    return QStringLiteral("%1").arg(discId, 8, 16, QLatin1Char('0'));
}

QString AlbumId(const QList<int> &trackStarts, int leadOut)
{
    if (!IsValidToc(trackStarts, leadOut))
        return {};
    const std::uint32_t id = CddbDiscId(trackStarts, leadOut);
    return (CddbDiscIdText(id) +
            QStringLiteral("%1").arg(trackStarts.last(), 5, 16, QLatin1Char('0')))
        .toUpper();
}

QString MediaIdentity(const QList<int> &trackStarts, int leadOut)
{
    return QString::number(CddbDiscId(trackStarts, leadOut), 16).toUpper();
}

} // namespace Orbisong
