#include "cddb/CddbQuery.h"

#include <QStringList>

namespace Orbisong {

QString CddbQueryText(const QString &discId, const QList<int> &trackStarts, int seconds)
{
    QStringList parts{discId.left(8).toLower(), QString::number(trackStarts.size())};
    for (int start : trackStarts)
        parts.append(QString::number(start));
    parts.append(QString::number(seconds));
    return parts.join(u' ');
}

} // namespace Orbisong
