#include "script/SymbolTable.h"

namespace Orbisong {

int SymbolTable::intern(const QString &upperName)
{
    const auto found = m_ids.constFind(upperName);
    if (found != m_ids.constEnd())
        return *found;
    const int id = int(m_names.size());
    m_names.push_back(upperName);
    m_ids.insert(upperName, id);
    return id;
}

} // namespace Orbisong
