#include "collection/StoredAlbumValues.h"

#include "collection/Collection.h"
#include "collection/CurrentAlbum.h"
#include "collection/MediaKind.h"
#include "collection/MultilineCodec.h"
#include "collection/StoredText.h"
#include "collection/TCfgFile.h"

#include <array>

namespace Orbisong {

namespace {

// The keys of an indexed family ("TT[1]" ...), made once rather than per album.
struct TrackKeys
{
    std::array<QByteArray, AlbumInfo::MaxTracks + 1> keys;
    explicit TrackKeys(const char *stem)
    {
        for (int n = 1; n <= AlbumInfo::MaxTracks; ++n)
            keys[std::size_t(n)] = QByteArray(stem) + '[' + QByteArray::number(n) + ']';
    }
    QByteArrayView at(int n) const { return keys[std::size_t(n)]; }
};

const TrackKeys &titleKeys()
{
    static const TrackKeys keys("TT");
    return keys;
}

const TrackKeys &noteKeys()
{
    static const TrackKeys keys("TM");
    return keys;
}

const TrackKeys &playKeys()
{
    static const TrackKeys keys("TC");
    return keys;
}

const TrackKeys &insertKeys()
{
    static const TrackKeys keys("RI");
    return keys;
}

bool validTrack(int track)
{
    return track >= 1 && track <= AlbumInfo::MaxTracks;
}

QString defaultTitle(int track)
{
    return QStringLiteral("Track ") + QString::number(track);
}

} // namespace

StoredAlbumValues::StoredAlbumValues(Collection &collection) : m_collection(collection)
{
    m_open = m_collection.OpenCollectionFile();
}

StoredAlbumValues::~StoredAlbumValues()
{
    if (m_open)
        m_collection.CloseCollection();
}

void StoredAlbumValues::select(const AlbumIndexNode &album)
{
    const CurrentAlbum *current = m_collection.currentAlbum();
    const bool inDrive = current && current->discPresent && !isCdRomKind(current->disc.mediaKind) &&
                         current->disc.id.compare(album.id, Qt::CaseInsensitive) == 0;
    m_current = inDrive ? &current->album : nullptr;
    m_block = album.blockName.toUtf8();
    m_trackCount =
        qBound(0, inDrive ? current->disc.trackCount : album.trackCount, int(AlbumInfo::MaxTracks));
}

QByteArrayView StoredAlbumValues::raw(QByteArrayView section, QByteArrayView key, bool *found)
{
    TCfgFile *file = m_collection.file();
    if (!file) {
        *found = false;
        return {};
    }
    return file->readRaw(m_block, section, key, found);
}

QString StoredAlbumValues::text(QByteArrayView section, QByteArrayView key)
{
    bool found = false;
    const QByteArrayView value = raw(section, key, &found);
    return found ? decodeStoredText(value) : QString();
}

int StoredAlbumValues::integer(QByteArrayView section, QByteArrayView key)
{
    bool found = false;
    const QByteArrayView value = raw(section, key, &found);
    bool ok = false;
    const int number =
        value.startsWith('$') ? int(value.sliced(1).toUInt(&ok, 16)) : value.toInt(&ok, 10);
    return ok ? number : 0;
}

QString StoredAlbumValues::copyright()
{
    return m_current ? m_current->copyright : text("Album", "CO");
}

QString StoredAlbumValues::other()
{
    return m_current ? m_current->other : text("Album", "US");
}

QStringList StoredAlbumValues::customData()
{
    if (m_current)
        return m_current->customData;
    const QString decoded = DecodeMultiline(text("Album", "CS"));
    if (decoded.isEmpty())
        return {};
    return decoded.split(QLatin1String("\r\n"));
}

int StoredAlbumValues::insertCount()
{
    return m_current ? m_current->insertCount : integer("Usage", "IC");
}

QStringList StoredAlbumValues::recentInserts()
{
    if (m_current)
        return m_current->recentInserts;
    QStringList times;
    for (int n = 1;; ++n) {
        const QByteArray key = n <= AlbumInfo::MaxTracks ? insertKeys().keys[std::size_t(n)]
                                                         : "RI[" + QByteArray::number(n) + ']';
        const QString time = text("Usage", key).trimmed();
        if (time.isEmpty())
            break;
        times.append(time);
    }
    return times;
}

QString StoredAlbumValues::trackTitle(int track)
{
    if (!validTrack(track))
        return {};
    QString title = m_current ? m_current->trackTitles[std::size_t(track)]
                              : text("Tracks", titleKeys().at(track));
    return title.isEmpty() ? defaultTitle(track) : title;
}

QString StoredAlbumValues::trackNotes(int track)
{
    if (!validTrack(track))
        return {};
    return DecodeMultiline(m_current ? m_current->trackNotes[std::size_t(track)]
                                     : text("Tracks", noteKeys().at(track)));
}

int StoredAlbumValues::trackPlays(int track)
{
    if (!validTrack(track))
        return 0;
    return m_current ? m_current->trackPlayCounts[std::size_t(track)]
                     : integer("Tracks", playKeys().at(track));
}

} // namespace Orbisong
