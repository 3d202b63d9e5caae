#include "print/PrintAlbum.h"

#include "collection/AlbumIndexNode.h"
#include "collection/Collection.h"
#include "collection/MultilineCodec.h"
#include "collection/TCfgFile.h"

namespace Orbisong {

namespace {

QString key(const char *stem, int n)
{
    return QStringLiteral("%1[%2]").arg(QLatin1String(stem)).arg(n);
}

PrintAlbum readAlbum(TCfgFile &f, const AlbumIndexNode &node)
{
    const QString block = node.blockName;
    const QString album = QStringLiteral("Album");
    const QString tracks = QStringLiteral("Tracks");
    PrintAlbum a;
    a.id = node.id;
    a.title = node.title;
    a.artist = node.artist;
    a.binder = node.binder;
    a.category = node.category;
    a.owner = node.owner;
    a.year = node.year;
    a.flags = node.flags;
    a.copyright = f.ReadString(block, album, QStringLiteral("CO"), {});
    a.index = f.ReadString(block, album, QStringLiteral("IX"), {});
    a.seconds = f.ReadInteger(block, album, QStringLiteral("LN"), 0);
    a.comments = f.ReadString(block, QStringLiteral("Comments"), QStringLiteral("TX"), {});
    a.customData = DecodeMultiline(f.ReadString(block, album, QStringLiteral("CS"), {}))
                       .split(QLatin1String("\r\n"), Qt::SkipEmptyParts);
    const int count = qBound(0, f.ReadInteger(block, tracks, QStringLiteral("CT"), 0), 100);
    for (int n = 1; n <= count; ++n) {
        a.tracks.append({f.ReadString(block, tracks, key("TT", n), {}),
                         f.ReadInteger(block, tracks, key("TL", n), 0),
                         f.ReadString(block, tracks, key("TM", n), {})});
    }
    return a;
}

} // namespace

QList<PrintAlbum> loadPrintAlbums(Collection &collection, const QStringList &ids)
{
    QList<PrintAlbum> result;
    if (!collection.OpenCollectionFile())
        return result;
    TCfgFile *file = collection.file();
    if (ids.isEmpty()) {
        for (const AlbumIndexNode *node : collection.albums())
            result.append(readAlbum(*file, *node));
    } else {
        for (const QString &id : ids) {
            if (const AlbumIndexNode *node = collection.FindAlbum(id))
                result.append(readAlbum(*file, *node));
        }
    }
    collection.CloseCollection();
    return result;
}

} // namespace Orbisong
