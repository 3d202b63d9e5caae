#include "script/LibrarySupport.h"

namespace Orbisong::Library {

namespace {

class TVarLibrary : public TQuillanPlugIn
{
public:
    TVarLibrary() : TQuillanPlugIn(QStringLiteral("Var")) {}

    void registerProcs() override
    {
        ScriptEngine->RegisterProc(
            QStringLiteral("procedure evaluate(cmd : string)"),
            [](void *, TQuillan &e, TProcParms &p) { e.evaluate(p.asString(1)); });
    }

    void registerSysProcs() override
    {
        TQuillan &e = *ScriptEngine;
        auto step = [](double sign) {
            return [sign](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                const TQuillan::VarRef ref = engine.variableRef();
                if (!isNumericType(ref.type) || (ref.whole && ref.var->isArray))
                    engine.ReportError(12);
                if (ref.var->isConst)
                    engine.ReportError(25);
                double amount = 1;
                if (engine.accept(TokComma))
                    amount = engine.numExpr();
                close(engine);
                ref.cell->num = storedNumber(ref.type, ref.cell->num + sign * amount);
                return none();
            };
        };
        e.RegisterSysProc(QStringLiteral("inc"), 0, false, step(1), this);
        e.RegisterSysProc(QStringLiteral("dec"), 0, false, step(-1), this);
        auto bound = [](bool high) {
            return [high](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                const TQuillan::VarRef ref = engine.variableRef();
                close(engine);
                Variable *v = ref.var;
                if (!v->isArray || !ref.whole)
                    engine.ReportError(49);
                if (v->isOpen) {
                    // An open array reaches from 0 to its highest assigned index.
                    return result(TypeInteger, double(high ? v->openHigh() : v->openLow()));
                }
                return result(TypeInteger, high ? v->high : v->low);
            };
        };
        e.RegisterSysProc(QStringLiteral("lowBound"), TypeInteger, true, bound(false), this);
        e.RegisterSysProc(QStringLiteral("low"), TypeInteger, true, bound(false), this);
        e.RegisterSysProc(QStringLiteral("highBound"), TypeInteger, true, bound(true), this);
        e.RegisterSysProc(QStringLiteral("high"), TypeInteger, true, bound(true), this);
    }
};

} // namespace

std::unique_ptr<TQuillanPlugIn> makeVarLibrary()
{
    return std::make_unique<TVarLibrary>();
}

} // namespace Orbisong::Library
