#include "script/LibrarySupport.h"

#include <QDir>
#include <QFileInfo>

namespace Orbisong::Library {

namespace {

// Results are I/O result codes: 0 success, 3 path not found, 5 access denied.
class TDirectoryLibrary : public TQuillanPlugIn
{
public:
    TDirectoryLibrary() : TQuillanPlugIn(QStringLiteral("Directory")) {}

    void registerProcs() override
    {
        TQuillan &e = *ScriptEngine;
        e.RegisterProc(QStringLiteral("function ChDir(s : string) : byte"),
                       [](void *, TQuillan &, TProcParms &p) {
                           p.setInteger(0, QDir::setCurrent(p.asString(1)) ? 0 : 3);
                       });
        e.RegisterProc(QStringLiteral("function MKDir(s : string) : byte"),
                       [](void *, TQuillan &, TProcParms &p) {
                           const QString path = p.asString(1);
                           if (QFileInfo::exists(path))
                               p.setInteger(0, 5);
                           else
                               p.setInteger(0, QDir().mkdir(path) ? 0 : 3);
                       });
        e.RegisterProc(QStringLiteral("function RmKDir(s : string) : byte"),
                       [](void *, TQuillan &, TProcParms &p) {
                           const QString path = p.asString(1);
                           if (!QFileInfo(path).isDir())
                               p.setInteger(0, 3);
                           else
                               p.setInteger(0, QDir().rmdir(path) ? 0 : 5);
                       });
        e.RegisterProc(QStringLiteral("function GetDir(d : byte) : string"),
                       [](void *, TQuillan &, TProcParms &p) {
                           // There are no drive letters here: every drive is the current one.
                           p.setString(0, QDir::currentPath());
                       });
    }
};

} // namespace

std::unique_ptr<TQuillanPlugIn> makeDirectoryLibrary()
{
    return std::make_unique<TDirectoryLibrary>();
}

} // namespace Orbisong::Library
