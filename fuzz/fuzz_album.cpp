// The album reader: the input is the body of one album's block in a collection.
#include "collection/AlbumRecord.h"
#include "collection/Collection.h"
#include "collection/CurrentAlbum.h"
#include "collection/Settings.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace Orbisong;
    static const QByteArray id = "04018E0203A98";
    const QString path = Fuzz::writeScratchFile(QStringLiteral("album.obc"),
                                                "<" + id + ">\r\n [Album]\r\n  ID=" + id + "\r\n" +
                                                    Fuzz::bytesOf(data, size));
    Settings settings = Settings::defaults(Fuzz::scratchFolder(), QStringLiteral("ann"), {});
    Collection collection(settings, path);
    collection.setWriteBehind(false);
    collection.BuildAlbumIndex();
    DiscInfo disc;
    disc.id = QString::fromLatin1(id);
    disc.mediaKind = 65537;
    disc.trackCount = 2;
    disc.trackOffsets[1] = 150;
    disc.trackOffsets[2] = 20000;
    disc.trackOffsets[3] = 45000;
    disc.length = 600;
    WebLinkList links;
    AlbumInfo album;
    PlaylistList playlists;
    ReadAlbumInfo(collection, links, album, playlists, disc);
    return 0;
}
