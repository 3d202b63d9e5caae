#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// The text of a CDDB query for a disc: its id in lower case, the track count, every track's
// start frame and the disc's length in seconds, separated by spaces.
QString CddbQueryText(const QString &discId, const QList<int> &trackStarts, int seconds);

} // namespace Orbisong
