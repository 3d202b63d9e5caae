#pragma once

#include <QString>

namespace Orbisong {

// The program's compiled-in string table (messages by numeric id).
class StringTable
{
public:
    // The text with the given id; a null string when the table has no such id.
    static QString text(int id);
    static bool contains(int id);
};

} // namespace Orbisong
