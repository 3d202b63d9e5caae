#include "script/BuiltinLibraries.h"

#include "script/LibrarySupport.h"

namespace Orbisong {

void attachBuiltinLibraries(TQuillan &engine)
{
    using namespace Library;
    engine.AddPlugIn(makeMathLibrary());
    engine.AddPlugIn(makeStringLibrary());
    engine.AddPlugIn(makeFileLibrary());
    engine.AddPlugIn(makeVarLibrary());
    engine.AddPlugIn(makeTableLibrary());
    engine.AddPlugIn(makeDateLibrary());
    engine.AddPlugIn(makeDirectoryLibrary());
    engine.AddPlugIn(makeWinSdkLibrary());
    engine.AddPlugIn(makeInteractiveLibrary());
}

} // namespace Orbisong
