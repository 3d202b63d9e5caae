#pragma once

#include "collection/AlbumIndexNode.h"

#include <QByteArray>
#include <QList>

namespace Orbisong {

// The collection window's album order: up to 5 letters out of "A" artist, "T" title,
// "C" category, "Y" year and "O" owner, compared one after the other without regard to case
// until two albums differ. Artist and title compare by their SortKey (the artist with the
// album's flags).
class AlbumSortOrder
{
public:
    // Letters that are not one of the five, and repeated letters, are dropped.
    explicit AlbumSortOrder(const QByteArray &letters = "ATCYO");

    QByteArray letters() const { return m_letters; }
    // A click on a column header: the letter goes first, the others keep their order, and the
    // order is cut to 5 letters.
    void moveToFront(char letter);
    // The letter of a list column: 0 Title 'T', 1 Artist 'A', 2 Category 'C', 3 Year 'Y',
    // 4 Owner 'O'; 0 for any other column.
    static char letterOfColumn(int column);

    bool lessThan(const AlbumIndexNode &a, const AlbumIndexNode &b) const;
    // Stable; each album's keys are computed once.
    void sort(QList<const AlbumIndexNode *> &albums) const;

private:
    QByteArray m_letters;
};

} // namespace Orbisong
