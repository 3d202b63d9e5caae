#pragma once

#include "collection/AlbumInfo.h"
#include "collection/DiscInfo.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace Orbisong {

class Collection;
struct AlbumIndexNode;

// Reads single values of many albums for browsing: stored values straight from the collection
// file, which stays open for the reader's lifetime; the album in the drive from the current
// album, whose values are newer than the stored ones.
class StoredAlbumValues
{
public:
    explicit StoredAlbumValues(Collection &collection);
    ~StoredAlbumValues();

    StoredAlbumValues(const StoredAlbumValues &) = delete;
    StoredAlbumValues &operator=(const StoredAlbumValues &) = delete;

    // The album the following reads concern.
    void select(const AlbumIndexNode &album);

    QString copyright();
    QString other();
    // The decoded "name=value" lines.
    QStringList customData();
    int insertCount();
    // Whole seconds.
    int albumLength();
    // Read up to the first empty one, oldest first.
    QStringList recentInserts();

    int trackCount() const { return m_trackCount; }
    // "Track " and the number when it has none.
    QString trackTitle(int track);
    // Decoded.
    QString trackNotes(int track);
    int trackPlays(int track);
    // In frames.
    int trackLength(int track);

private:
    QByteArrayView raw(QByteArrayView section, QByteArrayView key, bool *found);
    QString text(QByteArrayView section, QByteArrayView key);
    int integer(QByteArrayView section, QByteArrayView key);
    void parseBlock();
    void parseEntry(QByteArrayView entry, bool tracks);

    Collection &m_collection;
    bool m_open = false;
    const AlbumInfo *m_current = nullptr; // set while the album in the drive is selected
    const DiscInfo *m_disc = nullptr;     // the same album's table of contents
    QString m_blockName;
    QByteArray m_block;
    int m_trackCount = 0;
    // Indexed families are read from one pass over the written block: looking each key up
    // would walk the section again for every track. The views point into m_blockText; a null
    // view is a missing key.
    bool m_parsed = false;
    QByteArray m_blockText;
    static constexpr std::size_t Slots = AlbumInfo::MaxTracks + 1;
    std::array<QByteArrayView, Slots> m_titles;
    std::array<QByteArrayView, Slots> m_notes;
    std::array<QByteArrayView, Slots> m_plays;
    std::array<QByteArrayView, Slots> m_lengths;
    std::vector<QByteArrayView> m_inserts; // index 0 unused
};

} // namespace Orbisong
