#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace Orbisong {

class Collection;

// What printing shows of one album, as stored: notes and comments keep their escaped
// one-line form, lengths their stored units.
struct PrintAlbum
{
    struct Track
    {
        QString title;  // empty when the track has none
        int frames = 0; // 75 a second
        QString other;  // escaped
    };

    QString id;
    QString title;
    QString artist;
    QString binder;
    QString category;
    QString owner;
    QString year;
    QString copyright;
    QString comments; // escaped
    QString index;
    int seconds = 0;
    int flags = 0;
    QStringList customData; // "name=value"
    QList<Track> tracks;
};

// The albums with the given IDs in that order (unknown IDs are left out), or every album of
// the collection when `ids` is empty. The collection is opened and closed around the reads.
QList<PrintAlbum> loadPrintAlbums(Collection &collection, const QStringList &ids = {});

} // namespace Orbisong
