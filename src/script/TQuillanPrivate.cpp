#include "script/TQuillanPrivate.h"

#include "script/InteractivePort.h"
#include "script/ScriptTextFile.h"
#include "script/TDynaTable.h"

#include <QFile>
#include <QStringDecoder>

#include <cstdio>
#include <cstdlib>

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

QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252(bytes);
    return QString::fromLatin1(bytes);
}

QString firstWord(const QString &text, int *at)
{
    int i = *at;
    const int n = int(text.size());
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const int start = i;
    while (i < n && text[i] != QLatin1Char(' ') && text[i] != QLatin1Char('\t') &&
           text[i] != QLatin1Char('(') && text[i] != QLatin1Char(':') &&
           text[i] != QLatin1Char(';'))
        ++i;
    *at = i;
    return text.mid(start, i - start).toUpper();
}

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

// ---------------------------------------------------------------- errors

void TQuillanPrivate::ReportError(int number, const QString &text)
{
    for (const auto &p : m_plugIns) {
        const QString own = p->errorText(number);
        if (!own.isEmpty())
            ReportText(own);
    }
    ReportText(TQuillan::errorMessage(number, text));
}

void TQuillanPrivate::ReportText(const QString &text)
{
    if (!m_errorFlag) {
        m_errorFlag = true;
        deliver(text);
    }
    throw EAbortQuillan{};
}

void TQuillanPrivate::deliver(const QString &text)
{
    if (m_owner.OnError) {
        m_owner.OnError(m_owner, text);
        return;
    }
    // A host that does not handle errors gets them shown, and the program ends.
    if (m_port)
        m_port->messageBox(text, QStringLiteral("Quillan Error"), 0x30);
    else
        std::fprintf(stderr, "Quillan Error: %s\n", text.toLocal8Bit().constData());
    std::exit(100);
}

int TQuillanPrivate::currentLineNumber() const
{
    if (m_line >= 0 && m_line < int(m_lines.size()))
        return m_lines[size_t(m_line)].number;
    return 0;
}

QString TQuillanPrivate::currentRoutine() const
{
    return m_frame && m_frame->routine ? m_frame->routine->name : QString();
}

// ---------------------------------------------------------------- loading

void TQuillanPrivate::resetTables()
{
    namesChanged();
    m_errorFlag = false;
    m_lines.clear();
    m_programs.clear();
    m_conditions.clear();
    m_scriptLines = 0;
    m_endLine = 0;
    m_line = 0;
    forgetLineCache();
    m_token = 0;
    m_labels.clear();
    m_openRoutine.clear();
    m_typeBlockLines.clear();
    m_varBlockLines.clear();
    m_frames.clear();
    m_frameCount = 0;
    m_hostDepth = 0;
    m_frame = nullptr;
    m_callDepth = -1;
    m_unwind = NoUnwind;
    // System routines belong to the attached libraries; everything else is registered anew.
    std::vector<std::unique_ptr<Routine>> kept;
    for (auto &r : m_routines)
        if (r->kind == SystemRoutine)
            kept.push_back(std::move(r));
    m_routines = std::move(kept);
    m_retiredRoutines.clear();
    std::fill(m_routineOf.begin(), m_routineOf.end(), nullptr);
    for (auto &r : m_routines)
        m_routineOf[size_t(r->sym)] = r.get();
    m_globalStore.clear();
    std::fill(m_globalOf.begin(), m_globalOf.end(), nullptr);
    for (size_t i = FirstScriptType; i < m_types.size(); ++i)
        m_typeOf[size_t(symOf(m_types[i].name))] = 0;
    m_types.resize(FirstScriptType);
}

bool TQuillanPrivate::LoadScript(const QString &fileName)
{
    if (m_running)
        return false;
    resetTables();
    for (const auto &p : m_plugIns) {
        p->prepare();
        p->registerConsts();
        p->registerProcs();
    }
    if (m_owner.OnRegisterTypes && !m_typesFired) {
        m_typesFired = true;
        m_owner.OnRegisterTypes(m_owner);
    }
    if (m_owner.OnRegisterProcs)
        m_owner.OnRegisterProcs(m_owner);
    if (fileName.isEmpty())
        return true;
    QFile file(fileName);
    QStringList lines;
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.exists()) {
            m_errorFlag = true;
            deliver(QStringLiteral("Error Reading File : ") + fileName);
            return false;
        }
    } else {
        QString text = decodeText(file.readAll());
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        lines = text.split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
    }
    return loadLines(lines);
}

bool TQuillanPrivate::LoadScriptLines(const QStringList &lines)
{
    if (m_running)
        return false;
    resetTables();
    for (const auto &p : m_plugIns) {
        p->prepare();
        p->registerConsts();
        p->registerProcs();
    }
    if (m_owner.OnRegisterProcs)
        m_owner.OnRegisterProcs(m_owner);
    return loadLines(lines);
}

bool TQuillanPrivate::loadLines(const QStringList &lines)
{
    bool inRemark = false;
    m_lines.reserve(size_t(lines.size()) + 1);
    QString openRoutine;
    int openRemarkLine = -1;
    for (QString text : lines) {
        if (m_owner.OnSrcLineRead)
            m_owner.OnSrcLineRead(m_owner, text);
        Line line;
        line.number = int(m_lines.size()) + 1;
        line.text = text;
        line.startsInRemark = inRemark;
        m_lines.push_back(std::move(line));
        m_line = int(m_lines.size()) - 1;
        if (!inRemark)
            preScan(m_line);
        const bool endsOpen = Tokenizer::endsInRemark(text, inRemark);
        if (endsOpen && !inRemark)
            openRemarkLine = m_line;
        inRemark = endsOpen;
    }
    if (inRemark && openRemarkLine >= 0)
        m_lines[size_t(openRemarkLine)].remarkNeverCloses = true;
    m_scriptLines = int(m_lines.size());
    m_endLine = m_scriptLines;
    forgetLineCache();
    processBlocks();
    m_line = 0;
    m_token = 0;
    return !m_errorFlag;
}

void TQuillanPrivate::preScan(int index)
{
    const QString &text = m_lines[size_t(index)].text;
    int at = 0;
    const QString word = firstWord(text, &at);
    if (word.isEmpty())
        return;
    const quint16 code = m_tokenizer.keyword(word);
    auto reportOnce = [this](const QString &message) {
        if (!m_errorFlag) {
            m_errorFlag = true;
            deliver(message);
        }
    };
    QString &currentRoutine = m_openRoutine;
    if (!code && at < text.size() && text[at] == QLatin1Char(':') &&
        !(at + 1 < text.size() && text[at + 1] == QLatin1Char('='))) {
        m_labels.push_back({SymbolTable::normalise(word), currentRoutine, index + 1});
        return;
    }
    switch (code) {
    case TokEndProc:
        if (currentRoutine.isEmpty())
            reportOnce(QStringLiteral("Routine End, with no routine defined !"));
        currentRoutine.clear();
        break;
    case TokProcedure:
    case TokFunction: {
        if (!currentRoutine.isEmpty()) {
            reportOnce(QStringLiteral("Can not nest routines !"));
            break;
        }
        const QString name = firstWord(text, &at);
        if (name.isEmpty())
            break;
        Routine *r = addRoutine(name);
        r->kind = ScriptRoutine;
        r->firstLine = index;
        currentRoutine = r->name;
        break;
    }
    case TokExternal: {
        const QString next = firstWord(text, &at);
        const quint16 kind = m_tokenizer.keyword(next);
        if (kind != TokProcedure && kind != TokFunction) {
            reportOnce(QStringLiteral("Procedure/Function expected"));
            break;
        }
        const QString name = firstWord(text, &at);
        if (!name.isEmpty()) {
            Routine *r = addRoutine(name);
            r->kind = ExternalRoutine;
            r->firstLine = index;
            r->headerParsed = true;
        }
        break;
    }
    case TokType:
        if (currentRoutine.isEmpty())
            m_typeBlockLines.push_back(index);
        break;
    case TokGlobal:
    case TokVar:
        if (currentRoutine.isEmpty())
            m_varBlockLines.push_back(index);
        break;
    default:
        break;
    }
}

void TQuillanPrivate::processBlocks()
{
    try {
        for (int line : m_typeBlockLines) {
            m_line = line;
            m_token = 0;
            nextToken();
            typeBlock();
        }
        for (int line : m_varBlockLines) {
            m_line = line;
            m_token = 0;
            declarations(nextToken().code);
        }
    } catch (const EAbortQuillan &) {
    }
}

TQuillanPrivate::Routine *TQuillanPrivate::addRoutine(const QString &name)
{
    const int sym = symOf(name);
    auto r = std::make_unique<Routine>();
    r->name = m_symbols.name(sym);
    r->sym = sym;
    Routine *raw = r.get();
    // A word's kept resolution depends on whether it names a routine.
    namesChanged();
    for (auto &existing : m_routines) {
        if (existing->sym == sym) {
            // Compiled calls compare routine addresses, so a replaced routine stays alive
            // and its address is never reused while programs may hold it.
            m_retiredRoutines.push_back(std::move(existing));
            existing = std::move(r);
            m_routineOf[size_t(sym)] = raw;
            return raw;
        }
    }
    m_routines.push_back(std::move(r));
    m_routineOf[size_t(sym)] = raw;
    return raw;
}

bool TQuillanPrivate::ProcedureExists(const QString &name) const
{
    const int sym = m_symbols.find(SymbolTable::normalise(name));
    return lookupRoutine(sym) != nullptr;
}

// ---------------------------------------------------------------- registration

bool TQuillanPrivate::RegisterProc(const QString &declaration, HostCallback callback, void *data)
{
    std::vector<Token> tokens;
    m_tokenizer.tokenize(declaration, false, false, tokens);
    size_t i = 0;
    auto at = [&](size_t k) -> const Token * { return k < tokens.size() ? &tokens[k] : nullptr; };
    auto typeOf = [](quint16 code) {
        switch (code) {
        case TokLongint:
            return int(TypeLongint);
        case TokIntegerType:
            return int(TypeInteger);
        case TokByte:
            return int(TypeByte);
        case TokRealType:
            return int(TypeReal);
        case TokWord:
            return int(TypeWord);
        case TokStringType:
            return int(TypeString);
        case TokPChar:
            return int(TypePChar);
        case TokBoolean:
            return int(TypeBoolean);
        case TokChar:
            return int(TypeChar);
        case TokPointer:
            return int(TypePointer);
        case TokBool:
            return int(TypeBool);
        default:
            return 0;
        }
    };
    if (!at(i) || (at(i)->code != TokProcedure && at(i)->code != TokFunction))
        return false;
    const bool isFunction = tokens[i++].code == TokFunction;
    if (!at(i) || at(i)->code != TokName)
        return false;
    const QString name = tokens[i++].text;
    std::vector<Param> params;
    if (at(i) && at(i)->code == TokOpenParen) {
        ++i;
        while (at(i) && at(i)->code != TokCloseParen) {
            Param p;
            if (at(i)->code == TokVar) {
                p.byRef = true;
                ++i;
            }
            // Parameter names are only labels here, so words such as TEXT may name them.
            if (!at(i) || at(i)->text.isEmpty() ||
                !(at(i)->text.at(0).isLetter() || at(i)->text.at(0) == QLatin1Char('_')))
                return false;
            p.name = at(i)->text;
            ++i;
            if (!at(i) || at(i)->code != TokColon)
                return false;
            ++i;
            if (at(i) && at(i)->code == TokArray) {
                p.open = true;
                i += 2;
            }
            if (!at(i) || !(p.type = typeOf(at(i)->code)))
                return false;
            ++i;
            params.push_back(p);
            if (at(i) && (at(i)->code == TokSemicolon || at(i)->code == TokComma))
                ++i;
        }
        if (!at(i))
            return false;
        ++i;
    }
    int resultType = 0;
    if (isFunction) {
        if (!at(i) || at(i)->code != TokColon || !at(i + 1) ||
            !(resultType = typeOf(at(i + 1)->code)))
            return false;
    }
    Routine *r = addRoutine(name);
    r->kind = HostRoutine;
    r->isFunction = isFunction;
    r->resultType = resultType;
    r->params = std::move(params);
    r->headerParsed = true;
    r->host = std::move(callback);
    r->data = data;
    return true;
}

void TQuillanPrivate::RegisterSysProc(const QString &name, int resultType, bool isFunction,
                                      SysCallback callback, TQuillanPlugIn *plugIn, int number)
{
    Routine *r = addRoutine(name);
    r->kind = SystemRoutine;
    r->resultType = resultType;
    r->isFunction = isFunction;
    r->headerParsed = true;
    r->sys = std::move(callback);
    r->plugIn = plugIn;
    r->number = number;
}

void TQuillanPrivate::RegisterConst(const QString &name, int type, const Cell &value)
{
    const int sym = symOf(name);
    auto v = makeVariable(sym, type, false, false, 0, -1);
    v->own.num = value.num;
    v->own.str = value.str;
    v->isConst = true;
    namesChanged();
    m_globalOf[size_t(sym)] = v.get();
    m_globalStore.push_back(std::move(v));
}

Variable *TQuillanPrivate::findVariable(const QString &name)
{
    return lookupVariable(symOf(name));
}

Variable *TQuillanPrivate::createGlobal(const QString &name, int type)
{
    const int sym = symOf(name);
    if (Variable *v = m_globalOf[size_t(sym)])
        return v;
    auto v = makeVariable(sym, type, false, false, 0, -1);
    Variable *raw = v.get();
    namesChanged();
    m_globalOf[size_t(sym)] = raw;
    m_globalStore.push_back(std::move(v));
    return raw;
}

std::unique_ptr<Variable> TQuillanPrivate::makeVariable(int sym, int type, bool isArray,
                                                        bool isOpen, int low, int high)
{
    auto v = std::make_unique<Variable>();
    v->sym = sym;
    v->type = type;
    v->isArray = isArray;
    v->isOpen = isOpen;
    v->low = low;
    v->high = high;
    v->own = defaultCell(type);
    if (isArray && !isOpen) {
        const qint64 count = qint64(high) - low + 1;
        if (count < 0 || count > 16 * 1024 * 1024)
            ReportError(46);
        v->elements.assign(size_t(count), v->own);
    }
    return v;
}

Cell TQuillanPrivate::defaultCell(int type) const
{
    Cell c;
    c.type = type;
    if (type < FirstScriptType && type != TypeText)
        return c;
    if (type == TypeText)
        c.file = std::make_shared<ScriptTextFile>();
    if (const TypeInfo *t = typeInfo(type); t && t->isRecord) {
        c.members.reserve(t->members.size());
        for (const TypeMember &m : t->members)
            c.members.push_back(defaultCell(m.type));
    }
    return c;
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
    m_unwind = NoUnwind;
    m_inRelation = false;
    m_frames.clear();
    m_frameCount = 0;
    m_hostDepth = 0;
    m_frame = nullptr;
    m_callDepth = -1;
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

// ---------------------------------------------------------------- names

Variable *TQuillanPrivate::findLocal(int sym) const
{
    if (!m_frame)
        return nullptr;
    for (const auto &v : m_frame->locals)
        if (v->sym == sym)
            return v.get();
    return nullptr;
}

void TQuillanPrivate::resolve(const Token &t)
{
    t.epoch = m_resolveEpoch;
    t.variable = nullptr;
    t.localIndex = -1;
    // A routine's name is never read as a variable, even where a parameter shares it.
    if (t.sym < 0 || lookupRoutine(t.sym))
        return;
    if (m_frame) {
        const auto &locals = m_frame->locals;
        for (size_t i = 0; i < locals.size(); ++i) {
            if (locals[i]->sym == t.sym) {
                t.localIndex = int(i);
                return;
            }
        }
    }
    t.variable = size_t(t.sym) < m_globalOf.size() ? m_globalOf[size_t(t.sym)] : nullptr;
}

Variable *TQuillanPrivate::lookupVariable(int sym) const
{
    if (sym < 0)
        return nullptr;
    if (Variable *v = findLocal(sym))
        return v;
    return size_t(sym) < m_globalOf.size() ? m_globalOf[size_t(sym)] : nullptr;
}

int TQuillanPrivate::lookupType(int sym) const
{
    return sym >= 0 && size_t(sym) < m_typeOf.size() ? m_typeOf[size_t(sym)] : 0;
}

quint16 TQuillanPrivate::resolvedCode(const Token &t)
{
    if (t.code != TokName)
        return t.code;
    if (lookupRoutine(t.sym))
        return TokRoutine;
    if (variableOf(t))
        return t.localIndex >= 0 ? TokLocalVar : TokGlobalVar;
    if (const int type = lookupType(t.sym))
        return m_types[size_t(type)].isClass ? TokClassType : TokRecordType;
    if (t.baseSym >= 0) {
        if (findLocal(t.baseSym))
            return TokLocalVar;
        if (lookupVariable(t.baseSym))
            return TokGlobalVar;
    }
    return TokUnknown;
}

void TQuillanPrivate::selectMember(VarRef &ref, int memberSym, bool dotted)
{
    const TypeInfo *type = typeInfo(ref.type);
    if (!type || !type->isRecord)
        ReportError(dotted ? 52 : 54);
    const int index = type->memberIndex(memberSym);
    if (index < 0)
        ReportError(53, m_symbols.name(memberSym));
    ref.cell = &ref.cell->members[size_t(index)];
    ref.type = type->members[size_t(index)].type;
    ref.whole = false;
}

void TQuillanPrivate::indexArray(VarRef &ref)
{
    nextToken();
    Variable *v = ref.var;
    if (!v->isArray || !ref.whole)
        ReportError(49);
    const bool inRelation = m_inRelation;
    m_inRelation = false;
    const double at = numOr();
    m_inRelation = inRelation;
    expect(TokCloseBracket, "]");
    ref.cell = elementCell(v, at);
    ref.whole = false;
}

Cell *TQuillanPrivate::elementCell(Variable *v, double at)
{
    const qint64 index = saturate(at, -9e18, 9e18);
    if (v->isOpen) {
        constexpr qint64 DenseReach = 4096;
        const qint64 size = v->openSize();
        if (index >= 0 && index < size)
            return &(*v->openDense)[size_t(index)];
        if (index >= 0 && index < size + DenseReach &&
            v->openElements.upper_bound(size - 1) == v->openElements.end()) {
            if (!v->openDense)
                v->openDense = std::make_unique<std::deque<Cell>>();
            const Cell empty = defaultCell(v->type);
            while (qint64(v->openDense->size()) <= index)
                v->openDense->push_back(empty);
            return &(*v->openDense)[size_t(index)];
        }
        auto found = v->openElements.find(index);
        if (found == v->openElements.end())
            found = v->openElements.emplace(index, defaultCell(v->type)).first;
        return &found->second;
    }
    if (index < v->low || index > v->high)
        ReportError(46);
    return &v->elements[size_t(index - v->low)];
}

TQuillanPrivate::VarRef TQuillanPrivate::resolveDotted(const Token &t)
{
    VarRef ref;
    Variable *v = variableOf(t);
    if (!v && t.baseSym >= 0) {
        v = lookupVariable(t.baseSym);
        if (!v)
            ReportError(26);
        v = v->target();
        ref.var = v;
        ref.cell = &v->cell();
        ref.type = v->type;
        for (int member : t.path)
            selectMember(ref, member, true);
    } else {
        if (!v)
            ReportError(26);
        v = v->target();
        ref.var = v;
        ref.cell = &v->cell();
        ref.type = v->type;
    }
    for (;;) {
        const Token &p = peekToken();
        if (p.code == TokOpenBracket && ref.var->isArray) {
            indexArray(ref);
        } else if (p.code == TokDot && !ref.whole &&
                   m_token + 1 < int(m_lines[size_t(m_line)].tokens.size()) &&
                   m_lines[size_t(m_line)].tokens[size_t(m_token + 1)].code == TokName) {
            nextToken();
            const Token &member = nextToken();
            selectMember(ref, member.sym, false);
        } else {
            break;
        }
    }
    return ref;
}

TQuillanPrivate::VarRef TQuillanPrivate::variableRef()
{
    const Token &t = peekToken();
    if (t.code != TokName)
        ReportError(26);
    const quint16 code = resolvedCode(t);
    if (code != TokLocalVar && code != TokGlobalVar)
        ReportError(26);
    nextToken();
    return resolveDotted(t);
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
    if (m_callDepth + 1 >= TQuillan::MaxCallDepth) {
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
