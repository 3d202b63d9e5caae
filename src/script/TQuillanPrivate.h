#pragma once

#include "script/CompiledProgram.h"
#include "script/SymbolTable.h"
#include "script/Tokenizer.h"
#include "script/TQuillan.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace Orbisong {

namespace Quillan {

enum RoutineKind { ScriptRoutine = 0, ExternalRoutine = 2, SystemRoutine = 3, HostRoutine = 4 };

struct Param
{
    QString name;
    int sym = -1;
    int type = 0;
    bool byRef = false;
    bool open = false;
};

struct Routine
{
    QString name;
    int sym = -1;
    RoutineKind kind = ScriptRoutine;
    int firstLine = 0; // index into the engine's lines
    bool headerParsed = false;
    bool isFunction = false;
    bool byRefParams = false;  // a by-reference parameter takes its type from the caller
    bool numericParams = true; // every parameter a number passed by value
    int bodyBlock = -2;        // the compiled body, found on its first run
    int resultType = 0;
    std::vector<Param> params;
    int bodyLine = 0;
    int bodyToken = 0;
    TQuillan::HostCallback host;
    void *data = nullptr;
    TQuillan::SysCallback sys;
    TQuillanPlugIn *plugIn = nullptr;
    int number = -1;
};

} // namespace Quillan

// The engine behind TQuillan. It executes straight from the source lines; each line's tokens
// and each block's matching end are kept after their first use, and blocks, numeric
// expressions and conditions are compiled on their first run into programs that the parser
// takes over from wherever they do not fit. The token reading, name resolution and program
// shortcuts the run loop leans on are inline here, where only the engine's sources see them.
class TQuillanPrivate
{
public:
    using VarRef = TQuillan::VarRef;
    using HostCallback = TQuillan::HostCallback;
    using SysCallback = TQuillan::SysCallback;
    using StopSet = Quillan::StopSet;
    using Position = Quillan::Position;
    using ExprOp = Quillan::ExprOp;
    using ExprProgram = Quillan::ExprProgram;
    using Relation = Quillan::Relation;
    using ConditionProgram = Quillan::ConditionProgram;
    using StmtNode = Quillan::StmtNode;
    using BlockProgram = Quillan::BlockProgram;
    using Param = Quillan::Param;
    using Routine = Quillan::Routine;
    using enum Quillan::RoutineKind;
    using enum Quillan::BlockSet;

    explicit TQuillanPrivate(TQuillan &owner);
    ~TQuillanPrivate();
    TQuillanPrivate(const TQuillanPrivate &) = delete;
    TQuillanPrivate &operator=(const TQuillanPrivate &) = delete;

    // ---- What TQuillan offers hosts and libraries; see there. ----
    void AddPlugIn(std::unique_ptr<TQuillanPlugIn> plugIn);
    bool LoadScript(const QString &fileName);
    bool LoadScriptLines(const QStringList &lines);
    bool ProcedureExists(const QString &name) const;
    bool RunProcedure(const QString &name, bool flag);
    bool RegisterProc(const QString &declaration, HostCallback callback, void *data);
    void RegisterSysProc(const QString &name, int resultType, bool isFunction, SysCallback callback,
                         TQuillanPlugIn *plugIn, int number);
    void RegisterConst(const QString &name, int type, const Cell &value);
    [[noreturn]] void ReportError(int number, const QString &text = {});
    [[noreturn]] void ReportText(const QString &text);

    int currentLineNumber() const;
    bool isRunning() const { return m_running; }
    bool lastRunStopped() const { return m_stopped; }
    void requestStop() { m_stopRequested.store(true, std::memory_order_relaxed); }
    void setRunMode(TQuillan::RunMode mode)
    {
        m_runMode = mode;
        m_stepDepth = m_callDepth;
    }
    void setRunToLine(int line) { m_runToLine = line; }
    QString currentRoutine() const;

    void setInteractivePort(InteractivePort *port) { m_port = port; }
    InteractivePort *interactivePort() const { return m_port; }
    void setClock(ScriptClock *clock) { m_clock = clock ? clock : &m_systemClock; }
    ScriptClock &clock() const { return *m_clock; }
    void setMemoryLimit(qint64 bytes) { m_memoryLimit = bytes; }
    qint64 memoryLimit() const { return m_memoryLimit; }
    // Growth is charged as it happens and the live storage measured only once enough has
    // been charged to possibly reach the limit, so that measuring stays rare.
    void chargeMemory(qint64 bytes)
    {
        m_charged += bytes;
        if (m_charged >= m_censusStep)
            checkMemory(bytes);
    }
    void checkMemory(qint64 bytes);
    qint64 memoryInUse() const;
    // The depth limits assume ordinary stack frames; builds whose frames are larger (checked
    // builds) or threads with small stacks run out of stack first. So a run also stops
    // nesting when less than a quarter of its thread's stack is left.
    void findStackLimit();
    bool stackRunningOut() const
    {
        const char here = 0;
        return reinterpret_cast<std::uintptr_t>(&here) < m_stackLimit;
    }

    const Token &nextToken()
    {
        if (m_line == m_curLine && m_token < m_curCount) {
            const Token &t = m_cur[m_token];
            if (t.code != TokLexError) {
                ++m_token;
                return t;
            }
        }
        return nextTokenSlow();
    }
    const Token &peekToken()
    {
        if (m_line == m_curLine) {
            if (m_token < m_curCount) {
                const Token &t = m_cur[m_token];
                if (t.code != TokLexError)
                    return t;
            } else if (m_curFollowing && *m_curFollowing) {
                return **m_curFollowing;
            }
        }
        return peekTokenSlow();
    }
    quint16 peekCode();
    quint16 resolvedCode(const Token &t);
    void expect(quint16 code, const char *text);
    bool accept(quint16 code);
    double numExpr();
    QString strExpr();
    bool boolExpr();
    bool peekIsString();
    VarRef variableRef();
    Cell callRoutineByName(const QString &name, const std::vector<Cell> &arguments);
    Variable *findVariable(const QString &name);
    Variable *createGlobal(const QString &name, int type);
    void assignFromText(const VarRef &ref, const QString &text);
    const TypeInfo *typeInfo(int id) const;
    void write(const QString &text);
    void advanceLine();
    void evaluate(const QString &text);
    void setCompiledPrograms(bool on) { m_programsOn = on; }

private:
    struct SkipEnd
    {
        Position after;
        quint16 code = 0;
    };
    struct Line
    {
        int number = 0;
        QString text;
        bool startsInRemark = false;
        bool remarkNeverCloses = false;
        bool tokenized = false;
        std::vector<Token> tokens;
        const Token *following = nullptr; // the first token after this line, once looked up
        std::vector<std::pair<quint32, SkipEnd>> skipEnds; // (token and stop set, block end)
        std::vector<std::pair<quint32, int>> blocks;       // (token and stop set, compiled block)
    };
    static const StopSet &stopsOf(int set);
    static constexpr int MaxConditionRelations = 8;
    static constexpr int MaxCallArguments = 8;
    static constexpr int MaxProgramOperands = 16;
    struct Frame
    {
        Routine *routine = nullptr;
        std::vector<std::unique_ptr<Variable>> locals;
        int loops = 0;
        Cell result;
        Cell *self = nullptr;
        int selfType = 0;
        // Its locals are exactly its routine's parameters, none by reference, as in every
        // other such call of the routine: names resolved in one such call hold in the next,
        // with the same types, without a new epoch.
        bool plain = false;
        // Its locals are the number parameters of its last call, kept for the next compiled
        // call at this depth instead of going back to the pool.
        bool parked = false;
    };
    enum Unwind { NoUnwind, UnwindReturn, UnwindContinue };
    static constexpr quint16 BlockUnwound = 0xFFFF;

    // Loading
    void resetTables();
    bool loadLines(const QStringList &lines);
    void preScan(int index);
    void processBlocks();
    void registerBuiltinTypes();
    void deliver(const QString &text);

    // Tokens and positions
    const Token &nextTokenSlow();
    const Token &peekTokenSlow();
    // Tokenizes the line when needed and makes it the one the fast token path reads.
    Line &makeLineCurrent(int index);
    void forgetLineCache() { m_curLine = -1; }
    void tokenize(Line &line);
    void enterLine();
    Position position() const { return {m_line, m_token}; }
    void jump(Position p);
    void checkStop()
    {
        if (m_stopRequested.load(std::memory_order_relaxed))
            stopNow();
    }
    [[noreturn]] void stopNow();
    quint16 skipTo(const StopSet &stops);
    quint16 skipToCached(int set);
    int symOf(const QString &name);

    // Names
    Variable *findLocal(int sym) const;
    Variable *lookupVariable(int sym) const;
    Variable *variableOf(const Token &t)
    {
        if (t.epoch != m_resolveEpoch)
            resolve(t);
        return t.localIndex >= 0 ? m_frame->locals[size_t(t.localIndex)].get() : t.variable;
    }
    void resolve(const Token &t);
    void namesChanged() { ++m_resolveEpoch; }
    Routine *lookupRoutine(int sym) const
    {
        return sym >= 0 && size_t(sym) < m_routineOf.size() ? m_routineOf[size_t(sym)] : nullptr;
    }
    int lookupType(int sym) const;
    VarRef resolveDotted(const Token &t);
    void selectMember(VarRef &ref, int memberSym, bool dotted);
    void indexArray(VarRef &ref);

    // Statements
    // Runs statements up to a token of the stop set; a numbered set lets the block compile.
    quint16 execBlock(int set);
    quint16 walkBlock(const StopSet &stops);
    friend class BlockCompiler;
    int compiledBlockHere(int set);
    quint16 runBlock(BlockProgram &block);
    bool blocksOpen() const
    {
        return m_programsOn && !m_lineHooks && m_line < m_scriptLines && m_endLine == m_scriptLines;
    }
    // Runs the block at the cursor, a node's part whose compiled block is kept in `block`.
    quint16 runPart(int &block, int set)
    {
        if (block >= 0)
            return runBlock(*m_blocks[size_t(block)]);
        return runPartSlow(block, set);
    }
    quint16 runPartSlow(int &block, int set);
    bool runAssignment(const StmtNode &node);
    bool runReturn(const StmtNode &node);
    bool runIf(const StmtNode &node);
    bool runFor(const StmtNode &node);
    void moveTo(Position p)
    {
        m_line = p.line;
        m_token = p.token;
    }
    // The first token of the lines after `line`, or the end token.
    const Token &firstTokenAfterLine(int line);
    void statement(const Token &t);
    void assignment(const Token &t);
    void assignValue(const VarRef &ref);
    void ifStatement();
    void whileStatement();
    void forStatement();
    // Before a pass of a FOR body: false when the loop variable has passed the limit.
    bool forPassBegins(double value, double limit, double step);
    // After a pass of a FOR body ending at `stop`: false when a RETURN leaves the loop.
    bool forPassEnded(quint16 stop);
    // Counts the loops the current call is in, for CONTINUE.
    struct LoopCount
    {
        explicit LoopCount(int *loops) : m_loops(loops) { ++*m_loops; }
        ~LoopCount() { --*m_loops; }
        LoopCount(const LoopCount &) = delete;
        LoopCount &operator=(const LoopCount &) = delete;
        int *m_loops;
    };
    void repeatStatement();
    void switchStatement();
    void returnStatement();
    void writeStatement(bool newLine);
    void readStatement(bool wholeLine);
    void declarations(quint16 keyword);
    void typeBlock();
    int parseType();
    void declareOne(bool global);
    Cell defaultCell(int type) const;
    void consumeNoise(quint16 code);

    // Expressions
    double numOr();
    double numOrSlow();
    // Held while one expression level is read: deep nesting ends in error 63, not in a
    // stack overflow.
    class NestingGuard
    {
    public:
        explicit NestingGuard(TQuillanPrivate &engine);
        ~NestingGuard() { --m_engine.m_nesting; }
        NestingGuard(const NestingGuard &) = delete;
        NestingGuard &operator=(const NestingGuard &) = delete;

    private:
        TQuillanPrivate &m_engine;
    };
    // Compiled expressions and conditions; the compiler only reads tokens and declarations.
    friend class ProgramCompiler;
    bool compiledPathOpen() const
    {
        return m_programsOn && m_line == m_curLine && m_token < m_curCount &&
               m_line < m_scriptLines && m_endLine == m_scriptLines;
    }
    Q_ALWAYS_INLINE double runProgram(const ExprProgram &program)
    {
        const ExprOp &first = program.ops.front();
        if (program.shape == ExprProgram::Literal)
            return first.number;
        if (program.shape == ExprProgram::Word) {
            if (Variable *v = plainNumber(*first.token))
                return first.negate ? -v->cell().num : v->cell().num;
        } else if (program.shape == ExprProgram::WordWithLiteral) {
            // "n - 1", "i * 2": a word and a literal joined by + - or *.
            if (Variable *v = plainNumber(*first.token)) {
                const double left = first.negate ? -v->cell().num : v->cell().num;
                const ExprOp &second = program.ops[1];
                switch (second.kind) {
                case ExprOp::Add:
                    return left + second.number;
                case ExprOp::Subtract:
                    return left - second.number;
                default:
                    return left * second.number;
                }
            }
        }
        return runGeneralProgram(program);
    }
    double runGeneralProgram(const ExprProgram &program);
    bool runCondition(const ConditionProgram &condition, bool *result);
    double operandValue(const ExprOp &op);
    double parseOperand(const ExprOp &op);
    // The storage a compiled operand's word names now, or null when it names something else.
    Variable *plainNumber(const Token &t)
    {
        Variable *v = variableOf(t);
        return v && !v->alias && !v->isArray && isNumericType(v->type) ? v : nullptr;
    }
    Variable *numericArray(const Token &t);
    // A field a store goes into must not belong to a constant.
    Cell *numericField(const Token &t, int *memberType = nullptr, bool forStore = false);
    bool operandReady(const ExprOp &op);
    // While the resolution epoch holds, every word resolves as it did at the last check.
    bool arraysReady(const std::vector<const Token *> &arrays, quint64 &checked)
    {
        return arrays.empty() || checked == m_resolveEpoch || arraysReadySlow(arrays, checked);
    }
    bool arraysReadySlow(const std::vector<const Token *> &arrays, quint64 &checked);
    Cell *elementCell(Variable *array, double at);
    double callCompiled(Routine *r, const double *arguments);
    double numTerm();
    double numPower();
    double numUnary();
    double numFactor();
    QString strTerm();
    bool boolOr();
    bool boolXor();
    bool boolAnd();
    bool boolNot();
    bool boolPrimary();
    // The caller has already looked at the left operand's type.
    bool relation(bool isString);
    bool parenIsBoolean();
    int staticTypeAt(int offset);
    Cell pointerExpr();
    Cell valueOfType(int type);
    // Replaces a cell holding a plain value of `type` with the next expression's value.
    void storeValueOfType(Cell &cell, int type);
    Cell valueOf(int type);

    // Calls
    Cell call(Routine *r, Cell *self = nullptr, int selfType = 0);
    Cell callScript(Routine *r, std::vector<std::unique_ptr<Variable>> locals, Cell *self,
                    int selfType);
    // The frame the next call runs in; its locals are filled before runFrame enters it.
    Frame &nextFrame()
    {
        // Frames are kept for the whole run and reused by later calls at the same depth.
        if (size_t(m_frameCount) == m_frames.size())
            m_frames.push_back(std::make_unique<Frame>());
        return *m_frames[size_t(m_frameCount)];
    }
    // Gives a parked frame's parameters back to the pool before other locals fill it.
    void unpark(Frame &f)
    {
        if (f.parked) {
            f.parked = false;
            releaseLocals(f.locals);
        }
    }
    // Runs the routine in the next frame; its result stays in that frame until the next call
    // at the same depth.
    void runFrame(Routine *r, Cell *self, int selfType);
    Cell callHost(Routine *r);
    // Reads the argument list of a call, handing each parameter to `readArgument` when its
    // argument's tokens are next.
    template <typename ReadArgument>
    void readArguments(const Routine &r, ReadArgument &&readArgument);
    void parseHeader(Routine *r);
    void parseParams(std::vector<Param> &params);
    Routine *addRoutine(const QString &name);
    // Parameters of script routines come from a pool of plain variables kept between calls.
    static constexpr size_t MaxSpareLocals = 64;
    std::unique_ptr<Variable> takeLocal();
    void releaseLocals(std::vector<std::unique_ptr<Variable>> &locals);
    std::unique_ptr<Variable> makeVariable(int sym, int type, bool isArray, bool isOpen, int low,
                                           int high);

    // The public engine: events fire on it and routines are handed it.
    TQuillan &m_owner;
    std::vector<std::unique_ptr<TQuillanPlugIn>> m_plugIns;
    SymbolTable m_symbols;
    Tokenizer m_tokenizer;
    std::vector<Line> m_lines;
    int m_scriptLines = 0;
    int m_endLine = 0; // lines at and past this index read as end of program
    std::vector<std::unique_ptr<Routine>> m_routines;
    std::vector<std::unique_ptr<Routine>> m_retiredRoutines;
    std::vector<Routine *> m_routineOf;
    std::vector<std::unique_ptr<Variable>> m_globalStore;
    std::vector<Variable *> m_globalOf;
    std::vector<TypeInfo> m_types;
    std::vector<int> m_typeOf;
    std::vector<int> m_typeBlockLines;
    std::vector<int> m_varBlockLines;
    struct Label
    {
        QString name;
        QString routine;
        int line;
    };
    std::vector<Label> m_labels;
    QString m_openRoutine; // the routine the load-time scan is inside
    // Held by pointer: a program runs while programs of the routines it calls are added.
    std::vector<std::unique_ptr<ExprProgram>> m_programs;
    std::vector<std::unique_ptr<ConditionProgram>> m_conditions;
    std::vector<std::unique_ptr<BlockProgram>> m_blocks;
    bool m_programsOn = true;
    std::vector<std::unique_ptr<Frame>> m_frames;
    std::vector<std::unique_ptr<TProcParms>> m_hostParms;
    int m_hostDepth = 0;
    int m_frameCount = 0;
    std::vector<std::unique_ptr<Variable>> m_spareLocals;
    std::vector<std::vector<std::unique_ptr<Variable>>> m_spareLocalLists;
    Frame *m_frame = nullptr;

    int m_line = 0;
    int m_token = 0;
    // The tokens of the line being executed, for the inline fast paths above.
    int m_curLine = -1;
    quint64 m_resolveEpoch = 1;
    const Token *m_cur = nullptr;
    int m_curCount = 0;
    const Token *const *m_curFollowing = nullptr; // the line's lookahead past its end, if kept
    int m_enteredLine = -1;
    int m_callDepth = -1;
    Unwind m_unwind = NoUnwind;
    bool m_errorFlag = false;
    bool m_running = false;
    bool m_stopped = false;
    bool m_typesFired = false;
    bool m_lineHooks = false;
    bool m_inRelation = false;
    TQuillan::RunMode m_runMode = TQuillan::Normal;
    int m_stepDepth = 0;
    int m_runToLine = -1;
    std::atomic<bool> m_stopRequested{false};
    int m_nesting = 0;
    std::uintptr_t m_stackLimit = 0; // 0 while no run has found its thread's stack
    qint64 m_memoryLimit = TQuillan::DefaultMemoryLimit;
    qint64 m_charged = 0;    // growth since the storage was last measured
    qint64 m_censusStep = 0; // growth that may pass before it is measured again
    InteractivePort *m_port = nullptr;
    SystemClock m_systemClock;
    ScriptClock *m_clock = &m_systemClock;
    Token m_endToken;
};

} // namespace Orbisong
