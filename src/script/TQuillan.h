#pragma once

#include "script/ScriptClock.h"
#include "script/ScriptTokens.h"
#include "script/ScriptValue.h"
#include "script/TProcParms.h"
#include "script/TQuillanPlugIn.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace Orbisong {

class InteractivePort;
class TQuillanPrivate;

// Unwinds a run after its first error has been reported, or after a stop request.
struct EAbortQuillan
{
    bool stopped = false;
};

// The script engine: loads a script, runs its routines and reports errors through events.
// Hosts register their own routines and attach libraries as plug-ins; a library's system
// routines read their own arguments through the parser interface below.
class TQuillan
{
public:
    using HostCallback = std::function<void(void *data, TQuillan &engine, TProcParms &parms)>;
    using SysCallback = std::function<Cell(TQuillanPlugIn *plugIn, TQuillan &engine)>;
    using TextEvent = std::function<void(TQuillan &engine, const QString &text)>;
    using ReadEvent = std::function<bool(TQuillan &engine, QString *buffer)>;
    using Event = std::function<void(TQuillan &engine)>;
    using LineEvent = std::function<void(TQuillan &engine, QString &line)>;

    enum RunMode { Normal, SingleStep, StepOver };

    // Recursion deeper than this raises an error instead of exhausting the stack.
    static constexpr int MaxCallDepth = 2000;
    // Field widths of WRITE and STR: a STRING holds no more, and wider output is never meant.
    static constexpr int MaxStringWidth = 255;
    static constexpr int MaxOutputWidth = 1000;
    // Parentheses and brackets nested deeper than this raise an error instead of exhausting the
    // stack.
    static constexpr int MaxNesting = 200;
    // Expression levels open at once in a run, counted across routine calls.
    static constexpr int MaxRunNesting = 4000;
    // What a script's variables, arrays, strings and tables may take unless the host says.
    static constexpr qint64 DefaultMemoryLimit = qint64(256) << 20;
    // The line number of errors in text run by evaluate().
    static constexpr int EvaluateLine = 2147483647;

    // Attaches the nine built-in libraries.
    TQuillan();
    ~TQuillan();
    TQuillan(const TQuillan &) = delete;
    TQuillan &operator=(const TQuillan &) = delete;

    void AddPlugIn(std::unique_ptr<TQuillanPlugIn> plugIn);
    bool LoadScript(const QString &fileName);
    bool LoadScriptLines(const QStringList &lines);
    bool ProcedureExists(const QString &name) const;
    // Runs the routine to its end; false when an error ended it or a stop was requested.
    bool RunProcedure(const QString &name, bool flag = true);
    bool RegisterProc(const QString &declaration, HostCallback callback, void *data = nullptr);
    void RegisterSysProc(const QString &name, int resultType, bool isFunction, SysCallback callback,
                         TQuillanPlugIn *plugIn, int number = -1);
    void RegisterConst(const QString &name, int type, const Cell &value);
    [[noreturn]] void ReportError(int number, const QString &text = {});
    // Reports a text that has no number (library and host faults).
    [[noreturn]] void ReportText(const QString &text);
    static QString errorMessage(int number, const QString &text);

    int currentLineNumber() const;
    bool isRunning() const;
    // The storage a script may take before error 64 "Out of memory." stops it.
    void setMemoryLimit(qint64 bytes);
    qint64 memoryLimit() const;
    // Libraries call this before they make storage grow by about `bytes`.
    void chargeMemory(qint64 bytes);
    bool lastRunStopped() const;
    // May be called from any thread; the run stops before its next line or loop pass.
    void requestStop();
    void setRunMode(RunMode mode);
    void setRunToLine(int line);
    QString currentRoutine() const;

    void setInteractivePort(InteractivePort *port);
    InteractivePort *interactivePort() const;
    // Null gives the engine the machine's clock back.
    void setClock(ScriptClock *clock);
    ScriptClock &clock() const;

    TextEvent OnError;
    ReadEvent OnRead;
    TextEvent OnWrite;
    Event OnAdvanceLine;
    LineEvent OnSrcLineRead;
    Event OnLoopCallback;
    Event OnRegisterProcs;
    Event OnRegisterTypes;
    Event OnSrcLineEnter;
    Event OnBreakPoint;
    TextEvent OnEnterProc;
    TextEvent OnExitProc;
    QStringList DefaultScript;

    // ---- The parser interface used by system routines reading their own arguments. ----
    struct VarRef
    {
        Variable *var = nullptr; // the whole variable
        Cell *cell = nullptr;    // the addressed storage (element or member)
        int type = 0;
        bool whole = true; // not an element or member
    };
    const Token &nextToken();
    const Token &peekToken();
    quint16 peekCode();
    // Code of a word as resolved now (local or global variable, routine, type, unknown).
    quint16 resolvedCode(const Token &t);
    void expect(quint16 code, const char *text);
    bool accept(quint16 code);
    double numExpr();
    QString strExpr();
    bool boolExpr();
    bool peekIsString();
    // The variable named by the next tokens; error 26 when they do not name one.
    VarRef variableRef();
    Cell callRoutineByName(const QString &name, const std::vector<Cell> &arguments);
    Variable *findVariable(const QString &name);
    Variable *createGlobal(const QString &name, int type);
    void assignFromText(const VarRef &ref, const QString &text);
    const TypeInfo *typeInfo(int id) const;
    void write(const QString &text);
    void advanceLine();
    // Runs text as statements inside the current run, seeing the current routine's variables.
    void evaluate(const QString &text);
    static QString formatNumber(double value, int width, int decimals);
    // Compiled programs are on by default; turning them off leaves every statement and
    // expression to the parser, which the tests use as the reference for compiled results.
    void setCompiledPrograms(bool on);

private:
    std::unique_ptr<TQuillanPrivate> m_d;
};

} // namespace Orbisong
