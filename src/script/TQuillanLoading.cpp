#include "script/TQuillanPrivate.h"

#include "script/ScriptTextFile.h"
#include "script/TDynaTable.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace Orbisong {

namespace {

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

// The deepest nesting of parentheses and brackets on a line, outside literals and remarks.
int deepestNesting(const QString &text)
{
    int depth = 0;
    int deepest = 0;
    QChar quote;
    bool inBrace = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (inBrace) {
            inBrace = c != QLatin1Char('}');
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('{')) {
            inBrace = true;
        } else if (c == QLatin1Char('/') && text.mid(i, 2) == QLatin1String("//")) {
            break;
        } else if (c == QLatin1Char('(') || c == QLatin1Char('[')) {
            deepest = std::max(deepest, ++depth);
        } else if (c == QLatin1Char(')') || c == QLatin1Char(']')) {
            --depth;
        }
    }
    return deepest;
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
    auto reportOnce = [this](const QString &message) {
        if (!m_errorFlag) {
            m_errorFlag = true;
            deliver(message);
        }
    };
    if (deepestNesting(text) > TQuillan::MaxNesting)
        reportOnce(TQuillan::errorMessage(63, {}));
    int at = 0;
    const QString word = firstWord(text, &at);
    if (word.isEmpty())
        return;
    const quint16 code = m_tokenizer.keyword(word);
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
        chargeMemory(count * qint64(sizeof(Cell)) * qint64(1 + v->own.members.size()));
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

} // namespace Orbisong
