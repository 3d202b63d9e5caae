#pragma once

#include <QString>

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <vector>

namespace Orbisong {

class TDynaTable;
class ScriptTextFile;

// Type ids shared by scripts, host declarations and the libraries.
enum TypeId : int {
    TypePointer = 1,
    TypeString = 2,
    TypePChar = 3,
    TypeReal = 5,
    TypeInteger = 8,
    TypeWord = 9,
    TypeByte = 10,
    TypeLongint = 11,
    TypeChar = 12,
    TypeBoolean = 13,
    TypeText = 14,
    TypeBool = 16,
    FirstScriptType = 17
};

inline bool isNumericType(int t)
{
    constexpr quint32 numeric = (1u << TypeReal) | (1u << TypeInteger) | (1u << TypeWord) |
                                (1u << TypeByte) | (1u << TypeLongint);
    return quint32(t) < 32 && ((numeric >> t) & 1u);
}
inline bool isIntegerType(int t)
{
    return t == TypeInteger || t == TypeWord || t == TypeByte || t == TypeLongint;
}
inline bool isStringType(int t)
{
    return t == TypeString || t == TypePChar || t == TypeChar;
}
inline bool isBooleanType(int t)
{
    return t == TypeBoolean || t == TypeBool;
}

// Real to integer conversions saturate, and NaN becomes 0, so no input is undefined.
qint64 saturate(double value, double low, double high);
qint32 toInt32Slow(double value);
inline qint32 toInt32(double value)
{
    if (value >= -2147483648.0 && value <= 2147483647.0) {
        const qint32 i = qint32(value);
        if (double(i) == value)
            return i;
    }
    return toInt32Slow(value);
}
// The value as stored in a variable of type `type` (rounded and clamped for integer types).
double storedNumberSlow(int type, double value);
inline double storedNumber(int type, double value)
{
    if (type == TypeReal)
        return value;
    if ((type == TypeLongint || type == TypeInteger) && value >= -2147483648.0 &&
        value <= 2147483647.0 && double(qint32(value)) == value)
        return value;
    return storedNumberSlow(type, value);
}

// The text cut to `limit` characters; a short text is moved through without a copy.
inline QString limitedText(QString text, qsizetype limit)
{
    if (text.size() > limit)
        text.truncate(limit);
    return text;
}

// A value, or the storage of one variable, array element or record member.
struct Cell
{
    int type = 0;
    double num = 0;            // numbers, booleans (0 or 1), pointers
    QString str;               // STRING, PCHAR, CHAR
    std::vector<Cell> members; // record and class members in declaration order
    std::shared_ptr<TDynaTable> table;
    std::shared_ptr<ScriptTextFile> file;

    bool boolean() const { return num != 0; }
};

struct TypeMember
{
    QString name;
    int sym = -1;
    int type = 0;
    bool key = false;
    int offset = 0;
};

struct TypeInfo
{
    int id = 0;
    QString name;
    int size = 0;
    bool isRecord = false;
    bool isClass = false;
    quint16 keyword = 0;
    std::vector<TypeMember> members;

    int memberIndex(int sym) const
    {
        for (size_t i = 0; i < members.size(); ++i)
            if (members[i].sym == sym)
                return int(i);
        return -1;
    }
};

// A variable or constant. Arrays keep their elements here; by-reference parameters point at
// the caller's storage.
struct Variable
{
    int sym = -1;
    int type = 0;
    bool isConst = false;
    bool isArray = false;
    bool isOpen = false;
    qint32 low = 0;
    qint32 high = -1;
    Cell own;
    Cell *ref = nullptr;
    Variable *alias = nullptr; // a whole array passed by reference
    std::vector<Cell> elements;
    // An open array keeps indices from 0 upwards in a deque, which never moves an element that
    // a by-reference parameter may point at, and far or negative indices in a map.
    // Made on first use: most variables are not open arrays.
    std::unique_ptr<std::deque<Cell>> openDense;
    std::map<qint64, Cell> openElements;

    qint64 openSize() const { return openDense ? qint64(openDense->size()) : 0; }
    qint64 openLow() const
    {
        return openElements.empty() ? 0 : std::min<qint64>(0, openElements.begin()->first);
    }
    qint64 openHigh() const
    {
        qint64 high = openSize() - 1;
        if (!openElements.empty())
            high = std::max(high, openElements.rbegin()->first);
        return high;
    }

    Variable *target() { return alias ? alias : this; }
    Cell &cell() { return ref ? *ref : own; }
};

} // namespace Orbisong
