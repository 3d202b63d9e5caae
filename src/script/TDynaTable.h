#pragma once

#include "script/ScriptValue.h"

#include <QString>

#include <vector>

namespace Orbisong {

// The rows of a TABLE OF recordtype variable: records of one record type, kept sorted by the
// type's KEY members in member order. A row whose key exists replaces the stored row.
class TDynaTable
{
public:
    static constexpr int MaxRecordSize = 65000;

    explicit TDynaTable(const TypeInfo &type, std::vector<TypeInfo> const *types);

    const TypeInfo &recordType() const { return m_type; }
    int count() const { return int(m_rows.size()); }
    const Cell &row(int i) const { return m_rows[size_t(i)]; }
    int recordSize() const;

    void setKey(const Cell &record) { m_key = record; }
    // Compares the first `depth` key parts only; -1 compares all of them.
    int find(const Cell &key, int depth = -1) const;
    int findCurrent() const { return find(m_key); }
    void post(const Cell &record);
    bool removeCurrent();
    void clear() { m_rows.clear(); }

    // Records are stored with a fixed size; pointer-like members are written as NIL.
    bool save(const QString &fileName, QString *error) const;
    bool load(const QString &fileName, QString *error);

    int compare(const Cell &a, const Cell &b, int depth = -1) const;

private:
    int lowerBound(const Cell &key, int depth) const;
    void encode(const Cell &cell, int type, QByteArray &out) const;
    bool decode(const char *&data, int type, Cell &cell) const;
    int sizeOf(int type) const;

    TypeInfo m_type;
    std::vector<TypeInfo> const *m_types;
    std::vector<int> m_keyMembers;
    std::vector<Cell> m_rows;
    Cell m_key;
};

// 6-byte floating point format of stored records.
void encodeReal48(double value, unsigned char out[6]);
double decodeReal48(const unsigned char in[6]);

} // namespace Orbisong
