#include "collection/CollectionStatistics.h"

#include "collection/AlbumGrouping.h"
#include "collection/Collection.h"
#include "collection/StoredAlbumValues.h"

#include <QHash>
#include <QLocale>

#include <algorithm>

namespace Orbisong {

namespace {

// Insert times are stored in the date and time formats of the system that counted them, so
// the usual ones are tried after this system's own.
QDateTime parseInsertTime(const QString &text)
{
    const QLocale system = QLocale::system();
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const QLocale &locale : {system, english}) {
        for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
            const QString format = locale.dateFormat(type) + QLatin1Char(' ') +
                                   locale.timeFormat(QLocale::ShortFormat);
            QDateTime time = locale.toDateTime(text, format);
            if (time.isValid()) {
                // Two-digit years name this century, not the last.
                if (!format.contains(QLatin1String("yyyy")) && time.date().year() < 1950)
                    time = time.addYears(100);
                return time;
            }
        }
    }
    for (const char *format : {"M/d/yyyy h:mm AP", "M/d/yyyy h:mm:ss AP", "M/d/yyyy H:mm",
                               "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm"}) {
        const QDateTime time = english.toDateTime(text, QString::fromLatin1(format));
        if (time.isValid())
            return time;
    }
    return QDateTime::fromString(text, Qt::ISODate);
}

void sortByCount(QList<StatisticsItem> &items)
{
    std::stable_sort(
        items.begin(), items.end(),
        [](const StatisticsItem &a, const StatisticsItem &b) { return a.count > b.count; });
}

StatisticsItem albumItem(const AlbumIndexNode *album, qint64 count)
{
    StatisticsItem item;
    item.artist = album->artist;
    item.title = album->title;
    item.count = count;
    item.album = album;
    return item;
}

} // namespace

CollectionStatistics::CollectionStatistics(Collection &collection) : m_collection(collection)
{
}

QList<StatisticsItem> CollectionStatistics::mostPlayedAlbums()
{
    StoredAlbumValues values(m_collection);
    QList<StatisticsItem> items;
    for (const AlbumIndexNode *album : audioAlbums(m_collection)) {
        values.select(*album);
        const int inserts = values.insertCount();
        if (inserts > 0)
            items.append(albumItem(album, inserts));
    }
    sortByCount(items);
    return items;
}

QList<StatisticsItem> CollectionStatistics::mostPlayedTracks(bool mergeEqualTitles)
{
    StoredAlbumValues values(m_collection);
    QList<StatisticsItem> items;
    QHash<QString, qsizetype> byTitle; // case-folded title -> the first item with it
    for (const AlbumIndexNode *album : audioAlbums(m_collection)) {
        values.select(*album);
        for (int n = 1; n <= values.trackCount(); ++n) {
            const int plays = values.trackPlays(n);
            if (plays <= 0)
                continue;
            const QString title = values.trackTitle(n);
            if (mergeEqualTitles) {
                const QString folded = title.toCaseFolded();
                const auto first = byTitle.constFind(folded);
                if (first != byTitle.constEnd()) {
                    items[*first].count += plays;
                    continue;
                }
                byTitle.insert(folded, items.size());
            }
            StatisticsItem item = albumItem(album, plays);
            item.title = title;
            item.track = n;
            items.append(item);
        }
    }
    sortByCount(items);
    return items;
}

QList<StatisticsItem> CollectionStatistics::recentlyPlayed()
{
    StoredAlbumValues values(m_collection);
    QList<StatisticsItem> items;
    QHash<QString, QDateTime> parsed; // many albums share their insert times' texts
    for (const AlbumIndexNode *album : audioAlbums(m_collection)) {
        values.select(*album);
        if (values.insertCount() <= 0)
            continue;
        for (const QString &text : values.recentInserts()) {
            auto known = parsed.constFind(text);
            if (known == parsed.constEnd())
                known = parsed.insert(text, parseInsertTime(text));
            StatisticsItem item = albumItem(album, 0);
            item.time = *known;
            items.append(item);
        }
    }
    // Times that do not read as times go last.
    std::stable_sort(items.begin(), items.end(),
                     [](const StatisticsItem &a, const StatisticsItem &b) {
                         if (a.time.isValid() != b.time.isValid())
                             return a.time.isValid();
                         return a.time > b.time;
                     });
    return items;
}

QString statisticsTimeText(const QDateTime &when, const QDateTime &now)
{
    const QLocale locale = QLocale::system();
    const QString time = locale.toString(when.time(), QLocale::ShortFormat);
    const qint64 age = when.secsTo(now);
    if (age >= 0 && age < 24 * 3600)
        return time;
    if (age >= 0 && age < 7 * 24 * 3600)
        return locale.toString(when.date(), QStringLiteral("ddd")) + QLatin1Char(' ') + time;
    return locale.toString(when.date(), QLocale::LongFormat) + QLatin1Char(' ') + time;
}

} // namespace Orbisong
