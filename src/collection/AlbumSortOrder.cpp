#include "collection/AlbumSortOrder.h"

#include "collection/AlbumText.h"

#include <algorithm>
#include <array>
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
    // made once; folded keys then compare as plain text.
    struct Entry
    {
        const AlbumIndexNode *album;
        std::array<QString, MaxLetters> keys;
    };
    const qsizetype letterCount = m_letters.size();
    std::vector<Entry> entries;
    entries.reserve(std::size_t(albums.size()));
    for (const AlbumIndexNode *album : std::as_const(albums)) {
        Entry entry{album, {}};
        for (qsizetype i = 0; i < letterCount; ++i)
            entry.keys[std::size_t(i)] = sortText(*album, m_letters.at(i)).toCaseFolded();
        entries.push_back(std::move(entry));
    }
    std::stable_sort(entries.begin(), entries.end(), [letterCount](const Entry &a, const Entry &b) {
        for (qsizetype i = 0; i < letterCount; ++i) {
            const int order = QString::compare(a.keys[std::size_t(i)], b.keys[std::size_t(i)]);
            if (order != 0)
                return order < 0;
        }
        return false;
    });
    for (std::size_t i = 0; i < entries.size(); ++i)
        albums[qsizetype(i)] = entries[i].album;
}

} // namespace Orbisong
