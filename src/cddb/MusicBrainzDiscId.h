#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// A disc's table of contents as MusicBrainz takes it: first and last track numbers, the
// lead-out and the track starts, all in frames with the 150-frame lead-in counted.
struct DiscToc
{
    int first = 1;
    int last = 0;
    int leadOut = 0;
    QList<int> offsets;

    bool isValid() const;
};

// The MusicBrainz disc id of `toc`, computed by libdiscid; empty for a table it refuses.
QString MusicBrainzDiscId(const DiscToc &toc);
// The `toc` parameter of a fuzzy lookup: "first+last+leadout+offset1+...".
QString MusicBrainzTocParameter(const DiscToc &toc);

} // namespace Orbisong
