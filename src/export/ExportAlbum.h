#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// One album as the export writes it: read once from the collection as it is in memory, so
// the writers can run on another thread while the collection goes on changing.
struct ExportAlbum
{
    struct Track
    {
        QString title; // "Track " and the number when it has none
        QString misc;  // the extended data, decoded
        int frames = 0;
        int plays = 0;
    };

    QString id;
    QString blockName; // the album's block in the collection file
    QString artist;
    QString binder;
    QString category;
    QString owner;
    QString year;
    QString title;
    QString copyright;
    int flags = 0;
    int lengthSeconds = 0;
    int insertCount = 0;
    QList<Track> tracks;
};

} // namespace Orbisong
