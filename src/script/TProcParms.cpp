#include "script/TProcParms.h"

namespace Orbisong {

namespace {

[[noreturn]] void badType()
{
    throw ScriptCallError(QStringLiteral("Bad Parameter Type"));
}

} // namespace

const TProcParms::Item &TProcParms::item(int index) const
{
    if (index < 0 || index >= int(m_items.size()))
        throw ScriptCallError(QStringLiteral("Parameter Index out of range"));
    return m_items[size_t(index)];
}

TProcParms::Item &TProcParms::writableItem(int index)
{
    const Item &it = item(index);
    if (!it.writable)
        throw ScriptCallError(QStringLiteral("Can not write to a Read Only parameter"));
    return m_items[size_t(index)];
}

bool TProcParms::asBoolean(int index) const
{
    const Item &it = item(index);
    if (!isBooleanType(it.type))
        badType();
    return it.value.num != 0;
}

qint32 TProcParms::asInteger(int index) const
{
    const Item &it = item(index);
    if (!isIntegerType(it.type))
        badType();
    return toInt32(it.value.num);
}

double TProcParms::asReal(int index) const
{
    const Item &it = item(index);
    if (!isNumericType(it.type))
        badType();
    return it.value.num;
}

QString TProcParms::asString(int index) const
{
    const Item &it = item(index);
    if (!isStringType(it.type))
        badType();
    return it.value.str;
}

QChar TProcParms::asChar(int index) const
{
    const Item &it = item(index);
    if (!isStringType(it.type))
        badType();
    return it.value.str.isEmpty() ? QChar() : it.value.str.at(0);
}

void TProcParms::setBoolean(int index, bool value)
{
    Item &it = writableItem(index);
    if (!isBooleanType(it.type))
        badType();
    it.value.num = value ? 1 : 0;
}

void TProcParms::setInteger(int index, qint64 value)
{
    Item &it = writableItem(index);
    if (!isNumericType(it.type))
        badType();
    it.value.num = storedNumber(it.type, double(value));
}

void TProcParms::setReal(int index, double value)
{
    Item &it = writableItem(index);
    if (!isNumericType(it.type))
        badType();
    it.value.num = storedNumber(it.type, value);
}

void TProcParms::setString(int index, const QString &value)
{
    Item &it = writableItem(index);
    if (!isStringType(it.type))
        badType();
    it.value.str = it.type == TypeString ? value.left(255)
                   : it.type == TypeChar ? value.left(1)
                                         : value;
}

void TProcParms::setChar(int index, QChar value)
{
    setString(index, QString(value));
}

} // namespace Orbisong
