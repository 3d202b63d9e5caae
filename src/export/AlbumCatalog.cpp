#include "export/AlbumCatalog.h"

#include "collection/AlbumText.h"

#include <QSet>

#include <algorithm>
#include <numeric>

namespace Orbisong {

namespace {

const QString None = QStringLiteral("(None)");

const QString &rawField(const ExportAlbum &album, int field)
{
    switch (field) {
    case AlbumCatalog::Artist:
        return album.artist;
    case AlbumCatalog::Binder:
        return album.binder;
    case AlbumCatalog::Category:
        return album.category;
    case AlbumCatalog::Owner:
        return album.owner;
    default:
        return album.year;
    }
}

} // namespace

const std::array<QString, AlbumCatalog::FieldCount> &AlbumCatalog::fieldNames()
{
    static const std::array<QString, FieldCount> names = {
        QStringLiteral("ARTIST"), QStringLiteral("BINDER"), QStringLiteral("CATEGORY"),
        QStringLiteral("OWNER"), QStringLiteral("YEAR")};
    return names;
}

QString AlbumCatalog::fieldText(const ExportAlbum &album, int field)
{
    const QString &text = rawField(album, field);
    return text.isEmpty() ? None : text;
}

AlbumCatalog::AlbumCatalog(const QList<ExportAlbum> &albums) : m_albums(albums)
{
    const int n = int(m_albums.size());
    for (int i = 0; i < n; ++i)
        m_byId.insert(m_albums.at(i).id.toUpper(), i);
    for (int field = 0; field < FieldCount; ++field)
        buildField(field);

    std::vector<QString> keys(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        keys[std::size_t(i)] = SortKey(m_albums.at(i).title, 0).toUpper();
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](int a, int b) { return keys[std::size_t(a)] < keys[std::size_t(b)]; });
    m_titleRank.resize(std::size_t(n));
    for (int position = 0; position < n; ++position) {
        m_titleRank[std::size_t(order[std::size_t(position)])] = position;
        m_titleOrder.append(order[std::size_t(position)]);
    }
}

void AlbumCatalog::buildField(int field)
{
    const int n = int(m_albums.size());
    std::vector<QString> &upper = m_upper[std::size_t(field)];
    upper.resize(std::size_t(n));
    FieldIndex &index = m_fields[std::size_t(field)];
    // The first album of each value gives its text and, for artists, its sort key.
    QList<int> firsts;
    for (int i = 0; i < n; ++i) {
        const QString text = fieldText(m_albums.at(i), field);
        upper[std::size_t(i)] = text.toUpper();
        QList<int> &members = index.albumsByValue[upper[std::size_t(i)]];
        if (members.isEmpty())
            firsts.append(i);
        members.append(i);
    }
    QHash<int, QString> keys;
    for (const int i : firsts) {
        const ExportAlbum &album = m_albums.at(i);
        keys.insert(i, field == Artist ? SortKey(fieldText(album, field), album.flags).toUpper()
                                       : upper[std::size_t(i)]);
    }
    std::stable_sort(firsts.begin(), firsts.end(), [&](int a, int b) {
        const QString &ka = keys[a];
        const QString &kb = keys[b];
        return ka != kb ? ka < kb : upper[std::size_t(a)] < upper[std::size_t(b)];
    });
    for (const int i : firsts) {
        index.rank.insert(upper[std::size_t(i)], int(index.sorted.size()));
        index.sorted.append(fieldText(m_albums.at(i), field));
    }
}

int AlbumCatalog::albumOf(const QString &id) const
{
    return m_byId.value(id.toUpper(), -1);
}

QList<int> AlbumCatalog::matching(const std::array<QString, FieldCount> &upperValues) const
{
    int first = -1;
    for (int field = 0; field < FieldCount && first < 0; ++field) {
        if (!upperValues[std::size_t(field)].isEmpty())
            first = field;
    }
    if (first < 0) {
        QList<int> all(m_albums.size());
        std::iota(all.begin(), all.end(), 0);
        return all;
    }
    const QList<int> candidates =
        m_fields[std::size_t(first)].albumsByValue.value(upperValues[std::size_t(first)]);
    QList<int> result;
    for (const int i : candidates) {
        bool all = true;
        for (int field = first + 1; field < FieldCount && all; ++field) {
            const QString &wanted = upperValues[std::size_t(field)];
            all = wanted.isEmpty() || m_upper[std::size_t(field)][std::size_t(i)] == wanted;
        }
        if (all)
            result.append(i);
    }
    return result;
}

QStringList AlbumCatalog::values(int field, const QList<int> *albums) const
{
    const FieldIndex &index = m_fields[std::size_t(field)];
    if (!albums || albums->size() == m_albums.size())
        return index.sorted;
    QSet<int> ranks;
    for (const int i : *albums)
        ranks.insert(index.rank.value(m_upper[std::size_t(field)][std::size_t(i)]));
    QList<int> ordered(ranks.begin(), ranks.end());
    std::sort(ordered.begin(), ordered.end());
    QStringList result;
    result.reserve(ordered.size());
    for (const int rank : ordered)
        result.append(index.sorted.at(rank));
    return result;
}

QStringList AlbumCatalog::albumIds(const QList<int> *albums) const
{
    QList<int> ordered = albums && albums->size() != m_albums.size() ? *albums : m_titleOrder;
    if (albums && albums->size() != m_albums.size()) {
        std::sort(ordered.begin(), ordered.end(), [this](int a, int b) {
            return m_titleRank[std::size_t(a)] < m_titleRank[std::size_t(b)];
        });
    }
    QStringList ids;
    ids.reserve(ordered.size());
    for (const int i : ordered)
        ids.append(m_albums.at(i).id);
    return ids;
}

} // namespace Orbisong
