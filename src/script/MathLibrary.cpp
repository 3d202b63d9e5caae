#include "script/LibrarySupport.h"

#include <QRandomGenerator>

#include <cmath>
#include <numbers>

namespace Orbisong::Library {

namespace {

class TMathLibrary : public TQuillanPlugIn
{
public:
    TMathLibrary() : TQuillanPlugIn(QStringLiteral("Math")) {}

    void registerConsts() override
    {
        Cell pi;
        pi.num = std::numbers::pi;
        ScriptEngine->RegisterConst(QStringLiteral("pi"), TypeReal, pi);
    }

    void registerProcs() override
    {
        TQuillan &e = *ScriptEngine;
        // Arguments outside a function's domain end the run with an error instead of a NaN.
        auto real = [&e](const char *name, std::function<double(double)> f,
                         std::function<bool(double)> valid = {}) {
            const QString routine = QString::fromLatin1(name);
            e.RegisterProc(QStringLiteral("function %1(r : real) : real").arg(routine),
                           [routine, f, valid](void *, TQuillan &engine, TProcParms &p) {
                               const double r = p.asReal(1);
                               if (valid && !valid(r))
                                   engine.ReportError(59, routine);
                               const double v = f(r);
                               if (std::isnan(v))
                                   engine.ReportError(59, routine);
                               p.setReal(0, v);
                           });
        };
        real("exp", [](double r) { return std::exp(r); });
        real("sin", [](double r) { return std::sin(r); });
        e.RegisterProc(QStringLiteral("function random(l : longint) : longint"),
                       [](void *, TQuillan &, TProcParms &p) {
                           const qint32 l = p.asInteger(1);
                           p.setInteger(0, l > 0 ? QRandomGenerator::global()->bounded(l) : 0);
                       });
        real("cos", [](double r) { return std::cos(r); });
        real(
            "ln", [](double r) { return std::log(r); }, [](double r) { return r > 0; });
        real(
            "log10", [](double r) { return std::log10(r); }, [](double r) { return r > 0; });
        real(
            "log2", [](double r) { return std::log2(r); }, [](double r) { return r > 0; });
        real("abs", [](double r) { return std::fabs(r); });
        real("arctan", [](double r) { return std::atan(r); });
        real("sqr", [](double r) { return r * r; });
        real(
            "sqrt", [](double r) { return std::sqrt(r); }, [](double r) { return r >= 0; });
        real("tan", [](double r) { return std::tan(r); });
        real(
            "cotan", [](double r) { return 1.0 / std::tan(r); },
            [](double r) { return std::tan(r) != 0; });
        real(
            "arcsin", [](double r) { return std::asin(r); },
            [](double r) { return r >= -1 && r <= 1; });
        real(
            "arccos", [](double r) { return std::acos(r); },
            [](double r) { return r >= -1 && r <= 1; });
        e.RegisterProc(QStringLiteral("function trunc(r : real) : longint"),
                       [](void *, TQuillan &, TProcParms &p) {
                           p.setInteger(0, toInt32(std::trunc(p.asReal(1))));
                       });
        e.RegisterProc(
            QStringLiteral("function round(r : real) : longint"),
            [](void *, TQuillan &, TProcParms &p) { p.setInteger(0, toInt32(p.asReal(1))); });
    }
};

} // namespace

std::unique_ptr<TQuillanPlugIn> makeMathLibrary()
{
    return std::make_unique<TMathLibrary>();
}

} // namespace Orbisong::Library
