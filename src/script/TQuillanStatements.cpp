#include "script/ScriptTextFile.h"
#include "script/TDynaTable.h"
#include "script/TQuillanPrivate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Orbisong {

namespace {

using StopSet = std::bitset<128>;

StopSet stopSet(std::initializer_list<quint16> codes)
{
    StopSet s;
    for (quint16 c : codes)
        s.set(c);
    return s;
}

// Indexed by the engine's block set numbers.
const StopSet BlockStops[] = {
    {},                                          // SetNone
    stopSet({TokElse, TokEndIf}),                // SetElseEndIf
    stopSet({TokEndIf}),                         // SetEndIf
    stopSet({TokEndWhile}),                      // SetEndWhile
    stopSet({TokEndFor}),                        // SetEndFor
    stopSet({TokUntil}),                         // SetUntil
    stopSet({TokEndCase}),                       // SetEndCase
    stopSet({TokEndSwitch}),                     // SetEndSwitch
    stopSet({TokEndWhile, TokEndFor, TokUntil}), // SetLoopEnds
    stopSet({TokEndCase, TokEndSwitch}),         // SetElseCase
    {},                                          // SetRoutineEnd
};

} // namespace

const TQuillanPrivate::StopSet &TQuillanPrivate::stopsOf(int set)
{
    return BlockStops[set];
}

quint16 TQuillanPrivate::execBlock(int set)
{
    const StopSet &stops = stopsOf(set);
    if (set != SetNone && blocksOpen()) {
        const int block = compiledBlockHere(set);
        if (block >= 0)
            return runBlock(*m_blocks[size_t(block)]);
    }
    return walkBlock(stops);
}

quint16 TQuillanPrivate::walkBlock(const StopSet &stops)
{
    for (;;) {
        const Token &t = nextToken();
        const quint16 code = t.code;
        if ((code < 128 && stops.test(code)) || code == TokEnd || code == TokEndProc)
            return code;
        if (passedBetweenStatements(code))
            continue;
        statement(t);
        if (m_unwind != NoUnwind)
            return BlockUnwound;
    }
}

void TQuillanPrivate::statement(const Token &t)
{
    switch (t.code) {
    case TokName: {
        if (Routine *r = lookupRoutine(t.sym)) {
            if (m_frame && m_frame->routine == r && r->isFunction &&
                peekToken().code == TokAssign) {
                nextToken();
                storeValueOfType(m_frame->result, r->resultType);
                return;
            }
            call(r);
            return;
        }
        if (Variable *v = variableOf(t)) {
            // "number := expression", the commonest statement, without the general addressing.
            if (!v->alias && !v->isArray && !v->isConst && isNumericType(v->type) &&
                m_line == m_curLine && m_token < m_curCount && m_cur[m_token].code == TokAssign) {
                ++m_token;
                const int type = v->type;
                const double value = numOr();
                v->cell().num = storedNumber(type, value);
                return;
            }
            assignment(t);
            return;
        }
        if (t.baseSym >= 0) {
            if (Variable *base = lookupVariable(t.baseSym)) {
                const TypeInfo *type = typeInfo(base->target()->type);
                if (type && type->isClass && t.path.size() == 1 &&
                    type->memberIndex(t.path.front()) < 0) {
                    const QString method =
                        QStringLiteral("_%1%2").arg(type->id).arg(m_symbols.name(t.path.front()));
                    Routine *r = lookupRoutine(m_symbols.find(SymbolTable::normalise(method)));
                    if (!r)
                        ReportError(53, m_symbols.name(t.path.front()));
                    call(r, &base->target()->cell(), type->id);
                    return;
                }
                assignment(t);
                return;
            }
        }
        // A label line ("name:") marks a place; executing it does nothing.
        if (m_token == 1 && peekToken().code == TokColon) {
            nextToken();
            return;
        }
        ReportError(8, t.text);
    }
    case TokIf:
        ifStatement();
        return;
    case TokWhile:
        whileStatement();
        return;
    case TokFor:
        forStatement();
        return;
    case TokRepeat:
        repeatStatement();
        return;
    case TokSwitch:
        switchStatement();
        return;
    case TokReturn:
        returnStatement();
        return;
    case TokWrite:
        writeStatement(false);
        return;
    case TokWriteLn:
        writeStatement(true);
        return;
    case TokRead:
        readStatement(false);
        return;
    case TokReadLn:
        readStatement(true);
        return;
    case TokVar:
    case TokGlobal:
        declarations(t.code);
        return;
    case TokContinue:
        if (!m_frame || m_frame->loops == 0)
            ReportError(41);
        m_unwind = UnwindContinue;
        return;
    case TokEndWhile:
        ReportError(32);
    case TokEndFor:
        ReportError(35);
    case TokUntil:
        ReportError(37);
    default:
        ReportError(8, t.text);
    }
}

void TQuillanPrivate::assignment(const Token &t)
{
    const VarRef ref = resolveDotted(t);
    if (ref.var->isConst)
        ReportError(25);
    expect(TokAssign, ":=");
    assignValue(ref);
}

void TQuillanPrivate::assignValue(const VarRef &ref)
{
    const int type = ref.type;
    Cell *cell = ref.cell;
    if (isNumericType(type)) {
        cell->num = storedNumber(type, numOr());
        return;
    }
    if (ref.whole && ref.var->isArray)
        ReportError(56);
    switch (type) {
    case TypeString:
        cell->str = limitedText(strExpr(), 255);
        return;
    case TypePChar:
        cell->str = strExpr();
        return;
    case TypeChar:
        if (!peekIsString())
            ReportError(20);
        cell->str = limitedText(strExpr(), 1);
        return;
    case TypeBoolean:
    case TypeBool:
        cell->num = boolExpr() ? 1 : 0;
        return;
    case TypePointer:
        cell->num = pointerExpr().num;
        return;
    case TypeText:
        ReportError(56);
    default: {
        const VarRef src = variableRef();
        if (src.type != type || (src.whole && src.var->isArray))
            ReportError(56);
        if (src.cell != cell)
            *cell = *src.cell;
    }
    }
}

void TQuillanPrivate::storeValueOfType(Cell &cell, int type)
{
    if (!isNumericType(type)) {
        cell = valueOfType(type);
        return;
    }
    // A number is stored in place: most arguments and results are numbers, and a whole cell
    // costs more to build and move than the number it holds.
    const bool inRelation = m_inRelation;
    m_inRelation = false;
    const double value = numOr();
    m_inRelation = inRelation;
    cell.type = type;
    cell.num = storedNumber(type, value);
}

Cell TQuillanPrivate::valueOfType(int type)
{
    // An argument is an expression of its own, even inside a condition.
    const bool inRelation = m_inRelation;
    m_inRelation = false;
    Cell c = valueOf(type);
    m_inRelation = inRelation;
    return c;
}

Cell TQuillanPrivate::valueOf(int type)
{
    Cell c;
    c.type = type;
    if (isNumericType(type)) {
        c.num = storedNumber(type, numOr());
    } else if (type == TypeString) {
        c.str = limitedText(strExpr(), 255);
    } else if (type == TypePChar) {
        c.str = strExpr();
    } else if (type == TypeChar) {
        if (!peekIsString())
            ReportError(20);
        c.str = limitedText(strExpr(), 1);
    } else if (isBooleanType(type)) {
        c.num = boolExpr() ? 1 : 0;
    } else if (type == TypePointer) {
        c.num = pointerExpr().num;
    } else {
        const VarRef src = variableRef();
        if (src.type != type)
            ReportError(56);
        c = *src.cell;
    }
    return c;
}

void TQuillanPrivate::ifStatement()
{
    const bool condition = boolExpr();
    consumeNoise(TokThen);
    consumeNoise(TokBegin);
    quint16 stop;
    if (condition) {
        stop = execBlock(SetElseEndIf);
        if (stop == BlockUnwound)
            return;
        if (stop == TokElse)
            stop = skipToCached(SetEndIf);
    } else {
        stop = skipToCached(SetElseEndIf);
        if (stop == TokElse) {
            stop = execBlock(SetEndIf);
            if (stop == BlockUnwound)
                return;
        }
    }
    if (stop != TokEndIf)
        ReportError(31);
}

void TQuillanPrivate::whileStatement()
{
    LoopCount count(&m_frame->loops);
    const Position condition = position();
    for (;;) {
        checkStop();
        if (m_owner.OnLoopCallback)
            m_owner.OnLoopCallback(m_owner);
        const bool go = boolExpr();
        consumeNoise(TokDo);
        if (!go) {
            if (skipToCached(SetEndWhile) != TokEndWhile)
                ReportError(33);
            return;
        }
        const quint16 stop = execBlock(SetLoopEnds);
        if (stop == BlockUnwound) {
            if (m_unwind != UnwindContinue)
                return;
            m_unwind = NoUnwind;
        } else if (stop == TokEndFor) {
            ReportError(35);
        } else if (stop == TokUntil) {
            ReportError(37);
        } else if (stop != TokEndWhile) {
            ReportError(33);
        }
        jump(condition);
    }
}

void TQuillanPrivate::forStatement()
{
    LoopCount count(&m_frame->loops);
    const Token &name = nextToken();
    if (name.code != TokName)
        ReportError(26);
    const quint16 code = resolvedCode(name);
    if (code != TokLocalVar && code != TokGlobalVar)
        ReportError(26);
    const VarRef ref = resolveDotted(name);
    if (!isNumericType(ref.type))
        ReportError(12);
    if (ref.var->isConst)
        ReportError(25);
    expect(TokAssign, ":=");
    Cell *variable = ref.cell;
    const int type = ref.type;
    variable->num = storedNumber(type, numOr());
    const quint16 direction = nextToken().code;
    if (direction != TokTo && direction != TokDownTo)
        ReportError(34);
    double step = direction == TokTo ? 1 : -1;
    const double limit = numOr();
    if (accept(TokStep))
        step = numOr();
    consumeNoise(TokDo);
    const Position body = position();
    for (;;) {
        if (!forPassBegins(variable->num, limit, step)) {
            jump(body);
            if (skipToCached(SetEndFor) != TokEndFor)
                ReportError(36);
            return;
        }
        if (!forPassEnded(execBlock(SetLoopEnds)))
            return;
        variable->num = storedNumber(type, variable->num + step);
        jump(body);
    }
}

bool TQuillanPrivate::forPassBegins(double value, double limit, double step)
{
    checkStop();
    if (m_owner.OnLoopCallback)
        m_owner.OnLoopCallback(m_owner);
    return step > 0 ? value <= limit : value >= limit;
}

bool TQuillanPrivate::forPassEnded(quint16 stop)
{
    if (stop == BlockUnwound) {
        if (m_unwind != UnwindContinue)
            return false;
        m_unwind = NoUnwind;
    } else if (stop == TokEndWhile) {
        ReportError(32);
    } else if (stop == TokUntil) {
        ReportError(37);
    } else if (stop != TokEndFor) {
        ReportError(36);
    }
    return true;
}

void TQuillanPrivate::repeatStatement()
{
    LoopCount count(&m_frame->loops);
    const Position body = position();
    for (;;) {
        checkStop();
        quint16 stop = execBlock(SetLoopEnds);
        if (stop == BlockUnwound) {
            if (m_unwind != UnwindContinue)
                return;
            m_unwind = NoUnwind;
            stop = skipToCached(SetUntil);
        }
        if (stop == TokEndWhile)
            ReportError(32);
        if (stop == TokEndFor)
            ReportError(35);
        if (stop != TokUntil)
            ReportError(22, QStringLiteral("UNTIL"));
        if (m_owner.OnLoopCallback)
            m_owner.OnLoopCallback(m_owner);
        if (boolExpr())
            return;
        jump(body);
    }
}

void TQuillanPrivate::switchStatement()
{
    const bool isString = peekIsString();
    double number = 0;
    QString text;
    if (isString) {
        text = strExpr();
    } else {
        const Token &p = peekToken();
        const int type = staticTypeAt(0);
        const bool numeric = p.code == TokInteger || p.code == TokReal || p.code == TokOpenParen ||
                             p.code == TokMinus || p.code == TokPlus || p.code == TokTilde ||
                             isNumericType(type);
        if (!numeric)
            ReportError(42);
        number = numOr();
    }
    consumeNoise(TokOf);
    for (;;) {
        const Token &t = nextToken();
        switch (t.code) {
        case TokSemicolon:
            continue;
        case TokCase: {
            bool equal;
            if (isString)
                equal = strExpr() == text;
            else
                equal = numOr() == number;
            expect(TokColon, ":");
            if (!equal) {
                if (skipToCached(SetEndCase) != TokEndCase)
                    ReportError(22, QStringLiteral("ENDCASE"));
                continue;
            }
            if (execBlock(SetEndCase) == BlockUnwound)
                return;
            if (skipToCached(SetEndSwitch) != TokEndSwitch)
                ReportError(22, QStringLiteral("ENDSWITCH"));
            return;
        }
        case TokElse: {
            const quint16 stop = execBlock(SetElseCase);
            if (stop == BlockUnwound || stop == TokEndSwitch)
                return;
            if (stop != TokEndCase || skipToCached(SetEndSwitch) != TokEndSwitch)
                ReportError(22, QStringLiteral("ENDSWITCH"));
            return;
        }
        case TokEndSwitch:
            return;
        case TokEnd:
        case TokEndProc:
            ReportError(22, QStringLiteral("ENDSWITCH"));
        default:
            ReportError(8, t.text);
        }
    }
}

void TQuillanPrivate::returnStatement()
{
    if (m_frame && m_frame->routine && m_frame->routine->isFunction) {
        const Line &line = m_lines[size_t(m_line)];
        if (m_token < int(line.tokens.size())) {
            const quint16 c = line.tokens[size_t(m_token)].code;
            if (c != TokSemicolon && c != TokEndProc && c != TokEndIf && c != TokElse &&
                c != TokEndCase && c != TokEndSwitch && c != TokEndWhile && c != TokEndFor &&
                c != TokUntil)
                storeValueOfType(m_frame->result, m_frame->routine->resultType);
        }
    }
    m_unwind = UnwindReturn;
}

QString TQuillan::formatNumber(double value, int width, int decimals)
{
    QString text;
    if (width < 0) {
        if (std::isnan(value) || std::isinf(value)) {
            text = std::isnan(value)
                       ? QStringLiteral("Nan")
                       : (value < 0 ? QStringLiteral("-Inf") : QStringLiteral("+Inf"));
        } else {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.14E", value);
            QString s = QString::fromLatin1(buffer);
            const qsizetype e = s.indexOf(QLatin1Char('E'));
            const QString mantissa = s.left(e);
            const int exponent = s.mid(e + 1).toInt();
            text = (value < 0 ? QString() : QStringLiteral(" ")) + mantissa + QLatin1Char('E') +
                   (exponent < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
                   QString::number(std::abs(exponent)).rightJustified(4, QLatin1Char('0'));
        }
        return text;
    }
    text = QString::number(value, 'f', std::clamp(decimals, 0, 30));
    return text.rightJustified(std::min(width, MaxOutputWidth), QLatin1Char(' '));
}

void TQuillanPrivate::writeStatement(bool newLine)
{
    ScriptTextFile *file = nullptr;
    if (accept(TokOpenParen)) {
        const Token &first = peekToken();
        if (first.code == TokName &&
            (resolvedCode(first) == TokLocalVar || resolvedCode(first) == TokGlobalVar)) {
            Variable *v = lookupVariable(first.sym);
            if (v && v->target()->type == TypeText) {
                nextToken();
                file = v->target()->cell().file.get();
                if (!accept(TokComma) && peekToken().code != TokCloseParen)
                    ReportError(22, QStringLiteral(","));
            }
        }
        while (peekToken().code != TokCloseParen) {
            const Token &p = peekToken();
            QString text;
            bool isString = peekIsString();
            if (!isString) {
                const int type = staticTypeAt(0);
                if (p.code == TokName && resolvedCode(p) == TokUnknown)
                    ReportError(8, p.text);
                const bool numeric = p.code == TokInteger || p.code == TokReal ||
                                     p.code == TokOpenParen || p.code == TokMinus ||
                                     p.code == TokPlus || p.code == TokTilde || isNumericType(type);
                if (!numeric)
                    ReportError(47);
            }
            double number = 0;
            if (isString)
                text = strExpr();
            else
                number = numOr();
            int width = -1;
            int decimals = 0;
            if (accept(TokColon)) {
                width = toInt32(numOr());
                if (accept(TokColon))
                    decimals = toInt32(numOr());
            }
            if (!isString)
                text = TQuillan::formatNumber(number, width, decimals);
            else if (width > 0 && (file || !m_owner.OnWrite))
                text = text.rightJustified(std::min(width, TQuillan::MaxOutputWidth),
                                           QLatin1Char(' '));
            if (file)
                file->write(text);
            else
                write(text);
            if (accept(TokComma))
                continue;
            if (peekToken().code != TokCloseParen)
                ReportError(22, QStringLiteral(")"));
        }
        nextToken();
    }
    if (newLine) {
        if (file)
            file->write(QStringLiteral("\n"));
        else
            advanceLine();
    }
}

void TQuillanPrivate::assignFromText(const VarRef &ref, const QString &text)
{
    Cell *cell = ref.cell;
    switch (ref.type) {
    case TypeString:
        cell->str = text.left(255);
        return;
    case TypePChar:
        cell->str = text;
        return;
    case TypeChar:
        cell->str = text.left(1);
        return;
    case TypeReal:
    case TypeInteger:
    case TypeWord:
    case TypeByte:
    case TypeLongint: {
        bool ok = false;
        double v = text.trimmed().toDouble(&ok);
        if (!ok)
            v = 0;
        cell->num = storedNumber(ref.type, v);
        return;
    }
    default:
        ReportError(40);
    }
}

void TQuillanPrivate::readStatement(bool wholeLine)
{
    ScriptTextFile *file = nullptr;
    if (!accept(TokOpenParen)) {
        // READLN alone waits for and drops one line.
        if (wholeLine) {
            QString ignored;
            if (m_owner.OnRead) {
                m_owner.OnRead(m_owner, &ignored);
            } else {
                char buffer[4096];
                if (!std::fgets(buffer, sizeof buffer, stdin))
                    buffer[0] = '\0';
            }
        }
        return;
    }
    const Token &first = peekToken();
    if (first.code == TokName) {
        Variable *v = lookupVariable(first.sym);
        if (v && v->target()->type == TypeText) {
            nextToken();
            file = v->target()->cell().file.get();
            if (!accept(TokComma) && peekToken().code != TokCloseParen)
                ReportError(22, QStringLiteral(","));
        }
    }
    while (peekToken().code != TokCloseParen) {
        const VarRef ref = variableRef();
        if (!isNumericType(ref.type) && !isStringType(ref.type))
            ReportError(40);
        QString text;
        if (file) {
            if (wholeLine || isStringType(ref.type))
                file->readLine(&text);
            else
                file->readItem(&text);
        } else if (m_owner.OnRead) {
            m_owner.OnRead(m_owner, &text);
        } else {
            char buffer[4096];
            if (std::fgets(buffer, sizeof buffer, stdin)) {
                text = QString::fromUtf8(buffer);
                while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
                    text.chop(1);
            }
        }
        assignFromText(ref, text);
        if (accept(TokComma))
            continue;
        if (peekToken().code != TokCloseParen)
            ReportError(22, QStringLiteral(")"));
    }
    nextToken();
}

} // namespace Orbisong
