#include "collection/DiscId.h"

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

std::uint32_t CddbDiscId(const QList<int> &trackStarts, int leadOut)
{
    if (trackStarts.isEmpty())
        return 0;
    int checksum = 0;
    for (int start : trackStarts)
        checksum += digitSum(start / 75);
    // The per-track seconds telescope into lead-out minus first track, both truncated first.
    const int seconds = leadOut / 75 - trackStarts.first() / 75;
    return (std::uint32_t(checksum % 255) << 24) | ((std::uint32_t(seconds) & 0xFFFFu) << 8) |
           (std::uint32_t(trackStarts.size()) & 0xFFu);
}

QString CddbDiscIdText(std::uint32_t discId)
{
    return QStringLiteral("%1").arg(discId, 8, 16, QLatin1Char('0'));
}

QString AlbumId(const QList<int> &trackStarts, int leadOut)
{
    if (trackStarts.isEmpty())
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
