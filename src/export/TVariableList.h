#pragma once

#include <QHash>
#include <QString>

namespace Orbisong {

// The template processor's variables: names without regard to case, a missing name reads as
// empty text.
class TVariableList
{
public:
    void set(const QString &name, const QString &value);
    QString value(const QString &name) const;
    // The same for names already in upper case, for the processor's hot loops.
    void setUpper(const QString &upperName, const QString &value) { m_values[upperName] = value; }
    QString valueUpper(const QString &upperName) const { return m_values.value(upperName); }

private:
    QHash<QString, QString> m_values;
};

} // namespace Orbisong
