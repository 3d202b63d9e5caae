#pragma once

#include <QHash>
#include <QString>

#include <vector>

namespace Orbisong {

// Gives every upper-case name a small number so that lookups at run time are array reads.
class SymbolTable
{
public:
    static constexpr int MaxNameLength = 30;

    int intern(const QString &upperName);
    int find(const QString &upperName) const { return m_ids.value(upperName, -1); }
    const QString &name(int sym) const { return m_names[sym]; }
    int size() const { return int(m_names.size()); }

    // Names are case-insensitive and cut at the same length everywhere.
    static QString normalise(const QString &name) { return name.left(MaxNameLength).toUpper(); }

private:
    QHash<QString, int> m_ids;
    std::vector<QString> m_names;
};

} // namespace Orbisong
