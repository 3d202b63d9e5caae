#pragma once

#include <QString>

namespace Orbisong {

// One album of the collection index: what the collection window shows without loading the
// album.
struct AlbumIndexNode
{
    int mediaKind = 0;
    QString id;        // the search key
    QString blockName; // the album's block in the collection file
    QString artist;
    QString binder;
    QString year;
    QString owner;
    QString title;
    QString category;
    QString index; // set only by the index setter; empty after the index is built
    int flags = 0;
    int trackCount = 0;
};

// The bucket of an album ID: its first two characters read as a hexadecimal number; text
// that does not convert, and an empty ID, give bucket 0.
int albumBucket(const QString &id);

} // namespace Orbisong
