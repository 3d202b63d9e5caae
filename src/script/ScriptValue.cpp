#include "script/ScriptValue.h"

#include <cmath>
#include <limits>

namespace Orbisong {

qint64 saturate(double value, double low, double high)
{
    if (std::isnan(value))
        return 0;
    const double r = std::nearbyint(value);
    if (r <= low)
        return qint64(low);
    if (r >= high)
        return qint64(high);
    return qint64(r);
}

qint32 toInt32Slow(double value)
{
    return qint32(
        saturate(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

double storedNumberSlow(int type, double value)
{
    switch (type) {
    case TypeInteger:
    case TypeLongint:
        return double(toInt32Slow(value));
    case TypeWord:
        return double(saturate(value, 0, 65535));
    case TypeByte:
        return double(saturate(value, 0, 255));
    default:
        return value;
    }
}

} // namespace Orbisong
