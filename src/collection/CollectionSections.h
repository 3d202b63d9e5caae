#pragma once

#include <QString>

namespace Orbisong::CollectionSections {

// The section names and indexed keys of an album block, shared by the collection's storage
// and its import of other collection files.
inline const QString Album = QStringLiteral("Album");
inline const QString Tracks = QStringLiteral("Tracks");
inline const QString WebLink = QStringLiteral("WebLink");

// An indexed key such as "TT[3]".
QString key(const char *stem, int n);

} // namespace Orbisong::CollectionSections
