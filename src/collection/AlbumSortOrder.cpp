#include "collection/AlbumSortOrder.h"

#include "collection/AlbumText.h"

#include <algorithm>
#include <vector>

namespace Orbisong {

namespace {

constexpr int MaxLetters = 5;

bool isSortLetter(char letter)
{
    return letter == 'A' || letter == 'T' || letter == 'C' || letter == 'Y' || letter == 'O';
}

QString sortText(const AlbumIndexNode &album, char letter)
{
    switch (letter) {
    case 'A':
        return SortKey(album.artist, album.flags);
    case 'T':
        return SortKey(album.title, 0);
    case 'C':
        return album.category;
    case 'Y':
        return album.year;
    case 'O':
        return album.owner;
    }
    return {};
}

} // namespace

AlbumSortOrder::AlbumSortOrder(const QByteArray &letters)
{
    for (const char c : letters) {
        if (isSortLetter(c) && !m_letters.contains(c) && m_letters.size() < MaxLetters)
            m_letters.append(c);
    }
}

void AlbumSortOrder::moveToFront(char letter)
{
    if (!isSortLetter(letter))
        return;
    m_letters.removeIf([letter](char c) { return c == letter; });
    m_letters.prepend(letter);
    m_letters.truncate(MaxLetters);
}

char AlbumSortOrder::letterOfColumn(int column)
{
    static const char letters[] = {'T', 'A', 'C', 'Y', 'O'};
    return column >= 0 && column < int(sizeof(letters)) ? letters[column] : 0;
}

bool AlbumSortOrder::lessThan(const AlbumIndexNode &a, const AlbumIndexNode &b) const
{
    for (const char letter : m_letters) {
        const int order = sortText(a, letter).compare(sortText(b, letter), Qt::CaseInsensitive);
        if (order != 0)
            return order < 0;
    }
    return false;
}

void AlbumSortOrder::sort(QList<const AlbumIndexNode *> &albums) const
{
    // SortKey and case folding cost far more than a comparison, so each album's keys are
    // made once; folded keys then compare as plain text. Positions are sorted, not keys.
    const auto letterCount = std::size_t(m_letters.size());
    const auto count = std::size_t(albums.size());
    std::vector<QString> keys(count * letterCount);
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i) {
        order[i] = i;
        for (std::size_t l = 0; l < letterCount; ++l)
            keys[i * letterCount + l] =
                sortText(*albums.at(qsizetype(i)), m_letters.at(qsizetype(l))).toCaseFolded();
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        for (std::size_t l = 0; l < letterCount; ++l) {
            const int c = QString::compare(keys[a * letterCount + l], keys[b * letterCount + l]);
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    const QList<const AlbumIndexNode *> unsorted = albums;
    for (std::size_t i = 0; i < count; ++i)
        albums[qsizetype(i)] = unsorted.at(qsizetype(order[i]));
}

} // namespace Orbisong
