#include "collection/StoredAlbumValues.h"

#include "collection/Collection.h"
#include "collection/CurrentAlbum.h"
#include "collection/MediaKind.h"
#include "collection/MultilineCodec.h"
#include "collection/StoredText.h"
#include "collection/TCfgFile.h"

#include <cstring>

namespace Orbisong {

namespace {

bool sameName(QByteArrayView a, QByteArrayView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Every block holds hundreds of these keys and values, so the plain forms are read here
// rather than through the general number conversion.

// Plain decimal digits without a leading zero, at most 9 of them; -1 otherwise.
int plainNumber(QByteArrayView digits)
{
    if (digits.isEmpty() || digits.size() > 9 || (digits[0] == '0' && digits.size() > 1))
        return -1;
    int n = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

// Whether the two letters of `stem` are the upper-case letters `a` and `b` in any case.
bool isStem(QByteArrayView stem, char a, char b)
{
    return (stem[0] == a || stem[0] == a + 32) && (stem[1] == b || stem[1] == b + 32);
}

// The number of an indexed key with a two-letter stem ("TT[12]"), 0 when the key is not one.
int keyIndex(QByteArrayView key)
{
    if (key.size() < 5 || key[2] != '[' || !key.endsWith(']'))
        return 0;
    return qMax(0, plainNumber(key.sliced(3, key.size() - 4)));
}

int parseInteger(QByteArrayView value)
{
    const int plain = plainNumber(value);
    if (plain >= 0)
        return plain;
    bool ok = false;
    const int number =
        value.startsWith('$') ? int(value.sliced(1).toUInt(&ok, 16)) : value.toInt(&ok, 10);
    return ok ? number : 0;
}

constexpr int MaxInserts = 10000;

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
    m_disc = inDrive ? &current->disc : nullptr;
    m_blockName = album.blockName;
    m_block = album.blockName.toUtf8();
    m_parsed = false;
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
    return parseInteger(raw(section, key, &found));
}

void StoredAlbumValues::parseBlock()
{
    m_parsed = true;
    m_titles.fill({});
    m_notes.fill({});
    m_plays.fill({});
    m_lengths.fill({});
    m_inserts.clear();
    TCfgFile *file = m_collection.file();
    m_blockText = file ? file->writtenBlock(m_blockName) : QByteArray();
    // Only the first section of a name counts, as for single lookups.
    bool tracksSeen = false;
    bool usageSeen = false;
    int section = 0; // 1 in "Tracks", 2 in "Usage"
    const char *p = m_blockText.constData();
    const char *end = p + m_blockText.size();
    while (p < end) {
        if (section == 0 && tracksSeen && usageSeen)
            break;
        if (section == 0 && p != m_blockText.constData()) {
            // Outside the two sections only the next section line matters; the written form
            // starts those with " [", entries with two blanks.
            const qsizetype next = QByteArrayView(p - 1, end - p + 1).indexOf("\n [");
            if (next < 0)
                break;
            p += next;
        }
        const char *lf = static_cast<const char *>(std::memchr(p, '\n', std::size_t(end - p)));
        const char *lineEnd = lf ? lf : end;
        const QByteArrayView line = QByteArrayView(p, lineEnd - p).trimmed();
        p = lineEnd + 1;
        if (line.startsWith('[') && line.endsWith(']')) {
            const QByteArrayView name = line.sliced(1, line.size() - 2);
            section = 0;
            if (!tracksSeen && sameName(name, "Tracks")) {
                tracksSeen = true;
                section = 1;
            } else if (!usageSeen && sameName(name, "Usage")) {
                usageSeen = true;
                section = 2;
            }
        } else if (section != 0) {
            parseEntry(line, section == 1);
        }
    }
}

void StoredAlbumValues::parseEntry(QByteArrayView entry, bool tracks)
{
    const qsizetype equals = entry.indexOf('=');
    if (equals < 2)
        return;
    const QByteArrayView key = entry.first(equals);
    const QByteArrayView value = entry.sliced(equals + 1);
    // The first of equal keys counts; a view that is not null has been set.
    const auto keep = [&value](QByteArrayView &slot) {
        if (slot.isNull())
            slot = value;
    };
    const QByteArrayView stem = key.first(2);
    const int n = keyIndex(key);
    if (n <= 0)
        return;
    if (!tracks) {
        // A damaged file's huge index must not claim memory; no list gets that long.
        if (!isStem(stem, 'R', 'I') || n > MaxInserts)
            return;
        if (std::size_t(n) >= m_inserts.size())
            m_inserts.resize(std::size_t(n) + 1);
        keep(m_inserts[std::size_t(n)]);
        return;
    }
    if (n > AlbumInfo::MaxTracks)
        return;
    const auto slot = std::size_t(n);
    if (isStem(stem, 'T', 'T'))
        keep(m_titles[slot]);
    else if (isStem(stem, 'T', 'M'))
        keep(m_notes[slot]);
    else if (isStem(stem, 'T', 'C'))
        keep(m_plays[slot]);
    else if (isStem(stem, 'T', 'L'))
        keep(m_lengths[slot]);
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

int StoredAlbumValues::albumLength()
{
    return m_disc ? m_disc->length : integer("Album", "LN");
}

QStringList StoredAlbumValues::recentInserts()
{
    if (m_current)
        return m_current->recentInserts;
    if (!m_parsed)
        parseBlock();
    QStringList times;
    for (std::size_t n = 1; n < m_inserts.size(); ++n) {
        const QString time = decodeStoredText(m_inserts[n]).trimmed();
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
    if (!m_current && !m_parsed)
        parseBlock();
    QString title = m_current ? m_current->trackTitles[std::size_t(track)]
                              : decodeStoredText(m_titles[std::size_t(track)]);
    return title.isEmpty() ? defaultTitle(track) : title;
}

QString StoredAlbumValues::trackNotes(int track)
{
    if (!validTrack(track))
        return {};
    if (!m_current && !m_parsed)
        parseBlock();
    return DecodeMultiline(m_current ? m_current->trackNotes[std::size_t(track)]
                                     : decodeStoredText(m_notes[std::size_t(track)]));
}

int StoredAlbumValues::trackPlays(int track)
{
    if (!validTrack(track))
        return 0;
    if (!m_current && !m_parsed)
        parseBlock();
    return m_current ? m_current->trackPlayCounts[std::size_t(track)]
                     : parseInteger(m_plays[std::size_t(track)]);
}

int StoredAlbumValues::trackLength(int track)
{
    if (!validTrack(track))
        return 0;
    if (m_disc)
        return track <= DiscInfo::MaxTracks ? m_disc->trackLengths[std::size_t(track)] : 0;
    if (!m_parsed)
        parseBlock();
    return parseInteger(m_lengths[std::size_t(track)]);
}

} // namespace Orbisong
