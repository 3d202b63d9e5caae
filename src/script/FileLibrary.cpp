#include "script/LibrarySupport.h"
#include "script/ScriptTextFile.h"

namespace Orbisong::Library {

namespace {

// The TEXT variable named by the next argument.
ScriptTextFile *fileArg(TQuillan &e)
{
    const Token &t = e.peekToken();
    const quint16 code = e.resolvedCode(t);
    if (code != TokLocalVar && code != TokGlobalVar)
        e.ReportError(38);
    const TQuillan::VarRef ref = e.variableRef();
    if (ref.type != TypeText || !ref.cell->file)
        e.ReportError(38);
    return ref.cell->file.get();
}

// I/O failures are results that the script tests, never script errors.
class TFileLibrary : public TQuillanPlugIn
{
public:
    TFileLibrary() : TQuillanPlugIn(QStringLiteral("File")) {}

    void registerSysProcs() override
    {
        TQuillan &e = *ScriptEngine;
        auto assign = [](TQuillanPlugIn *, TQuillan &engine) {
            open(engine);
            ScriptTextFile *f = fileArg(engine);
            comma(engine);
            f->name = stringArg(engine);
            close(engine);
            return none();
        };
        e.RegisterSysProc(QStringLiteral("assign"), 0, false, assign, this);
        e.RegisterSysProc(QStringLiteral("assignFile"), 0, false, assign, this);
        auto opener = [](QIODevice::OpenMode mode) {
            return [mode](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                ScriptTextFile *f = fileArg(engine);
                close(engine);
                return result(TypeByte, f->open(mode));
            };
        };
        e.RegisterSysProc(QStringLiteral("reset"), TypeByte, true, opener(QIODevice::ReadOnly),
                          this);
        e.RegisterSysProc(QStringLiteral("rewrite"), TypeByte, true,
                          opener(QIODevice::WriteOnly | QIODevice::Truncate), this);
        e.RegisterSysProc(QStringLiteral("append"), TypeByte, true,
                          opener(QIODevice::WriteOnly | QIODevice::Append), this);
        auto closer = [](TQuillanPlugIn *, TQuillan &engine) {
            open(engine);
            ScriptTextFile *f = fileArg(engine);
            close(engine);
            return result(TypeByte, f->close());
        };
        e.RegisterSysProc(QStringLiteral("close"), TypeByte, true, closer, this);
        e.RegisterSysProc(QStringLiteral("closeFile"), TypeByte, true, closer, this);
        e.RegisterSysProc(
            QStringLiteral("eof"), TypeBoolean, true,
            [](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                ScriptTextFile *f = fileArg(engine);
                close(engine);
                return result(TypeBoolean, f->atEnd() ? 1 : 0);
            },
            this);
    }
};

} // namespace

std::unique_ptr<TQuillanPlugIn> makeFileLibrary()
{
    return std::make_unique<TFileLibrary>();
}

} // namespace Orbisong::Library
