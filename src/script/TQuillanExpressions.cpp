#include "script/TQuillanPrivate.h"

#include <cmath>

namespace Orbisong {

namespace {

bool isArithmetic(quint16 c)
{
    return c == TokPlus || c == TokMinus || c == TokStar || c == TokSlash || c == TokPercent ||
           c == TokPower || c == TokShl || c == TokShr;
}

} // namespace

double TQuillanPrivate::numExpr()
{
    return numOr();
}

double TQuillanPrivate::numOrSlow()
{
    const NestingGuard nesting(*this);
    double v = numTerm();
    for (;;) {
        switch (peekToken().code) {
        case TokPlus:
            nextToken();
            v += numTerm();
            break;
        case TokMinus:
            nextToken();
            v -= numTerm();
            break;
        case TokOr:
            if (m_inRelation)
                return v;
            nextToken();
            v = double(toInt32(v) | toInt32(numTerm()));
            break;
        case TokXor:
            if (m_inRelation)
                return v;
            nextToken();
            v = double(toInt32(v) ^ toInt32(numTerm()));
            break;
        default:
            return v;
        }
    }
}

double TQuillanPrivate::numTerm()
{
    double v = numPower();
    for (;;) {
        switch (peekToken().code) {
        case TokStar:
            nextToken();
            v *= numPower();
            break;
        case TokSlash: {
            nextToken();
            const double d = numPower();
            if (d == 0)
                ReportError(58);
            v /= d;
            break;
        }
        case TokPercent: {
            nextToken();
            const qint32 d = toInt32(numPower());
            if (d == 0)
                ReportError(58);
            const qint32 a = toInt32(v);
            v = (d == -1) ? 0 : double(a % d);
            break;
        }
        case TokAnd:
            if (m_inRelation)
                return v;
            nextToken();
            v = double(toInt32(v) & toInt32(numPower()));
            break;
        case TokShl: {
            nextToken();
            const quint32 n = quint32(toInt32(numPower())) & 31;
            v = double(qint32(quint32(toInt32(v)) << n));
            break;
        }
        case TokShr: {
            nextToken();
            const quint32 n = quint32(toInt32(numPower())) & 31;
            v = double(qint32(quint32(toInt32(v)) >> n));
            break;
        }
        default:
            return v;
        }
    }
}

double TQuillanPrivate::numPower()
{
    double v;
    // Most operands are a literal or a plain numeric variable already resolved on this line:
    // they are read here without descending through the unary and factor levels.
    const Token *t = m_line == m_curLine && m_token < m_curCount ? &m_cur[m_token] : nullptr;
    if (t && (t->code == TokInteger || t->code == TokReal)) {
        v = t->number;
        ++m_token;
    } else if (Variable *var =
                   t && t->code == TokName && !lookupRoutine(t->sym) ? variableOf(*t) : nullptr;
               var && !var->alias && !var->isArray && isNumericType(var->type)) {
        v = var->cell().num;
        ++m_token;
    } else {
        v = numUnary();
    }
    while (peekToken().code == TokPower) {
        nextToken();
        const double e = numUnary();
        v = std::pow(v, e);
        if (std::isnan(v))
            ReportError(59, QStringLiteral("POWER"));
    }
    return v;
}

double TQuillanPrivate::numUnary()
{
    const NestingGuard nesting(*this);
    switch (peekToken().code) {
    case TokPlus:
        nextToken();
        return numUnary();
    case TokMinus:
        nextToken();
        return -numUnary();
    case TokTilde:
        nextToken();
        return double(~toInt32(numUnary()));
    default:
        return numFactor();
    }
}

double TQuillanPrivate::numFactor()
{
    const Token &t = nextToken();
    switch (t.code) {
    case TokInteger:
    case TokReal:
        return t.number;
    case TokOpenParen: {
        const bool inRelation = m_inRelation;
        m_inRelation = false;
        const double v = numOr();
        m_inRelation = inRelation;
        if (nextToken().code != TokCloseParen)
            ReportError(11);
        return v;
    }
    case TokName: {
        if (Routine *r = lookupRoutine(t.sym)) {
            if (!r->headerParsed)
                parseHeader(r);
            if (!isNumericType(r->resultType))
                ReportError(14);
            return call(r).num;
        }
        Variable *v = variableOf(t);
        if (v && !v->alias && !v->isArray) {
            if (!isNumericType(v->type))
                ReportError(13);
            return v->cell().num;
        }
        // A word naming a variable is known; only other words need the full resolution.
        if (!v && resolvedCode(t) == TokUnknown)
            ReportError(8, t.text);
        const VarRef ref = resolveDotted(t);
        if (!isNumericType(ref.type) || (ref.whole && ref.var->isArray))
            ReportError(13);
        return ref.cell->num;
    }
    default:
        ReportError(13);
    }
}

QString TQuillanPrivate::strExpr()
{
    const NestingGuard nesting(*this);
    QString s = strTerm();
    while (peekToken().code == TokPlus) {
        nextToken();
        const QString more = strTerm();
        chargeMemory(2 * (qint64(s.size()) + more.size()));
        s += more;
    }
    return s;
}

QString TQuillanPrivate::strTerm()
{
    const Token &t = nextToken();
    switch (t.code) {
    case TokString:
        return t.text;
    case TokOpenParen: {
        QString s = strExpr();
        if (nextToken().code != TokCloseParen)
            ReportError(11);
        return s;
    }
    case TokName: {
        if (Routine *r = lookupRoutine(t.sym)) {
            if (!r->headerParsed)
                parseHeader(r);
            if (!isStringType(r->resultType))
                ReportError(24);
            return call(r).str;
        }
        if (!variableOf(t) && resolvedCode(t) == TokUnknown)
            ReportError(8, t.text);
        const VarRef ref = resolveDotted(t);
        if (!isStringType(ref.type) || (ref.whole && ref.var->isArray))
            ReportError(18);
        return ref.cell->str;
    }
    default:
        ReportError(18);
    }
}

int TQuillanPrivate::staticTypeAt(int offset)
{
    if (m_line >= m_endLine)
        return 0;
    Line &line = m_lines[size_t(m_line)];
    if (!line.tokenized)
        tokenize(line);
    const auto &tokens = line.tokens;
    size_t i = size_t(m_token + offset);
    while (i < tokens.size() && tokens[i].code == TokOpenParen)
        ++i;
    if (i >= tokens.size())
        return 0;
    const Token &t = tokens[i];
    switch (t.code) {
    case TokString:
        return TypeString;
    case TokInteger:
    case TokReal:
        return TypeReal;
    case TokTrue:
    case TokFalse:
        return TypeBoolean;
    case TokNil:
        return TypePointer;
    case TokName:
        break;
    default:
        return 0;
    }
    if (Routine *r = lookupRoutine(t.sym)) {
        if (!r->headerParsed)
            parseHeader(r);
        return r->resultType;
    }
    Variable *v = variableOf(t);
    int type = 0;
    if (v) {
        type = v->target()->type;
    } else if (t.baseSym >= 0 && (v = lookupVariable(t.baseSym))) {
        type = v->target()->type;
        for (int member : t.path) {
            const TypeInfo *info = typeInfo(type);
            const int index = info ? info->memberIndex(member) : -1;
            if (index < 0)
                return 0;
            type = info->members[size_t(index)].type;
        }
    } else {
        return 0;
    }
    // An element of an array of records followed by ".member".
    size_t j = i + 1;
    if (j < tokens.size() && tokens[j].code == TokOpenBracket) {
        int depth = 0;
        for (; j < tokens.size(); ++j) {
            if (tokens[j].code == TokOpenBracket)
                ++depth;
            else if (tokens[j].code == TokCloseBracket && --depth == 0)
                break;
        }
        ++j;
        while (j + 1 < tokens.size() && tokens[j].code == TokDot && tokens[j + 1].code == TokName) {
            const TypeInfo *info = typeInfo(type);
            const int index = info ? info->memberIndex(tokens[j + 1].sym) : -1;
            if (index < 0)
                return 0;
            type = info->members[size_t(index)].type;
            j += 2;
        }
    }
    return type;
}

bool TQuillanPrivate::peekIsString()
{
    return isStringType(staticTypeAt(0));
}

bool TQuillanPrivate::boolOr()
{
    const NestingGuard nesting(*this);
    bool v = boolXor();
    while (peekToken().code == TokOr) {
        nextToken();
        const bool r = boolXor();
        v = v || r;
    }
    return v;
}

bool TQuillanPrivate::boolXor()
{
    bool v = boolAnd();
    while (peekToken().code == TokXor) {
        nextToken();
        v = v != boolAnd();
    }
    return v;
}

bool TQuillanPrivate::boolAnd()
{
    bool v = boolNot();
    while (peekToken().code == TokAnd) {
        nextToken();
        const bool r = boolNot();
        v = v && r;
    }
    return v;
}

bool TQuillanPrivate::boolNot()
{
    const NestingGuard nesting(*this);
    if (peekToken().code == TokNot) {
        nextToken();
        return !boolNot();
    }
    return boolPrimary();
}

bool TQuillanPrivate::parenIsBoolean()
{
    const Line &line = m_lines[size_t(m_line)];
    const auto &tokens = line.tokens;
    int depth = 0;
    for (size_t i = size_t(m_token); i < tokens.size(); ++i) {
        if (tokens[i].code == TokOpenParen) {
            ++depth;
        } else if (tokens[i].code == TokCloseParen && --depth == 0) {
            if (i + 1 < tokens.size()) {
                const quint16 after = tokens[i + 1].code;
                return !isRelationOperator(after) && !isArithmetic(after);
            }
            return true;
        }
    }
    return true;
}

bool TQuillanPrivate::boolPrimary()
{
    const Token &p = peekToken();
    bool value = false;
    switch (p.code) {
    case TokTrue:
    case TokFalse:
        nextToken();
        value = p.code == TokTrue;
        break;
    case TokOpenParen:
        if (m_line < m_endLine && parenIsBoolean()) {
            nextToken();
            value = boolOr();
            if (nextToken().code != TokCloseParen)
                ReportError(11);
            break;
        }
        return relation(peekIsString());
    case TokName: {
        const int type = staticTypeAt(0);
        if (!isBooleanType(type)) {
            if (Routine *r = lookupRoutine(p.sym); r && r->resultType == 0)
                ReportError(29);
            if (resolvedCode(p) == TokUnknown) {
                nextToken();
                ReportError(8, p.text);
            }
            if (!isNumericType(type) && !isStringType(type)) {
                if (lookupRoutine(p.sym))
                    ReportError(29);
                ReportError(30);
            }
            return relation(isStringType(type));
        }
        nextToken();
        if (Routine *r = lookupRoutine(p.sym))
            value = call(r).num != 0;
        else
            value = resolveDotted(p).cell->num != 0;
        break;
    }
    default:
        return relation(peekIsString());
    }
    const quint16 op = peekToken().code;
    if (op == TokEqual || op == TokNotEqual) {
        nextToken();
        const bool other = boolNot();
        return op == TokEqual ? value == other : value != other;
    }
    return value;
}

bool TQuillanPrivate::relation(bool isString)
{
    if (isString) {
        const QString a = strExpr();
        const quint16 op = peekToken().code;
        if (!isRelationOperator(op))
            ReportError(28);
        nextToken();
        const QString b = strExpr();
        return relationHolds(op, a, b);
    }
    // Inside a condition AND, OR and XOR join relations rather than numbers.
    const bool inRelation = m_inRelation;
    m_inRelation = true;
    const double a = numOr();
    const quint16 op = peekToken().code;
    if (!isRelationOperator(op))
        ReportError(28);
    nextToken();
    const double b = numOr();
    m_inRelation = inRelation;
    return relationHolds(op, a, b);
}

Cell TQuillanPrivate::pointerExpr()
{
    Cell c;
    c.type = TypePointer;
    const Token &t = nextToken();
    if (t.code == TokNil)
        return c;
    if (t.code != TokName)
        ReportError(17);
    if (Routine *r = lookupRoutine(t.sym)) {
        if (!r->headerParsed)
            parseHeader(r);
        if (r->resultType != TypePointer)
            ReportError(44);
        c.num = call(r).num;
        return c;
    }
    if (resolvedCode(t) == TokUnknown)
        ReportError(8, t.text);
    const VarRef ref = resolveDotted(t);
    if (ref.type != TypePointer)
        ReportError(43);
    c.num = ref.cell->num;
    return c;
}

} // namespace Orbisong
