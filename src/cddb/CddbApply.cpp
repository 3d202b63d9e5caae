#include "cddb/CddbApply.h"

namespace Orbisong {

bool ApplyEntry(CddbEntryReceiver &receiver, const QString &category, const QString &albumId,
                int source, const QString &entryText)
{
    const QString name = CddbCategoryName(category);
    const QStringList lines = SplitEntryLines(entryText);
    const QString key = albumId.toUpper();
    if (receiver.handToWindow(key, name, lines, source))
        return true;
    const CddbAlbumFields fields = ReadCddbEntry(name, source, lines, DiscIdTrackCount(key));
    return receiver.applyToAlbum(key, fields);
}

} // namespace Orbisong
