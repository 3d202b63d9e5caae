#include "collection/CollectionStatistics.h"

#include "collection/AlbumGrouping.h"
#include "collection/Collection.h"
#include "collection/StoredAlbumValues.h"

#include <QHash>
#include <QLocale>

#include <algorithm>
#include <functional>
#include <limits>
#include <vector>

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

// Largest value first, equal values in list order. The items are sorted through their values
// and positions only: moving whole items, and comparing times, costs far more.
void sortByValue(QList<StatisticsItem> &items, const std::function<qint64(qsizetype)> &value)
{
    std::vector<std::pair<qint64, qsizetype>> order;
    order.reserve(std::size_t(items.size()));
    for (qsizetype i = 0; i < items.size(); ++i)
        order.emplace_back(value(i), i);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    QList<StatisticsItem> sorted;
    sorted.reserve(items.size());
    for (const auto &entry : order)
        sorted.append(std::move(items[entry.second]));
    items = std::move(sorted);
}

void sortByCount(QList<StatisticsItem> &items)
{
    sortByValue(items, [&items](qsizetype i) { return items.at(i).count; });
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
            items.append(std::move(item));
        }
    }
    sortByCount(items);
    return items;
}

QList<StatisticsItem> CollectionStatistics::recentlyPlayed()
{
    StoredAlbumValues values(m_collection);
    QList<StatisticsItem> items;
    // Many albums share their insert times' texts; each is read once.
    struct Time
    {
        QDateTime time;
        qint64 order; // unreadable times go last
    };
    QHash<QString, Time> parsed;
    std::vector<qint64> times; // per item
    for (const AlbumIndexNode *album : audioAlbums(m_collection)) {
        values.select(*album);
        if (values.insertCount() <= 0)
            continue;
        for (const QString &text : values.recentInserts()) {
            auto known = parsed.constFind(text);
            if (known == parsed.constEnd()) {
                const QDateTime time = parseInsertTime(text);
                known = parsed.insert(text,
                                      {time, time.isValid() ? time.toMSecsSinceEpoch()
                                                            : std::numeric_limits<qint64>::min()});
            }
            StatisticsItem item = albumItem(album, 0);
            item.time = known->time;
            times.push_back(known->order);
            items.append(std::move(item));
        }
    }
    sortByValue(items, [&times](qsizetype i) { return times[std::size_t(i)]; });
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
