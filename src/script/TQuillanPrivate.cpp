#include "script/TQuillanPrivate.h"

#include "script/ScriptTextFile.h"
#include "script/TDynaTable.h"

namespace Orbisong {

namespace {

struct BuiltinType
{
    const char *name;
    int id;
    int size;
    quint16 keyword;
};

const BuiltinType BuiltinTypes[] = {
    {"BYTE", TypeByte, 1, TokByte},
    {"BOOLEAN", TypeBoolean, 1, TokBoolean},
    {"BOOL", TypeBool, 2, TokBool},
    {"POINTER", TypePointer, 4, TokPointer},
    {"STRING", TypeString, 256, TokStringType},
    {"PCHAR", TypePChar, 4, TokPChar},
    {"REAL", TypeReal, 6, TokRealType},
    {"INTEGER", TypeInteger, 4, TokIntegerType},
    {"WORD", TypeWord, 2, TokWord},
    {"LONGINT", TypeLongint, 4, TokLongint},
    {"CHAR", TypeChar, 1, TokChar},
    {"TEXT", TypeText, 4, TokText},
};

} // namespace

TQuillanPrivate::TQuillanPrivate(TQuillan &owner) : m_owner(owner), m_tokenizer(m_symbols)
{
    m_endToken.code = TokEnd;
    m_endToken.text = QStringLiteral(".");
    registerBuiltinTypes();
}

TQuillanPrivate::~TQuillanPrivate() = default;

void TQuillanPrivate::registerBuiltinTypes()
{
    m_types.assign(FirstScriptType, TypeInfo());
    for (const BuiltinType &b : BuiltinTypes) {
        TypeInfo &t = m_types[size_t(b.id)];
        t.id = b.id;
        t.name = QString::fromLatin1(b.name);
        t.size = b.size;
        t.keyword = b.keyword;
    }
}

const TypeInfo *TQuillanPrivate::typeInfo(int id) const
{
    if (id <= 0 || id >= int(m_types.size()) || m_types[size_t(id)].id != id)
        return nullptr;
    return &m_types[size_t(id)];
}

void TQuillanPrivate::AddPlugIn(std::unique_ptr<TQuillanPlugIn> plugIn)
{
    TQuillanPlugIn *p = plugIn.get();
    if (!p->ScriptEngine)
        p->ScriptEngine = &m_owner;
    m_plugIns.push_back(std::move(plugIn));
    p->registerSysProcs();
    p->attached();
}

int TQuillanPrivate::symOf(const QString &name)
{
    const int sym = m_symbols.intern(SymbolTable::normalise(name));
    const size_t size = size_t(m_symbols.size());
    if (m_routineOf.size() < size) {
        m_routineOf.resize(size, nullptr);
        m_globalOf.resize(size, nullptr);
        m_typeOf.resize(size, 0);
    }
    return sym;
}

// ---------------------------------------------------------------- running

bool TQuillanPrivate::RunProcedure(const QString &name, bool flag)
{
    Q_UNUSED(flag);
    if (m_running) {
        deliver(TQuillan::errorMessage(61, {}));
        return false;
    }
    m_errorFlag = false;
    m_stopped = false;
    m_stopRequested.store(false, std::memory_order_relaxed);
    m_running = true;
    findStackLimit();
    m_unwind = NoUnwind;
    m_inRelation = false;
    m_frames.clear();
    m_frameCount = 0;
    m_hostDepth = 0;
    m_frame = nullptr;
    m_callDepth = -1;
    m_nesting = 0;
    m_charged = 0;
    m_censusStep = 0;
    m_enteredLine = -1;
    m_endLine = m_scriptLines;
    forgetLineCache();
    m_lineHooks = m_owner.OnSrcLineEnter || m_runMode != TQuillan::Normal || m_runToLine >= 0;
    bool ok = true;
    try {
        const QString upper = SymbolTable::normalise(name);
        Routine *r = lookupRoutine(m_symbols.find(upper));
        if (!r || r->kind != ScriptRoutine)
            ReportError(1, upper);
        if (!r->headerParsed)
            parseHeader(r);
        std::vector<std::unique_ptr<Variable>> locals;
        for (const Param &p : r->params)
            locals.push_back(makeVariable(p.sym, p.type, p.open, p.open, 0, -1));
        callScript(r, std::move(locals), nullptr, 0);
    } catch (const EAbortQuillan &abort) {
        ok = false;
        m_stopped = abort.stopped;
    }
    m_frames.clear();
    m_frameCount = 0;
    m_hostDepth = 0;
    m_frame = nullptr;
    m_callDepth = -1;
    m_unwind = NoUnwind;
    m_running = false;
    // The next run may be on another thread, with a stack of its own.
    m_stackLimit = 0;
    namesChanged();
    if (m_lines.size() > size_t(m_scriptLines))
        m_lines.resize(size_t(m_scriptLines));
    m_endLine = m_scriptLines;
    forgetLineCache();
    return ok && !m_errorFlag;
}

void TQuillanPrivate::stopNow()
{
    m_stopRequested.store(false, std::memory_order_relaxed);
    throw EAbortQuillan{true};
}

void TQuillanPrivate::enterLine()
{
    checkStop();
    if (!m_lineHooks || m_line == m_enteredLine)
        return;
    m_enteredLine = m_line;
    const int number = currentLineNumber();
    const bool stepBreak = m_runMode == TQuillan::SingleStep ||
                           (m_runMode == TQuillan::StepOver && m_callDepth <= m_stepDepth);
    if (stepBreak || number == m_runToLine) {
        if (number == m_runToLine)
            m_runToLine = -1;
        if (m_owner.OnBreakPoint)
            m_owner.OnBreakPoint(m_owner);
    }
    if (m_owner.OnSrcLineEnter)
        m_owner.OnSrcLineEnter(m_owner);
}

void TQuillanPrivate::tokenize(Line &line)
{
    m_tokenizer.tokenize(line.text, line.startsInRemark, line.remarkNeverCloses, line.tokens);
    line.tokenized = true;
    const size_t size = size_t(m_symbols.size());
    if (m_routineOf.size() < size) {
        m_routineOf.resize(size, nullptr);
        m_globalOf.resize(size, nullptr);
        m_typeOf.resize(size, 0);
    }
}

TQuillanPrivate::Line &TQuillanPrivate::makeLineCurrent(int index)
{
    Line &l = m_lines[size_t(index)];
    if (!l.tokenized)
        tokenize(l);
    m_curLine = index;
    m_cur = l.tokens.data();
    m_curCount = int(l.tokens.size());
    // What follows a line's end is kept only for the script's own lines, not evaluated text.
    m_curFollowing = index < m_scriptLines && m_endLine == m_scriptLines ? &l.following : nullptr;
    return l;
}

const Token &TQuillanPrivate::nextTokenSlow()
{
    for (;;) {
        if (m_line >= m_endLine) {
            m_curLine = -1;
            return m_endToken;
        }
        // The line's tokens are looked up again only when the line has changed.
        if (m_curLine != m_line)
            makeLineCurrent(m_line);
        if (m_token < m_curCount) {
            const Token &t = m_cur[m_token++];
            if (t.code == TokLexError)
                ReportError(t.error, t.text);
            return t;
        }
        if (m_line + 1 >= m_endLine)
            return m_endToken;
        ++m_line;
        m_token = 0;
        enterLine();
    }
}

const Token &TQuillanPrivate::peekTokenSlow()
{
    int li = m_line;
    int ti = m_token;
    // Expressions ending a line look past its end several times; the answer is kept per line.
    const bool cacheable = li < m_scriptLines && m_endLine == m_scriptLines;
    if (li < m_endLine) {
        const Line &l = makeLineCurrent(li);
        if (cacheable && ti >= m_curCount && l.following)
            return *l.following;
    }
    for (;;) {
        if (li >= m_endLine)
            return m_endToken;
        Line &l = m_lines[size_t(li)];
        if (!l.tokenized)
            tokenize(l);
        if (ti < int(l.tokens.size())) {
            const Token &t = l.tokens[size_t(ti)];
            // A lexical error on the line being executed is raised as soon as it is looked at.
            if (t.code == TokLexError && li == m_line)
                ReportError(t.error, t.text);
            if (cacheable && li != m_line)
                m_lines[size_t(m_line)].following = &t;
            return t;
        }
        if (li + 1 >= m_endLine) {
            if (cacheable)
                m_lines[size_t(m_line)].following = &m_endToken;
            return m_endToken;
        }
        ++li;
        ti = 0;
    }
}

quint16 TQuillanPrivate::peekCode()
{
    return resolvedCode(peekToken());
}

void TQuillanPrivate::jump(Position p)
{
    const bool newLine = p.line != m_line;
    m_line = p.line;
    m_token = p.token;
    if (newLine)
        enterLine();
}

void TQuillanPrivate::expect(quint16 code, const char *text)
{
    if (nextToken().code != code)
        ReportError(22, QString::fromLatin1(text));
}

bool TQuillanPrivate::accept(quint16 code)
{
    if (peekToken().code != code)
        return false;
    nextToken();
    return true;
}

void TQuillanPrivate::consumeNoise(quint16 code)
{
    if (peekToken().code == code)
        nextToken();
}

namespace {

bool opensBlock(quint16 c)
{
    return c == TokIf || c == TokWhile || c == TokFor || c == TokRepeat || c == TokSwitch ||
           c == TokCase;
}

bool closesBlock(quint16 c)
{
    return c == TokEndIf || c == TokEndWhile || c == TokEndFor || c == TokUntil ||
           c == TokEndSwitch || c == TokEndCase;
}

} // namespace

quint16 TQuillanPrivate::skipTo(const StopSet &stops)
{
    // Every block kind is counted, so the ELSE of an inner SWITCH never ends an outer IF.
    int depth = 0;
    for (;;) {
        if (m_line >= m_endLine)
            return TokEnd;
        Line &l = m_lines[size_t(m_line)];
        if (!l.tokenized)
            tokenize(l);
        if (m_token >= int(l.tokens.size())) {
            if (m_line + 1 >= m_endLine)
                return TokEnd;
            ++m_line;
            m_token = 0;
            continue;
        }
        const quint16 c = l.tokens[size_t(m_token++)].code;
        if (c == TokEndProc)
            return c;
        if (depth == 0 && c < 128 && stops.test(c))
            return c;
        if (opensBlock(c))
            ++depth;
        else if (closesBlock(c) && depth > 0)
            --depth;
    }
}

quint16 TQuillanPrivate::skipToCached(int set)
{
    const StopSet &stops = stopsOf(set);
    if (m_line >= m_scriptLines)
        return skipTo(stops);
    // A block's end is found once; a line holds the few ends that start on it.
    const quint32 key = (quint32(m_token) << 4) | quint32(set);
    for (const auto &[k, end] : m_lines[size_t(m_line)].skipEnds) {
        if (k == key) {
            jump(end.after);
            return end.code;
        }
    }
    const int startLine = m_line;
    const quint16 code = skipTo(stops);
    m_lines[size_t(startLine)].skipEnds.emplace_back(key, SkipEnd{position(), code});
    const int reached = m_line;
    m_line = startLine;
    jump({reached, m_token});
    return code;
}

// ---------------------------------------------------------------- calls

void TQuillanPrivate::parseHeader(Routine *r)
{
    const int savedLine = m_line;
    const int savedToken = m_token;
    const int savedEnd = m_endLine;
    m_endLine = m_scriptLines;
    forgetLineCache();
    m_line = r->firstLine;
    m_token = 0;
    const Token &kind = nextToken();
    r->isFunction = kind.code == TokFunction;
    nextToken();
    if (peekToken().code == TokOpenParen)
        parseParams(r->params);
    for (const Param &p : r->params) {
        r->byRefParams = r->byRefParams || p.byRef;
        r->numericParams = r->numericParams && !p.byRef && !p.open && isNumericType(p.type);
    }
    if (r->isFunction) {
        expect(TokColon, ":");
        r->resultType = parseType();
    }
    accept(TokSemicolon);
    r->bodyLine = m_line;
    r->bodyToken = m_token;
    r->headerParsed = true;
    m_line = savedLine;
    m_token = savedToken;
    m_endLine = savedEnd;
    forgetLineCache();
}

void TQuillanPrivate::parseParams(std::vector<Param> &params)
{
    nextToken();
    while (peekToken().code != TokCloseParen) {
        Param p;
        if (accept(TokVar))
            p.byRef = true;
        const Token &name = nextToken();
        if (name.code != TokName)
            ReportError(51);
        p.name = m_symbols.name(name.sym);
        p.sym = name.sym;
        expect(TokColon, ":");
        if (accept(TokArray)) {
            expect(TokOf, "OF");
            p.open = true;
        }
        p.type = parseType();
        params.push_back(p);
        if (accept(TokSemicolon) || accept(TokComma))
            continue;
        if (peekToken().code != TokCloseParen)
            ReportError(22, QStringLiteral(")"));
    }
    nextToken();
}

template <typename ReadArgument>
void TQuillanPrivate::readArguments(const Routine &r, ReadArgument &&readArgument)
{
    // A routine without parameters is called with "()" or nothing at all.
    if (r.params.empty()) {
        if (peekToken().code == TokOpenParen) {
            nextToken();
            expect(TokCloseParen, ")");
        }
        return;
    }
    expect(TokOpenParen, "(");
    for (size_t i = 0; i < r.params.size(); ++i) {
        if (i > 0) {
            if (peekToken().code == TokCloseParen)
                ReportError(48);
            expect(TokComma, ",");
        }
        if (peekToken().code == TokCloseParen)
            ReportError(48);
        readArgument(i, r.params[i]);
    }
    expect(TokCloseParen, ")");
}

Cell TQuillanPrivate::call(Routine *r, Cell *self, int selfType)
{
    switch (r->kind) {
    case SystemRoutine: {
        if (!r->sys)
            ReportError(39);
        try {
            return r->sys(r->plugIn, m_owner);
        } catch (const EAbortQuillan &) {
            throw;
        } catch (const std::exception &e) {
            ReportText(QString::fromStdString(e.what()));
        } catch (...) {
            ReportError(27);
        }
    }
    case HostRoutine:
        return callHost(r);
    case ExternalRoutine:
        ReportError(4, r->name);
    case ScriptRoutine:
        break;
    }
    if (!r->headerParsed)
        parseHeader(r);
    std::vector<std::unique_ptr<Variable>> locals;
    if (!m_spareLocalLists.empty()) {
        locals = std::move(m_spareLocalLists.back());
        m_spareLocalLists.pop_back();
    }
    locals.reserve(r->params.size());
    readArguments(*r, [&](size_t, const Param &p) {
        auto local = takeLocal();
        local->sym = p.sym;
        local->type = p.type;
        if (p.open) {
            const VarRef src = variableRef();
            if (!src.var->isArray || !src.whole)
                ReportError(49);
            local->isArray = true;
            local->isOpen = src.var->isOpen;
            local->low = src.var->low;
            local->high = src.var->high;
            if (p.byRef) {
                local->alias = src.var;
            } else {
                local->elements = src.var->elements;
                if (src.var->openDense)
                    local->openDense = std::make_unique<std::deque<Cell>>(*src.var->openDense);
                local->openElements = src.var->openElements;
            }
        } else if (p.byRef) {
            const VarRef src = variableRef();
            local->ref = src.cell;
            local->type = src.type;
        } else {
            storeValueOfType(local->own, p.type);
        }
        locals.push_back(std::move(local));
    });
    return callScript(r, std::move(locals), self, selfType);
}

double TQuillanPrivate::callCompiled(Routine *r, const double *arguments)
{
    // The arguments are numbers already converted by the caller's program; each becomes a
    // parameter exactly as a parsed argument would, straight in the callee's frame.
    // A frame parked with as many parameters reuses them as they are.
    Frame &f = nextFrame();
    if (!f.parked || f.locals.size() != r->params.size()) {
        unpark(f);
        for (size_t i = 0; i < r->params.size(); ++i)
            f.locals.push_back(takeLocal());
    }
    f.parked = false;
    for (size_t i = 0; i < r->params.size(); ++i) {
        const Param &p = r->params[i];
        Variable &local = *f.locals[i];
        local.sym = p.sym;
        local.type = p.type;
        local.own.type = p.type;
        local.own.num = storedNumber(p.type, arguments[i]);
    }
    runFrame(r, nullptr, 0);
    return f.result.num;
}

Cell TQuillanPrivate::callScript(Routine *r, std::vector<std::unique_ptr<Variable>> locals,
                                 Cell *self, int selfType)
{
    Frame &f = nextFrame();
    unpark(f);
    for (auto &local : locals)
        f.locals.push_back(std::move(local));
    locals.clear();
    if (m_spareLocalLists.size() < MaxSpareLocals)
        m_spareLocalLists.push_back(std::move(locals));
    runFrame(r, self, selfType);
    return std::move(f.result);
}

void TQuillanPrivate::runFrame(Routine *r, Cell *self, int selfType)
{
    Frame &f = nextFrame();
    if (m_callDepth + 1 >= TQuillan::MaxCallDepth || stackRunningOut()) {
        releaseLocals(f.locals);
        ReportError(60);
    }
    const Position saved = position();
    ++m_frameCount;
    f.routine = r;
    f.loops = 0;
    f.self = nullptr;
    f.selfType = 0;
    if (isNumericType(r->resultType) && f.result.members.empty() && !f.result.table &&
        !f.result.file) {
        f.result.type = r->resultType;
        f.result.num = 0;
        if (!f.result.str.isNull())
            f.result.str = QString();
    } else {
        f.result = defaultCell(r->resultType);
    }
    if (self) {
        auto selfVar = std::make_unique<Variable>();
        selfVar->sym = symOf(QStringLiteral("SELF"));
        selfVar->type = selfType;
        selfVar->ref = self;
        f.locals.push_back(std::move(selfVar));
    }
    Frame *previous = m_frame;
    f.plain = !self && !r->byRefParams && f.locals.size() == r->params.size();
    m_frame = &f;
    ++m_callDepth;
    if (!f.plain || !previous || !previous->plain)
        namesChanged();
    if (m_lineHooks) {
        jump({r->bodyLine, r->bodyToken});
    } else {
        moveTo({r->bodyLine, r->bodyToken});
        checkStop();
    }
    if (m_owner.OnEnterProc)
        m_owner.OnEnterProc(m_owner, r->name);
    if (blocksOpen())
        runPart(r->bodyBlock, SetRoutineEnd);
    else
        execBlock(SetRoutineEnd);
    m_unwind = NoUnwind;
    if (m_owner.OnExitProc)
        m_owner.OnExitProc(m_owner, r->name);
    const bool plain = f.plain;
    if (plain && r->numericParams)
        f.parked = true;
    else
        releaseLocals(f.locals);
    --m_frameCount;
    m_frame = previous;
    --m_callDepth;
    if (!plain || !previous || !previous->plain)
        namesChanged();
    m_line = saved.line;
    m_token = saved.token;
}

std::unique_ptr<Variable> TQuillanPrivate::takeLocal()
{
    if (m_spareLocals.empty())
        return std::make_unique<Variable>();
    std::unique_ptr<Variable> v = std::move(m_spareLocals.back());
    m_spareLocals.pop_back();
    return v;
}

void TQuillanPrivate::releaseLocals(std::vector<std::unique_ptr<Variable>> &locals)
{
    for (auto &v : locals) {
        if (m_spareLocals.size() >= MaxSpareLocals)
            break;
        Cell &own = v->own;
        // Only variables holding nothing beyond a number or a text are worth keeping.
        if (v->isArray || v->alias || !v->elements.empty() || v->openDense ||
            !v->openElements.empty() || !own.members.empty() || own.table || own.file)
            continue;
        v->sym = -1;
        v->type = 0;
        v->isConst = false;
        v->low = 0;
        v->high = -1;
        v->ref = nullptr;
        own.type = 0;
        own.num = 0;
        own.str = QString();
        m_spareLocals.push_back(std::move(v));
    }
    locals.clear();
}

Cell TQuillanPrivate::callHost(Routine *r)
{
    // Argument blocks are kept by nesting depth: an argument may itself call a host routine.
    if (size_t(m_hostDepth) == m_hostParms.size())
        m_hostParms.push_back(std::make_unique<TProcParms>());
    TProcParms &parms = *m_hostParms[size_t(m_hostDepth)];
    struct DepthGuard
    {
        int &depth;
        ~DepthGuard() { --depth; }
    } guard{++m_hostDepth};
    auto &items = parms.items();
    items.resize(r->params.size() + 1);
    for (TProcParms::Item &item : items)
        item.writable = false;
    items[0].type = r->resultType;
    items[0].writable = true;
    items[0].value = defaultCell(r->resultType);
    std::vector<std::pair<size_t, VarRef>> byRef;
    readArguments(*r, [&](size_t i, const Param &p) {
        TProcParms::Item &item = items[i + 1];
        item.type = p.type;
        if (p.byRef) {
            const VarRef src = variableRef();
            if (isNumericType(p.type) != isNumericType(src.type) ||
                isStringType(p.type) != isStringType(src.type))
                ReportError(56);
            item.value = *src.cell;
            item.value.type = p.type;
            item.writable = true;
            byRef.emplace_back(i + 1, src);
        } else {
            item.value = valueOfType(p.type);
        }
    });
    try {
        r->host(r->data, m_owner, parms);
    } catch (const EAbortQuillan &) {
        throw;
    } catch (const std::exception &e) {
        ReportText(QString::fromStdString(e.what()));
    } catch (...) {
        ReportError(27);
    }
    for (const auto &[index, ref] : byRef) {
        const Cell &value = items[index].value;
        if (isNumericType(ref.type))
            ref.cell->num = storedNumber(ref.type, value.num);
        else if (ref.type == TypeString)
            ref.cell->str = value.str.left(255);
        else if (ref.type == TypeChar)
            ref.cell->str = value.str.left(1);
        else
            *ref.cell = value;
        ref.cell->type = ref.type;
    }
    return std::move(items[0].value);
}

Cell TQuillanPrivate::callRoutineByName(const QString &name, const std::vector<Cell> &arguments)
{
    Routine *r = lookupRoutine(m_symbols.find(SymbolTable::normalise(name)));
    if (!r || r->kind != ScriptRoutine)
        ReportError(1, SymbolTable::normalise(name));
    if (!r->headerParsed)
        parseHeader(r);
    std::vector<std::unique_ptr<Variable>> locals;
    for (size_t i = 0; i < r->params.size(); ++i) {
        const Param &p = r->params[i];
        auto local = makeVariable(p.sym, p.type, p.open, p.open, 0, -1);
        if (i < arguments.size())
            local->own = arguments[i];
        locals.push_back(std::move(local));
    }
    return callScript(r, std::move(locals), nullptr, 0);
}

void TQuillanPrivate::evaluate(const QString &text)
{
    const int savedLine = m_line;
    const int savedToken = m_token;
    const int savedEnd = m_endLine;
    Line line;
    line.number = TQuillan::EvaluateLine;
    line.text = text;
    m_lines.push_back(std::move(line));
    const int index = int(m_lines.size()) - 1;
    m_endLine = index + 1;
    forgetLineCache();
    m_line = index;
    m_token = 0;
    try {
        execBlock(SetNone);
    } catch (...) {
        m_lines.resize(size_t(index));
        m_endLine = savedEnd;
        forgetLineCache();
        throw;
    }
    m_lines.resize(size_t(index));
    m_endLine = savedEnd;
    forgetLineCache();
    m_line = savedLine;
    m_token = savedToken;
}

void TQuillanPrivate::write(const QString &text)
{
    if (m_owner.OnWrite) {
        m_owner.OnWrite(m_owner, text);
        return;
    }
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void TQuillanPrivate::advanceLine()
{
    if (m_owner.OnAdvanceLine) {
        m_owner.OnAdvanceLine(m_owner);
        return;
    }
    if (m_owner.OnWrite)
        m_owner.OnWrite(m_owner, QStringLiteral("\n"));
    else
        std::fputc('\n', stdout);
}

} // namespace Orbisong
