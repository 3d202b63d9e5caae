#pragma once

#include <QString>

namespace Orbisong {

class TCfgFile;

// Counts stored in a collection file ("CT" of tracks, playlists, steps and web links) come
// from outside and may be anything. The items they count are numbered keys `stem[1]`,
// `stem[2]`, ... written without gaps, so the count that can be trusted is the stored one,
// at most `most`, cut back to the keys that are actually there.
int BoundedCount(TCfgFile &file, const QString &block, const QString &section, const QString &stem,
                 int stored, int most);

// The same with the count read from the section's "CT" key.
int StoredCount(TCfgFile &file, const QString &block, const QString &section, const QString &stem,
                int most);

// The name of the numbered key: stem[n].
QString NumberedKey(const QString &stem, int n);

} // namespace Orbisong
