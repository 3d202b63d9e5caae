#include "script/LibrarySupport.h"

namespace Orbisong::Library {

namespace {

qint64 gregToJul(qint64 month, qint64 day, qint64 year)
{
    const qint64 a = month < 3 ? 1 : 0;
    return day - 32075 + 1461 * (year + 4800 - a) / 4 + 367 * (month - 2 + 12 * a) / 12 -
           3 * ((year + 4900 - a) / 100) / 4;
}

void julToGreg(qint64 jul, qint64 *month, qint64 *day, qint64 *year)
{
    qint64 l = jul + 68569;
    const qint64 n = 4 * l / 146097;
    l = l - (146097 * n + 3) / 4;
    const qint64 i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const qint64 j = 80 * l / 2447;
    *day = l - 2447 * j / 80;
    l = j / 11;
    *month = j + 2 - 12 * l;
    *year = 100 * (n - 49) + i + l;
}

class TDateLibrary : public TQuillanPlugIn
{
public:
    TDateLibrary() : TQuillanPlugIn(QStringLiteral("Date")) {}

    void registerProcs() override
    {
        TQuillan &e = *ScriptEngine;
        e.RegisterProc(QStringLiteral("procedure GetDate(var year : word; var month : word; var "
                                      "day : word; var dayOfWeek : word)"),
                       [](void *, TQuillan &engine, TProcParms &p) {
                           const QDate d = engine.clock().now().date();
                           p.setInteger(1, d.year());
                           p.setInteger(2, d.month());
                           p.setInteger(3, d.day());
                           p.setInteger(4, d.dayOfWeek() % 7 + 1);
                       });
        // Dates and times given by scripts are local, like the ones GetDate and GetTime give.
        e.RegisterProc(QStringLiteral("procedure SetDate(year : word; month : word; day : word)"),
                       [](void *, TQuillan &engine, TProcParms &p) {
                           const QDate d(p.asInteger(1), p.asInteger(2), p.asInteger(3));
                           if (!d.isValid())
                               engine.ReportError(59, QStringLiteral("SetDate"));
                           QDateTime now = engine.clock().now();
                           now.setDate(d);
                           if (!engine.clock().set(now))
                               engine.ReportError(62);
                       });
        e.RegisterProc(QStringLiteral("procedure GetTime(var hour : word; var minute : word; var "
                                      "second : word; var sec100 : word)"),
                       [](void *, TQuillan &engine, TProcParms &p) {
                           const QTime t = engine.clock().now().time();
                           p.setInteger(1, t.hour());
                           p.setInteger(2, t.minute());
                           p.setInteger(3, t.second());
                           p.setInteger(4, t.msec());
                       });
        e.RegisterProc(
            QStringLiteral(
                "procedure SetTime(hour : word; minute : word; second : word; sec100 : word)"),
            [](void *, TQuillan &engine, TProcParms &p) {
                QDateTime now = engine.clock().now();
                const QTime t(p.asInteger(1), p.asInteger(2), p.asInteger(3), now.time().msec());
                if (!t.isValid())
                    engine.ReportError(59, QStringLiteral("SetTime"));
                now.setTime(t);
                if (!engine.clock().set(now))
                    engine.ReportError(62);
            });
        e.RegisterProc(
            QStringLiteral("function GregToJul(month : word; day : word; year : word) : longint"),
            [](void *, TQuillan &, TProcParms &p) {
                p.setInteger(0, gregToJul(p.asInteger(1), p.asInteger(2), p.asInteger(3)));
            });
        e.RegisterProc(QStringLiteral("procedure JulToGreg(jul : longint; var month : word; var "
                                      "day : word; var year : word)"),
                       [](void *, TQuillan &, TProcParms &p) {
                           qint64 m = 0, d = 0, y = 0;
                           julToGreg(p.asInteger(1), &m, &d, &y);
                           p.setInteger(2, m);
                           p.setInteger(3, d);
                           p.setInteger(4, y);
                       });
    }
};

} // namespace

std::unique_ptr<TQuillanPlugIn> makeDateLibrary()
{
    return std::make_unique<TDateLibrary>();
}

} // namespace Orbisong::Library
