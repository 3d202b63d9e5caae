#include "export/TVariableList.h"

namespace Orbisong {

void TVariableList::set(const QString &name, const QString &value)
{
    m_values[name.toUpper()] = value;
}

QString TVariableList::value(const QString &name) const
{
    return m_values.value(name.toUpper());
}

} // namespace Orbisong
