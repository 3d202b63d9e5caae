#include "collection/TStep.h"

#include <atomic>

namespace Orbisong {

namespace {
std::atomic<int> stepCounter{0};
}

TStep::TStep(const QString &title, int start, int end)
    : title(title), start(start), end(end), m_serial(++stepCounter)
{
}

QString TStep::key() const
{
    return QStringLiteral("%1").arg(quint32(m_serial), 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace Orbisong
