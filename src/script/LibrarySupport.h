#pragma once

#include "script/TQuillan.h"

#include <memory>

namespace Orbisong::Library {

// Argument reading for system routines, which take their arguments from the token stream.
inline void open(TQuillan &e)
{
    e.expect(TokOpenParen, "(");
}
inline void comma(TQuillan &e)
{
    e.expect(TokComma, ",");
}
inline void close(TQuillan &e)
{
    e.expect(TokCloseParen, ")");
}
inline QString stringArg(TQuillan &e)
{
    if (!e.peekIsString())
        e.ReportError(18);
    return e.strExpr();
}
inline double numberArg(TQuillan &e)
{
    return e.numExpr();
}
inline Cell result(int type, double number)
{
    Cell c;
    c.type = type;
    c.num = number;
    return c;
}
inline Cell result(const QString &text)
{
    Cell c;
    c.type = TypeString;
    c.str = text;
    return c;
}
inline Cell none()
{
    return Cell();
}

// Factories of the built-in libraries.
std::unique_ptr<TQuillanPlugIn> makeMathLibrary();
std::unique_ptr<TQuillanPlugIn> makeStringLibrary();
std::unique_ptr<TQuillanPlugIn> makeFileLibrary();
std::unique_ptr<TQuillanPlugIn> makeVarLibrary();
std::unique_ptr<TQuillanPlugIn> makeTableLibrary();
std::unique_ptr<TQuillanPlugIn> makeDateLibrary();
std::unique_ptr<TQuillanPlugIn> makeDirectoryLibrary();
std::unique_ptr<TQuillanPlugIn> makeWinSdkLibrary();
std::unique_ptr<TQuillanPlugIn> makeInteractiveLibrary();

} // namespace Orbisong::Library
