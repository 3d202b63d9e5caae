#include "cddb/MusicBrainzDiscId.h"

#include <discid/discid.h>

#include <array>

namespace Orbisong {

bool DiscToc::isValid() const
{
    return first >= 1 && last >= first && last <= 99 && offsets.size() == last - first + 1 &&
           leadOut > offsets.last();
}

QString MusicBrainzDiscId(const DiscToc &toc)
{
    if (!toc.isValid())
        return {};
    // libdiscid wants the lead-out in slot 0 and track n in slot n.
    std::array<int, 100> offsets{};
    offsets[0] = toc.leadOut;
    for (int i = 0; i < toc.offsets.size(); ++i)
        offsets[toc.first + i] = toc.offsets.at(i);
    DiscId *disc = discid_new();
    QString id;
    if (discid_put(disc, toc.first, toc.last, offsets.data()))
        id = QString::fromLatin1(discid_get_id(disc));
    discid_free(disc);
    return id;
}

QString MusicBrainzTocParameter(const DiscToc &toc)
{
    QStringList parts = {QString::number(toc.first), QString::number(toc.last),
                         QString::number(toc.leadOut)};
    for (int offset : toc.offsets)
        parts.append(QString::number(offset));
    return parts.join(QLatin1Char('+'));
}

} // namespace Orbisong
