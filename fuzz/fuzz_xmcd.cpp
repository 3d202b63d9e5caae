// The xmcd entry reader: the checks of an entry, then its fields.
#include "cddb/CddbEntry.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace Orbisong;
    const QString text = QString::fromUtf8(Fuzz::bytesOf(data, size));
    CheckXmcdEntry(text, QStringLiteral("0203a980"));
    const QStringList lines = SplitEntryLines(text);
    const CddbAlbumFields fields = ReadCddbEntry(QStringLiteral("rock"), 1, lines, 12);
    if (fields.trackCount < 0 || fields.trackCount > 99)
        __builtin_trap();
    return 0;
}
