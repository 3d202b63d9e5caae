#include "collection/CollectionSections.h"

namespace Orbisong::CollectionSections {

QString key(const char *stem, int n)
{
    return QLatin1String(stem) + QLatin1Char('[') + QString::number(n) + QLatin1Char(']');
}

} // namespace Orbisong::CollectionSections
