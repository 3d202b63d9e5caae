#include "script/TDynaTable.h"

#include <QFile>
#include <QSaveFile>

#include <cmath>
#include <cstring>

namespace Orbisong {

void encodeReal48(double value, unsigned char out[6])
{
    std::memset(out, 0, 6);
    if (value == 0 || std::isnan(value))
        return;
    const bool negative = value < 0;
    int e = 0;
    const double m = std::frexp(std::fabs(value), &e);
    int exponent = e + 128;
    quint64 fraction = quint64(std::llround((2 * m - 1) * double(quint64(1) << 39)));
    if (fraction == (quint64(1) << 39)) {
        fraction = 0;
        ++exponent;
    }
    if (exponent <= 0)
        return;
    if (exponent > 255) {
        exponent = 255;
        fraction = (quint64(1) << 39) - 1;
    }
    out[0] = static_cast<unsigned char>(exponent);
    for (int i = 0; i < 5; ++i)
        out[1 + i] = static_cast<unsigned char>((fraction >> (8 * i)) & 0xFF);
    out[5] = static_cast<unsigned char>((out[5] & 0x7F) | (negative ? 0x80 : 0));
}

double decodeReal48(const unsigned char in[6])
{
    if (in[0] == 0)
        return 0;
    quint64 fraction = 0;
    for (int i = 0; i < 5; ++i)
        fraction |= quint64(in[1 + i]) << (8 * i);
    fraction &= (quint64(1) << 39) - 1;
    const double m = 1.0 + double(fraction) / double(quint64(1) << 39);
    const double v = std::ldexp(m, int(in[0]) - 129);
    return (in[5] & 0x80) ? -v : v;
}

TDynaTable::TDynaTable(const TypeInfo &type, std::vector<TypeInfo> const *types)
    : m_type(type), m_types(types)
{
    for (size_t i = 0; i < m_type.members.size(); ++i)
        if (m_type.members[i].key)
            m_keyMembers.push_back(int(i));
}

int TDynaTable::sizeOf(int type) const
{
    if (type >= FirstScriptType && type < int(m_types->size()))
        return (*m_types)[size_t(type)].size;
    switch (type) {
    case TypeByte:
    case TypeBoolean:
    case TypeChar:
        return 1;
    case TypeBool:
    case TypeWord:
        return 2;
    case TypeString:
        return 256;
    case TypeReal:
        return 6;
    default:
        return 4;
    }
}

int TDynaTable::recordSize() const
{
    return sizeOf(m_type.id);
}

int TDynaTable::compare(const Cell &a, const Cell &b, int depth) const
{
    const int parts =
        depth < 0 ? int(m_keyMembers.size()) : std::min(depth, int(m_keyMembers.size()));
    for (int p = 0; p < parts; ++p) {
        const int m = m_keyMembers[size_t(p)];
        const Cell &x = a.members[size_t(m)];
        const Cell &y = b.members[size_t(m)];
        int c = 0;
        if (isStringType(m_type.members[size_t(m)].type))
            c = x.str.compare(y.str);
        else
            c = x.num < y.num ? -1 : (x.num > y.num ? 1 : 0);
        if (c != 0)
            return c < 0 ? -1 : 1;
    }
    return 0;
}

int TDynaTable::lowerBound(const Cell &key, int depth) const
{
    int lo = 0;
    int hi = int(m_rows.size());
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (compare(m_rows[size_t(mid)], key, depth) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

int TDynaTable::find(const Cell &key, int depth) const
{
    if (key.members.size() != m_type.members.size())
        return -1;
    const int at = lowerBound(key, depth);
    if (at < int(m_rows.size()) && compare(m_rows[size_t(at)], key, depth) == 0)
        return at;
    return -1;
}

void TDynaTable::post(const Cell &record)
{
    const int at = lowerBound(record, -1);
    if (at < int(m_rows.size()) && compare(m_rows[size_t(at)], record) == 0)
        m_rows[size_t(at)] = record;
    else
        m_rows.insert(m_rows.begin() + at, record);
}

bool TDynaTable::removeCurrent()
{
    const int at = findCurrent();
    if (at < 0)
        return false;
    m_rows.erase(m_rows.begin() + at);
    return true;
}

void TDynaTable::encode(const Cell &cell, int type, QByteArray &out) const
{
    if (type >= FirstScriptType) {
        const TypeInfo &t = (*m_types)[size_t(type)];
        for (size_t i = 0; i < t.members.size(); ++i)
            encode(cell.members[i], t.members[i].type, out);
        return;
    }
    auto putInt = [&out](qint64 v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.append(char((v >> (8 * i)) & 0xFF));
    };
    switch (type) {
    case TypeByte:
    case TypeBoolean:
        putInt(qint64(cell.num), 1);
        break;
    case TypeChar:
        putInt(cell.str.isEmpty() ? 0 : cell.str.at(0).unicode(), 1);
        break;
    case TypeBool:
    case TypeWord:
        putInt(qint64(cell.num), 2);
        break;
    case TypeInteger:
    case TypeLongint:
        putInt(qint64(cell.num), 4);
        break;
    case TypeReal: {
        unsigned char r[6];
        encodeReal48(cell.num, r);
        out.append(reinterpret_cast<const char *>(r), 6);
        break;
    }
    case TypeString: {
        QByteArray bytes = cell.str.toUtf8().left(255);
        out.append(char(bytes.size()));
        bytes.resize(255, '\0');
        out.append(bytes);
        break;
    }
    default:
        // Addresses mean nothing in another run: pointers, PCHARs and files are stored as NIL.
        putInt(0, 4);
        break;
    }
}

bool TDynaTable::decode(const char *&data, int type, Cell &cell) const
{
    cell.type = type;
    if (type >= FirstScriptType) {
        const TypeInfo &t = (*m_types)[size_t(type)];
        cell.members.resize(t.members.size());
        for (size_t i = 0; i < t.members.size(); ++i)
            decode(data, t.members[i].type, cell.members[i]);
        return true;
    }
    auto getInt = [&data](int bytes, bool isSigned) {
        quint64 v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= quint64(static_cast<unsigned char>(data[i])) << (8 * i);
        data += bytes;
        if (isSigned && bytes == 4)
            return double(qint32(quint32(v)));
        return double(v);
    };
    switch (type) {
    case TypeByte:
    case TypeBoolean:
        cell.num = getInt(1, false);
        break;
    case TypeChar: {
        const int c = int(getInt(1, false));
        cell.str = c ? QString(QChar(c)) : QString();
        break;
    }
    case TypeBool:
    case TypeWord:
        cell.num = getInt(2, false);
        break;
    case TypeInteger:
    case TypeLongint:
        cell.num = getInt(4, true);
        break;
    case TypeReal:
        cell.num = decodeReal48(reinterpret_cast<const unsigned char *>(data));
        data += 6;
        break;
    case TypeString: {
        const int length = static_cast<unsigned char>(data[0]);
        cell.str = QString::fromUtf8(data + 1, length);
        data += 256;
        break;
    }
    default:
        data += 4;
        cell.num = 0;
        cell.str.clear();
        break;
    }
    return true;
}

bool TDynaTable::save(const QString &fileName, QString *error) const
{
    QByteArray bytes;
    for (const Cell &row : m_rows)
        encode(row, m_type.id, bytes);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool TDynaTable::load(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    const int size = recordSize();
    if (size <= 0 || bytes.size() % size != 0) {
        *error = QStringLiteral("File size is not a multiple of the record size");
        return false;
    }
    m_rows.clear();
    const char *data = bytes.constData();
    for (qsizetype at = 0; at < bytes.size(); at += size) {
        Cell row;
        decode(data, m_type.id, row);
        post(row);
    }
    return true;
}

} // namespace Orbisong
