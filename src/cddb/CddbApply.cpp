#include "cddb/CddbApply.h"

namespace Orbisong {

namespace {
CddbEntryReceiver *currentReceiver = nullptr;
}

void setCddbEntryReceiver(CddbEntryReceiver *receiver)
{
    currentReceiver = receiver;
}

CddbEntryReceiver *cddbEntryReceiver()
{
    return currentReceiver;
}

bool ApplyEntry(const QString &category, const QString &albumId, int source,
                const QString &entryText)
{
    if (!currentReceiver)
        return false;
    const QString name = CddbCategoryName(category);
    const QStringList lines = SplitEntryLines(entryText);
    const QString key = albumId.toUpper();
    if (currentReceiver->handToWindow(key, name, lines, source))
        return true;
    const CddbAlbumFields fields = ReadCddbEntry(name, source, lines, DiscIdTrackCount(key));
    return currentReceiver->applyToAlbum(key, fields);
}

} // namespace Orbisong
