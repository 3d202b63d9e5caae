#pragma once

#include "collection/AlbumIndexNode.h"

#include <QList>
#include <QString>

namespace Orbisong {

class Collection;

// The collection window's search types, by their stored numbers.
enum SearchType {
    SearchArtist = 0,
    SearchTitle = 1,
    SearchAnyField = 2,
    SearchTrackArtist = 3,
    SearchTrackTitle = 4,
    SearchTrackOther = 5,
};

// "Find albums with title containing", ...; empty for an unknown type.
QString searchTypeCaption(int type);
// The types as the search menu lists them: 1, 0, 2, 4, 3, 5.
QList<int> searchTypesInMenuOrder();

struct SearchHit
{
    const AlbumIndexNode *album = nullptr;
    int track = 0; // 0 for album hits
    QString artist;
    QString title; // the album title
    QString text;  // the track title, or the decoded notes, for track hits
};

// Finds the audio albums or tracks whose field contains a text, without regard to case. Track
// values and the fields outside the index come from the stored album, or from the current
// album for the album in the drive.
class AlbumSearch
{
public:
    explicit AlbumSearch(Collection &collection);

    // Blank text finds nothing; an unknown type finds nothing.
    QList<SearchHit> run(int type, const QString &text);

private:
    Collection &m_collection;
};

} // namespace Orbisong
