#pragma once

#include "collection/AlbumIndexNode.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace Orbisong {

class Collection;

struct StatisticsItem
{
    QString artist;
    QString title;    // the album title, or the track title for tracks
    qint64 count = 0; // plays or inserts
    QDateTime time;   // for recently played
    const AlbumIndexNode *album = nullptr;
    int track = 0;
};

// The rankings of the collection window's statistics page, over the audio albums. Stored
// values are read from the collection file, or from the current album for the album in the
// drive. Each list is sorted largest (or newest) first.
class CollectionStatistics
{
public:
    explicit CollectionStatistics(Collection &collection);

    // Albums inserted at least once, valued by their insert count.
    QList<StatisticsItem> mostPlayedAlbums();
    // Tracks played at least once, valued by their play count. With `mergeEqualTitles`,
    // tracks whose titles are equal without regard to case are added into the first of them.
    QList<StatisticsItem> mostPlayedTracks(bool mergeEqualTitles);
    // One item per recorded insert time of every album inserted at least once.
    QList<StatisticsItem> recentlyPlayed();

private:
    Collection &m_collection;
};

// The system's short time under a day old, abbreviated weekday and short time under seven
// days old, long date and short time otherwise.
QString statisticsTimeText(const QDateTime &when, const QDateTime &now);

} // namespace Orbisong
