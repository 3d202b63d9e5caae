#pragma once

#include "script/ScriptValue.h"

#include <stdexcept>
#include <vector>

namespace Orbisong {

// Thrown by parameter accessors and host routines; the engine reports the text as a run-time
// error of the script.
class ScriptCallError : public std::runtime_error
{
public:
    explicit ScriptCallError(const QString &text) : std::runtime_error(text.toStdString()) {}
};

// The arguments of a declared host routine, numbered from 1, and its result (number 0).
class TProcParms
{
public:
    struct Item
    {
        int type = 0;
        bool writable = false;
        Cell value;
    };

    int count() const { return int(m_items.size()) - 1; }
    int type(int index) const { return item(index).type; }

    bool asBoolean(int index) const;
    qint32 asInteger(int index) const;
    double asReal(int index) const;
    QString asString(int index) const;
    QChar asChar(int index) const;

    void setBoolean(int index, bool value);
    void setInteger(int index, qint64 value);
    void setReal(int index, double value);
    void setString(int index, const QString &value);
    void setChar(int index, QChar value);

    // Used by the engine while it builds the block.
    std::vector<Item> &items() { return m_items; }
    const Item &item(int index) const;

private:
    Item &writableItem(int index);

    std::vector<Item> m_items;
};

} // namespace Orbisong
