#pragma once

// The in-memory parts of a TCfgFile, shared by its reading, changing and writing code.

#include "collection/TCfgFile.h"

#include <cstring>

namespace Orbisong {

// A section keeps the bytes it was read from until it is first changed; only then are its
// entries split into a list. Reads of unchanged sections scan those bytes directly, so a
// large file costs little more than reading it.
struct TCfgFile::Section
{
    QByteArray name;
    quint64 sequence = 0;
    QByteArrayView raw; // the entry lines as read, while `split` is false
    bool split = false;
    // Every raw line is already "  entry\r\n", so it can be written as it is.
    bool canonical = false;
    std::vector<QByteArray> entries;
    // Upper-cased key -> position of its first entry, built once a split section grows long,
    // so that writing many keys does not scan every entry for each.
    QHash<QByteArray, int> keys;
};

// Never changed while a snapshot shares it: TCfgFile copies it first.
struct TCfgFile::Block
{
    QByteArray name;
    QByteArray folded; // the name with ASCII letters upper-cased, for lookups
    quint64 sequence = 0;
    std::vector<Section> sections; // in list order
};

namespace CfgText {

inline bool isBlankByte(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

inline QByteArrayView trimmed(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankByte(text[begin]))
        ++begin;
    while (end > begin && isBlankByte(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// Calls `f` with each entry line of raw section bytes until it returns true.
template <typename F> void forEachRawEntry(QByteArrayView raw, F f)
{
    const char *p = raw.data();
    const char *end = p + raw.size();
    while (p < end) {
        const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        const char *lineEnd = lf ? lf : end;
        const QByteArrayView line = trimmed(QByteArrayView(p, lineEnd - p));
        if (line.size() >= 2 && f(line))
            return;
        p = lineEnd + 1;
    }
}

// The block as the file holds it: its block line, section lines and entries, each line
// ending in CR LF.
void appendBlock(QByteArray &out, const TCfgFile::Block &block);

} // namespace CfgText

} // namespace Orbisong
