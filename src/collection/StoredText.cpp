#include "collection/StoredText.h"

#include <cstring>

namespace Orbisong {

namespace {

// Windows-1252 characters of the bytes 0x80..0x9F; the five unassigned bytes keep their
// C1 control code points.
const char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t cp1252(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return Cp1252High[byte - 0x80];
    return byte;
}

// The length of the valid UTF-8 sequence at `i`, or 0 when the bytes there are not one.
// Overlong forms, surrogates and code points above U+10FFFF are not valid.
qsizetype utf8SequenceAt(const unsigned char *s, qsizetype i, qsizetype size, char32_t *code)
{
    const unsigned char lead = s[i];
    qsizetype length;
    char32_t value;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > size)
        return 0;
    for (qsizetype k = 1; k < length; ++k) {
        const unsigned char c = s[i + k];
        if ((c & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (c & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *code = value;
    return length;
}

// The length of the leading run of ASCII bytes, eight at a time where it can.
qsizetype asciiPrefix(const unsigned char *s, qsizetype size)
{
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, s + i, 8);
        if (word & 0x8080808080808080ull)
            break;
    }
    while (i < size && s[i] < 0x80)
        ++i;
    return i;
}

bool isAscii(QByteArrayView bytes)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.data());
    return asciiPrefix(s, bytes.size()) == bytes.size();
}

} // namespace

QString decodeStoredText(QByteArrayView bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    QString result;
    result.reserve(size);
    for (qsizetype i = 0; i < size;) {
        if (s[i] < 0x80) {
            result += QChar(s[i++]);
            continue;
        }
        char32_t code = 0;
        const qsizetype length = utf8SequenceAt(s, i, size, &code);
        if (length == 0) {
            result += QChar(cp1252(s[i++]));
            continue;
        }
        const char32_t one[1] = {code};
        result += QString::fromUcs4(one, 1);
        i += length;
    }
    return result;
}

bool isValidUtf8(QByteArrayView bytes)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = asciiPrefix(s, size); i < size;) {
        if (s[i] < 0x80) {
            i += asciiPrefix(s + i, size - i);
            continue;
        }
        char32_t code = 0;
        const qsizetype length = utf8SequenceAt(s, i, size, &code);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

QByteArray toUtf8Stored(QByteArrayView bytes)
{
    if (isValidUtf8(bytes))
        return bytes.toByteArray();
    return decodeStoredText(bytes).toUtf8();
}

} // namespace Orbisong
