#include "collection/AlbumText.h"

#include "collection/AlbumInfo.h"
#include "base/AppPaths.h"

namespace Orbisong {

QString SortKey(const QString &text, int flags)
{
    QString key = text;
    if (key.size() >= 5 && key.left(4).compare(QLatin1String("THE "), Qt::CaseInsensitive) == 0)
        key.remove(0, 4);
    else if (key.size() >= 3 && key.left(2).compare(QLatin1String("A "), Qt::CaseInsensitive) == 0)
        key.remove(0, 2);
    if (flags & AlbumFlagLastNameFirst) {
        const qsizetype blank = key.lastIndexOf(QLatin1Char(' '));
        if (blank >= 0 && blank < key.size() - 1)
            key = key.mid(blank + 1) + key.left(blank);
    }
    return key;
}

QString ProperCase(const QString &text)
{
    QString result = text;
    bool upper = true;
    for (QChar &c : result) {
        if (c.isLetter()) {
            c = upper ? c.toUpper() : c.toLower();
            upper = false;
        } else {
            upper = c != QLatin1Char('\'') && c != QLatin1Char('-');
        }
    }
    return result;
}

QString defaultOwner()
{
    return ProperCase(loginName());
}

QString albumSourceText(int source)
{
    switch (source) {
    case SourceCdPlayer:
        return QStringLiteral("Imported from Microsoft CD Player");
    case SourceLocalCddb:
        return QStringLiteral("Imported from local CDDB database");
    case SourceInternetCddb:
        return QStringLiteral("Imported from Internet CDDB database");
    case SourceConverted:
        return QStringLiteral("Converted from Orbisong 3.x collection");
    case SourceOtherCollection:
        return QStringLiteral("Imported from other CD collection");
    default:
        return QStringLiteral("Manually entered or unknown");
    }
}

} // namespace Orbisong
