#include "script/LibrarySupport.h"
#include "script/SymbolTable.h"
#include "script/TDynaTable.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace Orbisong::Library {

namespace {

// What one more row of the table takes in memory.
qint64 rowBytes(const TDynaTable &t)
{
    return qint64(sizeof(Cell)) * qint64(1 + t.recordType().members.size());
}

TDynaTable *tableArg(TQuillan &e)
{
    const quint16 code = e.resolvedCode(e.peekToken());
    if (code != TokLocalVar && code != TokGlobalVar)
        e.ReportError(e.peekToken().code == TokName ? 55 : 26);
    const TQuillan::VarRef ref = e.variableRef();
    if (!ref.whole || !ref.cell->table)
        e.ReportError(55);
    return ref.cell->table.get();
}

Cell *recordArg(TQuillan &e, const TDynaTable *table)
{
    const TQuillan::VarRef ref = e.variableRef();
    if (ref.type != table->recordType().id || (ref.whole && ref.var->isArray))
        e.ReportError(56);
    return ref.cell;
}

class TTableLibrary : public TQuillanPlugIn
{
public:
    TTableLibrary() : TQuillanPlugIn(QStringLiteral("Table")) {}

    void registerSysProcs() override
    {
        TQuillan &e = *ScriptEngine;
        e.RegisterSysProc(
            QStringLiteral("writeRecord"), 0, false,
            [](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                TDynaTable *t = tableArg(engine);
                comma(engine);
                Cell *record = recordArg(engine, t);
                close(engine);
                engine.chargeMemory(rowBytes(*t));
                t->post(*record);
                return none();
            },
            this);
        e.RegisterSysProc(
            QStringLiteral("setKeysFromRecord"), 0, false,
            [](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                TDynaTable *t = tableArg(engine);
                comma(engine);
                Cell *record = recordArg(engine, t);
                close(engine);
                t->setKey(*record);
                return none();
            },
            this);
        e.RegisterSysProc(
            QStringLiteral("readRecord"), TypeBoolean, true,
            [](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                TDynaTable *t = tableArg(engine);
                comma(engine);
                Cell *record = recordArg(engine, t);
                close(engine);
                const int at = t->findCurrent();
                if (at >= 0)
                    *record = t->row(at);
                return result(TypeBoolean, at >= 0);
            },
            this);
        e.RegisterSysProc(
            QStringLiteral("deleteRecord"), TypeBoolean, true,
            [](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                TDynaTable *t = tableArg(engine);
                close(engine);
                return result(TypeBoolean, t->removeCurrent());
            },
            this);
        e.RegisterSysProc(
            QStringLiteral("recordExists"), TypeBoolean, true,
            [](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                TDynaTable *t = tableArg(engine);
                close(engine);
                return result(TypeBoolean, t->findCurrent() >= 0);
            },
            this);
        e.RegisterSysProc(
            QStringLiteral("forEachRecord"), 0, false,
            [](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                TDynaTable *t = tableArg(engine);
                comma(engine);
                Cell *record = recordArg(engine, t);
                comma(engine);
                QString routine;
                const Token &name = engine.peekToken();
                if (name.code == TokName && engine.resolvedCode(name) == TokRoutine) {
                    routine = name.text;
                    engine.nextToken();
                } else {
                    routine = stringArg(engine);
                }
                close(engine);
                if (!engine.ProcedureExists(routine))
                    engine.ReportError(1, SymbolTable::normalise(routine));
                // The routine may change the table; it walks the rows as they were.
                std::vector<Cell> rows;
                for (int i = 0; i < t->count(); ++i)
                    rows.push_back(t->row(i));
                for (const Cell &row : rows) {
                    *record = row;
                    engine.callRoutineByName(routine, {});
                }
                return none();
            },
            this);
        e.RegisterSysProc(
            QStringLiteral("loadTable"), TypeBoolean, true,
            [](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                TDynaTable *t = tableArg(engine);
                comma(engine);
                const QString file = stringArg(engine);
                close(engine);
                QString error;
                const qint64 rows = QFileInfo(file).size() / std::max(1, t->recordSize());
                engine.chargeMemory(rows * rowBytes(*t));
                const bool ok = t->load(file, &error);
                if (!ok && QFile::exists(file))
                    engine.ReportText(file + QStringLiteral(": ") + error);
                return result(TypeBoolean, ok);
            },
            this);
        e.RegisterSysProc(
            QStringLiteral("saveTable"), 0, false,
            [](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                TDynaTable *t = tableArg(engine);
                comma(engine);
                const QString file = stringArg(engine);
                close(engine);
                QString error;
                if (!t->save(file, &error))
                    engine.ReportText(file + QStringLiteral(": ") + error);
                return none();
            },
            this);
    }
};

} // namespace

std::unique_ptr<TQuillanPlugIn> makeTableLibrary()
{
    return std::make_unique<TTableLibrary>();
}

} // namespace Orbisong::Library
