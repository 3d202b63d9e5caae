#pragma once

#include "export/ExportAlbum.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace Orbisong {

// The exported albums arranged for the template loops: per field the distinct values in
// their sorted order and the albums holding each, the albums in title order, and the albums
// by ID. Built once, so that a loop nested in another costs the size of its own list.
class AlbumCatalog
{
public:
    // The fields a loop can run over and filter by, as FOREACH names them.
    enum Field { Artist, Binder, Category, Owner, Year, FieldCount };
    static const std::array<QString, FieldCount> &fieldNames(); // upper case

    explicit AlbumCatalog(const QList<ExportAlbum> &albums);

    const QList<ExportAlbum> &albums() const { return m_albums; }
    // The album of an ID (without regard to case), -1 when none.
    int albumOf(const QString &id) const;
    // The field's text, "(None)" when empty.
    static QString fieldText(const ExportAlbum &album, int field);

    // Constraint per field: an upper-cased value, or empty for none. The albums matching all
    // of them, in collection order.
    QList<int> matching(const std::array<QString, FieldCount> &upperValues) const;
    // The distinct values of `field` among `albums` (all albums when null), sorted.
    QStringList values(int field, const QList<int> *albums) const;
    // The albums' IDs in title order.
    QStringList albumIds(const QList<int> *albums) const;

private:
    struct FieldIndex
    {
        QHash<QString, QList<int>> albumsByValue; // by upper-cased text
        QHash<QString, int> rank;                 // upper-cased text -> sorted position
        QStringList sorted;                       // display texts
    };

    void buildField(int field);

    QList<ExportAlbum> m_albums;
    std::array<std::vector<QString>, FieldCount> m_upper; // per field, per album
    std::array<FieldIndex, FieldCount> m_fields;
    QHash<QString, int> m_byId;
    std::vector<int> m_titleRank; // per album
    QList<int> m_titleOrder;
};

} // namespace Orbisong
