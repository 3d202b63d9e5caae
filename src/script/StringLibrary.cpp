#include "script/LibrarySupport.h"

namespace Orbisong::Library {

namespace {

// Length of the longest prefix of text that reads as a number; the value read goes to *value.
int numberPrefix(const QString &text, double *value)
{
    const int n = int(text.size());
    int i = 0;
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    const int start = i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    int digits = 0;
    while (i < n && text[i].isDigit()) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && text[i].isDigit()) {
            ++i;
            ++digits;
        }
    }
    if (digits > 0 && i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
        int j = i + 1;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            ++j;
        if (j < n && text[j].isDigit()) {
            while (j < n && text[j].isDigit())
                ++j;
            i = j;
        }
    }
    if (digits == 0)
        return start;
    *value = text.mid(start, i - start).toDouble();
    return i;
}

class TStringLibrary : public TQuillanPlugIn
{
public:
    TStringLibrary() : TQuillanPlugIn(QStringLiteral("String")) {}

    void registerSysProcs() override
    {
        ScriptEngine->RegisterSysProc(
            QStringLiteral("str"), 0, false,
            [](TQuillanPlugIn *, TQuillan &e) {
                open(e);
                const double v = e.numExpr();
                int width = -1;
                int decimals = 0;
                if (e.accept(TokColon)) {
                    width = toInt32(e.numExpr());
                    if (e.accept(TokColon))
                        decimals = toInt32(e.numExpr());
                }
                comma(e);
                const TQuillan::VarRef target = e.variableRef();
                if (!isStringType(target.type))
                    e.ReportError(23);
                close(e);
                if (target.type == TypeString)
                    width = std::min(width, TQuillan::MaxStringWidth);
                const QString text = TQuillan::formatNumber(v, width, decimals);
                target.cell->str = target.type == TypeString ? text.left(255) : text;
                return none();
            },
            this);
    }

    void registerProcs() override
    {
        TQuillan &e = *ScriptEngine;
        e.RegisterProc(
            QStringLiteral("function chr(b : byte) : char"),
            [](void *, TQuillan &, TProcParms &p) { p.setChar(0, QChar(ushort(p.asInteger(1)))); });
        e.RegisterProc(
            QStringLiteral("function ord(c : char) : byte"),
            [](void *, TQuillan &, TProcParms &p) { p.setInteger(0, p.asChar(1).unicode()); });
        e.RegisterProc(
            QStringLiteral("function copy(s : string; i : integer; l : integer) : string"),
            [](void *, TQuillan &, TProcParms &p) {
                const QString s = p.asString(1);
                const qint64 i = std::max<qint64>(p.asInteger(2), 1);
                const qint64 l = p.asInteger(3);
                p.setString(0, i > s.size() || l <= 0 ? QString() : s.mid(i - 1, l));
            });
        e.RegisterProc(
            QStringLiteral("function length(s : string) : integer"),
            [](void *, TQuillan &, TProcParms &p) { p.setInteger(0, p.asString(1).size()); });
        e.RegisterProc(QStringLiteral("procedure insert(s : string; var d : string; i : integer)"),
                       [](void *, TQuillan &, TProcParms &p) {
                           QString d = p.asString(2);
                           const qint64 i = std::clamp<qint64>(p.asInteger(3), 1, d.size() + 1);
                           d.insert(i - 1, p.asString(1));
                           p.setString(2, d);
                       });
        e.RegisterProc(QStringLiteral("procedure delete(var s : string; i : integer; c : integer)"),
                       [](void *, TQuillan &, TProcParms &p) {
                           QString s = p.asString(1);
                           const qint64 i = p.asInteger(2);
                           const qint64 c = p.asInteger(3);
                           if (i >= 1 && i <= s.size() && c > 0)
                               s.remove(i - 1, std::min<qint64>(c, s.size() - i + 1));
                           p.setString(1, s);
                       });
        e.RegisterProc(QStringLiteral("function pos(subStr : string; s : string) : integer"),
                       [](void *, TQuillan &, TProcParms &p) {
                           const QString sub = p.asString(1);
                           p.setInteger(0, sub.isEmpty() ? 0 : p.asString(2).indexOf(sub) + 1);
                       });
        e.RegisterProc(QStringLiteral("function val(s : string; var r : real) : integer"),
                       [](void *, TQuillan &, TProcParms &p) {
                           const QString s = p.asString(1);
                           double v = 0;
                           const int end = numberPrefix(s, &v);
                           if (end == s.size() && !s.trimmed().isEmpty()) {
                               p.setReal(2, v);
                               p.setInteger(0, 0);
                           } else {
                               p.setInteger(0, end + 1);
                           }
                       });
        e.RegisterProc(QStringLiteral("function strToInt(s : string) : longint"),
                       [](void *, TQuillan &, TProcParms &p) {
                           bool ok = false;
                           const qint32 v = p.asString(1).trimmed().toInt(&ok);
                           if (!ok)
                               throw ScriptCallError(
                                   QStringLiteral("StrToInt can not convert this value"));
                           p.setInteger(0, v);
                       });
        e.RegisterProc(QStringLiteral("function intToStr(i : longint) : string"),
                       [](void *, TQuillan &, TProcParms &p) {
                           p.setString(0, QString::number(p.asInteger(1)));
                       });
    }
};

} // namespace

std::unique_ptr<TQuillanPlugIn> makeStringLibrary()
{
    return std::make_unique<TStringLibrary>();
}

} // namespace Orbisong::Library
