#pragma once

#include <QStringList>

namespace Orbisong {

class Collection;

// The values the drop-down lists of the album windows offer, rebuilt each time one opens.
class FieldChoices
{
public:
    enum Field { Artist, Binder, Owner, Category };

    // The field's values over every audio album of the collection and the text typed now
    // (trimmed); the category also offers the database's eleven categories. Sorted without
    // regard to case, each value once, no empty value.
    static QStringList values(const Collection &collection, Field field, const QString &typed);

    // The eleven database categories as albums store them ("Blues", ..., "Soundtrack").
    static const QStringList &categories();
};

} // namespace Orbisong
