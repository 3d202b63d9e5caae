#include "script/TQuillan.h"

#include "script/BuiltinLibraries.h"
#include "script/TQuillanPrivate.h"

namespace Orbisong {

TQuillan::TQuillan() : m_d(std::make_unique<TQuillanPrivate>(*this))
{
    // The libraries register through this object, which forwards to the engine set up above.
    attachBuiltinLibraries(*this);
}

TQuillan::~TQuillan() = default;

QString TQuillan::errorMessage(int number, const QString &text)
{
    switch (number) {
    case 1:
        return QStringLiteral("Procedure ") + text + QStringLiteral(" not defined.");
    case 2:
        return QStringLiteral("Module Keyword or Name is Expected.");
    case 3:
        return QStringLiteral("Module ") + text + QStringLiteral(" Could not be loaded.");
    case 4:
        return QStringLiteral("Dynamic Function ") + text + QStringLiteral(" Not Found.");
    case 5:
        return QStringLiteral("String is not terminated on this line.");
    case 6:
        return QStringLiteral("Improper place for \".\".");
    case 7:
        return QStringLiteral("Multiple E characters are not allowed.");
    case 8:
        return QStringLiteral("Illegal statement or Unknown Identifier - ") + text;
    case 9:
        return QStringLiteral("Remark not closed before end of file.");
    case 10:
        return QStringLiteral("Internal : Unbalanced Push/Pop position.");
    case 11:
        return QStringLiteral("Expecting \")\" Character.");
    case 12:
        return QStringLiteral("Variable Type Mismatch, Numeric expected.");
    case 13:
        return QStringLiteral("Expression Type Mismatch, Numeric expected.");
    case 14:
        return QStringLiteral("Function Type Mismatch, Numeric expected.");
    case 15:
        return text + QStringLiteral(" - Duplicate Symbol Definition.");
    case 16:
        return QStringLiteral("EndVar Token Expected.");
    case 17:
        return QStringLiteral("Expression Type Mismatch, Pointer expected.");
    case 18:
        return QStringLiteral("Expression Type Mismatch, String expected.");
    case 19:
        return QStringLiteral("Expression Type Mismatch, Boolean expected.");
    case 20:
        return QStringLiteral("Expression Type Mismatch, Char expected.");
    case 21:
        return QStringLiteral("Unknown Type");
    case 22:
        return text + QStringLiteral(" Expected.");
    case 23:
        return QStringLiteral("Variable Type Mismatch, String expected.");
    case 24:
        return QStringLiteral("Function Type Mismatch, String expected.");
    case 25:
        return QStringLiteral("Can not assign a value to a constant.");
    case 26:
        return QStringLiteral("Variable Expected.");
    case 27:
        return QStringLiteral("Function Execution Failed.");
    case 28:
        return QStringLiteral("Operator Expected.");
    case 29:
        return QStringLiteral("Function Type Mismatch, Boolean expected.");
    case 30:
        return QStringLiteral("Var Type Mismatch, Boolean expected.");
    case 31:
        return QStringLiteral("Endif Expected.");
    case 32:
        return QStringLiteral("Un-Balanced Loop/Call - Last Was Not While.");
    case 33:
        return QStringLiteral("EndWhile or WEND Expected.");
    case 34:
        return QStringLiteral("To or Downto Expected.");
    case 35:
        return QStringLiteral("Un-Balanced Loop/Call - Last Was Not For.");
    case 36:
        return QStringLiteral("EndFor Expected.");
    case 37:
        return QStringLiteral("Un-Balanced Loop/Call - Last Was Not Repeat.");
    case 38:
        return QStringLiteral("Variable Type Mismatch, File expected.");
    case 39:
        return QStringLiteral("SysProc Not Implemented Yet.");
    case 40:
        return QStringLiteral("Can Not Read This Variable Type.");
    case 41:
        return QStringLiteral("Can Not Continue Un-recognized Loop.");
    case 42:
        return QStringLiteral("String or Numeric Expression expected.");
    case 43:
        return QStringLiteral("Variable Type Mismatch, Pointer expected.");
    case 44:
        return QStringLiteral("Function Type Mismatch, Pointer expected.");
    case 45:
        return QStringLiteral("Can not assign pointer to an existing variable.");
    case 46:
        return QStringLiteral("Array index out of bounds.");
    case 47:
        return QStringLiteral("Can not write this expression.");
    case 48:
        return QStringLiteral("Parameter Expected in procedure/function call.");
    case 49:
        return QStringLiteral("Array expected");
    case 50:
        return QStringLiteral("EndType Token Expected.");
    case 51:
        return QStringLiteral("Identifier expected");
    case 52:
        return QStringLiteral("Internal integrity error, please contact your software vendor");
    case 53:
        return text + QStringLiteral(" is not a field");
    case 54:
        return QStringLiteral("Record or Class Type expected");
    case 55:
        return QStringLiteral("Table Variable Expected.");
    case 56:
        return QStringLiteral("Type mismatch");
    case 57:
        return QStringLiteral("Can not mix byVal and byref parameters");
    case 58:
        return QStringLiteral("Division by zero.");
    case 59:
        return QStringLiteral("Invalid argument for ") + text + QStringLiteral(".");
    case 60:
        return QStringLiteral("Too many nested calls.");
    case 61:
        return QStringLiteral("A script is already running.");
    case 62:
        return QStringLiteral("Not allowed to set the system clock.");
    case 63:
        return QStringLiteral("Expression nested too deeply.");
    case 64:
        return QStringLiteral("Out of memory.");
    default:
        return QStringLiteral("Unknown Error");
    }
}

void TQuillan::AddPlugIn(std::unique_ptr<TQuillanPlugIn> plugIn)
{
    m_d->AddPlugIn(std::move(plugIn));
}

bool TQuillan::LoadScript(const QString &fileName)
{
    return m_d->LoadScript(fileName);
}

bool TQuillan::LoadScriptLines(const QStringList &lines)
{
    return m_d->LoadScriptLines(lines);
}

bool TQuillan::ProcedureExists(const QString &name) const
{
    return m_d->ProcedureExists(name);
}

bool TQuillan::RunProcedure(const QString &name, bool flag)
{
    return m_d->RunProcedure(name, flag);
}

bool TQuillan::RegisterProc(const QString &declaration, HostCallback callback, void *data)
{
    return m_d->RegisterProc(declaration, std::move(callback), data);
}

void TQuillan::RegisterSysProc(const QString &name, int resultType, bool isFunction,
                               SysCallback callback, TQuillanPlugIn *plugIn, int number)
{
    m_d->RegisterSysProc(name, resultType, isFunction, std::move(callback), plugIn, number);
}

void TQuillan::RegisterConst(const QString &name, int type, const Cell &value)
{
    m_d->RegisterConst(name, type, value);
}

void TQuillan::ReportError(int number, const QString &text)
{
    m_d->ReportError(number, text);
}

void TQuillan::ReportText(const QString &text)
{
    m_d->ReportText(text);
}

int TQuillan::currentLineNumber() const
{
    return m_d->currentLineNumber();
}

void TQuillan::setMemoryLimit(qint64 bytes)
{
    m_d->setMemoryLimit(bytes);
}

qint64 TQuillan::memoryLimit() const
{
    return m_d->memoryLimit();
}

void TQuillan::chargeMemory(qint64 bytes)
{
    m_d->chargeMemory(bytes);
}

bool TQuillan::isRunning() const
{
    return m_d->isRunning();
}

bool TQuillan::lastRunStopped() const
{
    return m_d->lastRunStopped();
}

void TQuillan::requestStop()
{
    m_d->requestStop();
}

void TQuillan::setRunMode(RunMode mode)
{
    m_d->setRunMode(mode);
}

void TQuillan::setRunToLine(int line)
{
    m_d->setRunToLine(line);
}

QString TQuillan::currentRoutine() const
{
    return m_d->currentRoutine();
}

void TQuillan::setInteractivePort(InteractivePort *port)
{
    m_d->setInteractivePort(port);
}

InteractivePort *TQuillan::interactivePort() const
{
    return m_d->interactivePort();
}

void TQuillan::setClock(ScriptClock *clock)
{
    m_d->setClock(clock);
}

ScriptClock &TQuillan::clock() const
{
    return m_d->clock();
}

const Token &TQuillan::nextToken()
{
    return m_d->nextToken();
}

const Token &TQuillan::peekToken()
{
    return m_d->peekToken();
}

quint16 TQuillan::peekCode()
{
    return m_d->peekCode();
}

quint16 TQuillan::resolvedCode(const Token &t)
{
    return m_d->resolvedCode(t);
}

void TQuillan::expect(quint16 code, const char *text)
{
    m_d->expect(code, text);
}

bool TQuillan::accept(quint16 code)
{
    return m_d->accept(code);
}

double TQuillan::numExpr()
{
    return m_d->numExpr();
}

QString TQuillan::strExpr()
{
    return m_d->strExpr();
}

bool TQuillan::boolExpr()
{
    return m_d->boolExpr();
}

bool TQuillan::peekIsString()
{
    return m_d->peekIsString();
}

TQuillan::VarRef TQuillan::variableRef()
{
    return m_d->variableRef();
}

Cell TQuillan::callRoutineByName(const QString &name, const std::vector<Cell> &arguments)
{
    return m_d->callRoutineByName(name, arguments);
}

Variable *TQuillan::findVariable(const QString &name)
{
    return m_d->findVariable(name);
}

Variable *TQuillan::createGlobal(const QString &name, int type)
{
    return m_d->createGlobal(name, type);
}

void TQuillan::assignFromText(const VarRef &ref, const QString &text)
{
    m_d->assignFromText(ref, text);
}

const TypeInfo *TQuillan::typeInfo(int id) const
{
    return m_d->typeInfo(id);
}

void TQuillan::write(const QString &text)
{
    m_d->write(text);
}

void TQuillan::advanceLine()
{
    m_d->advanceLine();
}

void TQuillan::evaluate(const QString &text)
{
    m_d->evaluate(text);
}

void TQuillan::setCompiledPrograms(bool on)
{
    m_d->setCompiledPrograms(on);
}

} // namespace Orbisong
