#include "collection/AlbumSearch.h"

#include "collection/AlbumGrouping.h"
#include "collection/Collection.h"
#include "collection/Settings.h"
#include "collection/StoredAlbumValues.h"

#include <QStringMatcher>

#include <optional>

namespace Orbisong {

namespace {

// The value of a custom field in an album's "name=value" lines; empty when it has none.
QString customValue(const QStringList &lines, const QString &field)
{
    for (const QString &line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0 && QStringView(line).left(equals).compare(field, Qt::CaseInsensitive) == 0)
            return line.mid(equals + 1);
    }
    return {};
}

} // namespace

QString searchTypeCaption(int type)
{
    switch (type) {
    case SearchArtist:
        return QStringLiteral("Find albums with artist containing");
    case SearchTitle:
        return QStringLiteral("Find albums with title containing");
    case SearchAnyField:
        return QStringLiteral("Find albums with any field containing");
    case SearchTrackArtist:
        return QStringLiteral("Find tracks with artist containing");
    case SearchTrackTitle:
        return QStringLiteral("Find tracks with title containing");
    case SearchTrackOther:
        return QStringLiteral("Find tracks with other data containing");
    }
    return {};
}

QList<int> searchTypesInMenuOrder()
{
    return {SearchTitle,      SearchArtist,      SearchAnyField,
            SearchTrackTitle, SearchTrackArtist, SearchTrackOther};
}

AlbumSearch::AlbumSearch(Collection &collection) : m_collection(collection)
{
}

QList<SearchHit> AlbumSearch::run(int type, const QString &text)
{
    const QString needle = text.trimmed();
    if (needle.isEmpty() || searchTypeCaption(type).isEmpty())
        return {};
    const QStringMatcher matcher(needle, Qt::CaseInsensitive);
    const auto contains = [&matcher](const QString &value) { return matcher.indexIn(value) >= 0; };
    const QStringList customFields = m_collection.settings().customFields;
    const QList<const AlbumIndexNode *> albums = audioAlbums(m_collection);

    QList<SearchHit> hits;
    const auto hit = [&hits](const AlbumIndexNode *album, int track, const QString &trackText) {
        hits.append({album, track, album->artist, album->title, trackText});
    };
    // Only the types that look beyond the index read the file.
    const bool readsFile = type != SearchArtist && type != SearchTitle;
    std::optional<StoredAlbumValues> values;
    if (readsFile)
        values.emplace(m_collection);

    for (const AlbumIndexNode *album : albums) {
        switch (type) {
        case SearchArtist:
        case SearchTitle:
            if (contains(type == SearchArtist ? album->artist : album->title))
                hit(album, 0, {});
            break;
        case SearchAnyField: {
            bool found = contains(album->artist) || contains(album->title) ||
                         contains(album->owner) || contains(album->category);
            if (!found) {
                values->select(*album);
                found = contains(values->copyright()) || contains(values->other());
                if (!found && !customFields.isEmpty()) {
                    const QStringList lines = values->customData();
                    for (const QString &field : customFields) {
                        if ((found = contains(customValue(lines, field))))
                            break;
                    }
                }
            }
            if (found)
                hit(album, 0, {});
            break;
        }
        case SearchTrackArtist:
            if (contains(album->artist)) {
                values->select(*album);
                for (int n = 1; n <= values->trackCount(); ++n)
                    hit(album, n, values->trackTitle(n));
            }
            break;
        case SearchTrackTitle:
        case SearchTrackOther:
            values->select(*album);
            for (int n = 1; n <= values->trackCount(); ++n) {
                const QString value =
                    type == SearchTrackTitle ? values->trackTitle(n) : values->trackNotes(n);
                if (contains(value))
                    hit(album, n, value);
            }
            break;
        }
    }
    return hits;
}

} // namespace Orbisong
