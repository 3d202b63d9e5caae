#include "TQuillan.h"

namespace Orbisong {

namespace {

bool isRelop(quint16 c)
{
    return c == TokEqual || c == TokNotEqual || c == TokLess || c == TokGreater ||
           c == TokLessEqual || c == TokGreaterEqual;
}

// Tokens after which the parser would read the expression on.
bool continuesExpression(quint16 c)
{
    switch (c) {
    case TokPlus:
    case TokMinus:
    case TokStar:
    case TokSlash:
    case TokPercent:
    case TokPower:
    case TokAnd:
    case TokOr:
    case TokXor:
    case TokShl:
    case TokShr:
        return true;
    default:
        return false;
    }
}

// Tokens that change what the word before them is: an element, a member, call arguments.
bool extendsOperand(quint16 c)
{
    return c == TokOpenBracket || c == TokOpenParen || c == TokDot || c == TokPower ||
           c == TokLexError;
}

} // namespace

// Turns the tokens of a numeric expression or a condition on the line being executed into a
// program. It only reads tokens and looks names up, exactly as the parser would at this point,
// and gives up (leaving the expression to the parser) on anything outside the simple forms:
// literals, numeric variables, elements of numeric arrays, numeric record fields, calls of
// script functions taking numbers by value, + - * / % and unary signs, parentheses, and
// relations joined by AND, XOR and OR. Everything compiled lies on one line.
class ProgramCompiler
{
public:
    using Op = TQuillan::ExprOp;
    using Program = TQuillan::ExprProgram;

    explicit ProgramCompiler(TQuillan &engine)
        : m_engine(engine), m_tokens(engine.m_cur), m_count(engine.m_curCount),
          m_pos(engine.m_token)
    {
    }

    // The index of the expression's program, -1 when it is not a simple one, or -2 when it may
    // become one (it calls a function whose header has not been read yet).
    int numeric()
    {
        Program program;
        if (!sum(program, false) || !endsStatementPart(false))
            return failed();
        program.end = m_pos;
        program.arrays = std::move(m_arrays);
        m_engine.m_programs.push_back(std::move(program));
        return int(m_engine.m_programs.size()) - 1;
    }

    int condition()
    {
        TQuillan::ConditionProgram condition;
        for (;;) {
            if (int(condition.relations.size()) >= TQuillan::MaxConditionRelations)
                return failed();
            TQuillan::Relation relation;
            while (at(TokNot)) {
                relation.negate = !relation.negate;
                ++m_pos;
            }
            const Token *first = peek();
            // A relation starting with a parenthesis or a boolean word is left to the parser.
            if (!first || !(first->code == TokName || first->code == TokInteger ||
                            first->code == TokReal || first->code == TokMinus))
                return failed();
            relation.left = subprogram(true);
            if (relation.left < 0 || !peek() || !isRelop(peek()->code))
                return failed();
            relation.op = peek()->code;
            ++m_pos;
            relation.right = subprogram(true);
            if (relation.right < 0)
                return failed();
            condition.relations.push_back(relation);
            const Token *join = peek();
            if (join && (join->code == TokAnd || join->code == TokOr || join->code == TokXor)) {
                condition.joins.push_back(join->code);
                ++m_pos;
                continue;
            }
            break;
        }
        if (!endsStatementPart(true))
            return failed();
        condition.end = m_pos;
        condition.arrays = std::move(m_arrays);
        m_engine.m_conditions.push_back(std::move(condition));
        return int(m_engine.m_conditions.size()) - 1;
    }

private:
    const Token *peek() const { return m_pos < m_count ? &m_tokens[m_pos] : nullptr; }
    bool at(quint16 code) const { return m_pos < m_count && m_tokens[m_pos].code == code; }
    int failed() const { return m_notYet ? -2 : -1; }

    // Whether the parser, too, would end the expression (or condition) here.
    bool endsStatementPart(bool condition)
    {
        if (const Token *t = peek())
            return t->code != TokLexError && !continuesExpression(t->code) &&
                   !(condition && isRelop(t->code));
        // The expression may go on at the start of the next line.
        const int saved = m_engine.m_token;
        m_engine.m_token = m_count;
        const quint16 next = m_engine.peekToken().code;
        m_engine.m_token = saved;
        return !continuesExpression(next) && !(condition && isRelop(next));
    }

    // An argument, an index or a side of a relation, as a program of its own.
    int subprogram(bool inRelation)
    {
        Program program;
        if (!sum(program, inRelation))
            return -1;
        program.end = m_pos;
        m_engine.m_programs.push_back(std::move(program));
        return int(m_engine.m_programs.size()) - 1;
    }

    bool sum(Program &p, bool inRelation)
    {
        if (!term(p, inRelation))
            return false;
        for (;;) {
            const Token *t = peek();
            if (!t || (t->code != TokPlus && t->code != TokMinus))
                return true;
            ++m_pos;
            if (!term(p, inRelation))
                return false;
            appendOperator(p, t->code == TokPlus ? Op::Add : Op::Subtract);
        }
    }

    bool term(Program &p, bool inRelation)
    {
        if (!factor(p))
            return false;
        for (;;) {
            const Token *t = peek();
            if (!t)
                return true;
            Op::Kind kind;
            switch (t->code) {
            case TokStar:
                kind = Op::Multiply;
                break;
            case TokSlash:
                kind = Op::Divide;
                break;
            case TokPercent:
                kind = Op::Modulo;
                break;
            case TokAnd:
            case TokOr:
            case TokXor:
                // Bitwise outside a condition: left to the parser. In a condition they join.
                return inRelation;
            case TokShl:
            case TokShr:
                return false;
            default:
                return true;
            }
            ++m_pos;
            if (!factor(p))
                return false;
            appendOperator(p, kind);
        }
    }

    bool factor(Program &p)
    {
        bool negate = false;
        while (at(TokPlus) || at(TokMinus)) {
            negate = negate != at(TokMinus);
            ++m_pos;
        }
        const Token *t = peek();
        if (!t || ++p.operands > TQuillan::MaxProgramOperands)
            return false;
        Op op;
        op.at = m_pos;
        switch (t->code) {
        case TokInteger:
        case TokReal:
            op.number = negate ? -t->number : t->number;
            ++m_pos;
            break;
        case TokOpenParen: {
            ++m_pos;
            if (!sum(p, false) || !at(TokCloseParen))
                return false;
            ++m_pos;
            if (negate) {
                Op flip;
                flip.kind = Op::Negate;
                flip.operand = Op::Stack;
                p.ops.push_back(flip);
            }
            return !peek() || !extendsOperand(peek()->code);
        }
        case TokName:
            op.negate = negate;
            if (!word(op, *t))
                return false;
            break;
        default:
            return false;
        }
        op.end = m_pos;
        p.ops.push_back(std::move(op));
        return !peek() || !extendsOperand(peek()->code);
    }

    bool word(Op &op, const Token &t)
    {
        TQuillan &e = m_engine;
        op.token = &t;
        if (TQuillan::Routine *r = e.lookupRoutine(t.sym))
            return call(op, r);
        if (Variable *v = e.variableOf(t)) {
            Variable *target = v->target();
            if (!target->isArray) {
                op.operand = Op::Name;
                ++m_pos;
                return e.plainNumber(t) != nullptr;
            }
            if (!isNumericType(target->type) || m_pos + 1 >= m_count ||
                m_tokens[m_pos + 1].code != TokOpenBracket)
                return false;
            m_pos += 2;
            m_arrays.push_back(&t);
            op.operand = Op::Element;
            op.index = subprogram(false);
            if (op.index < 0 || !at(TokCloseBracket))
                return false;
            ++m_pos;
            return true;
        }
        op.operand = Op::Field;
        ++m_pos;
        return t.baseSym >= 0 && e.numericField(t);
    }

    bool call(Op &op, TQuillan::Routine *r)
    {
        if (r->kind != TQuillan::ScriptRoutine)
            return false;
        if (!r->headerParsed) {
            m_notYet = true;
            return false;
        }
        if (!isNumericType(r->resultType) || int(r->params.size()) > TQuillan::MaxCallArguments)
            return false;
        for (const auto &param : r->params)
            if (param.byRef || param.open || !isNumericType(param.type))
                return false;
        op.operand = Op::Call;
        op.routine = r;
        ++m_pos;
        if (!at(TokOpenParen))
            return r->params.empty();
        ++m_pos;
        for (size_t i = 0; i < r->params.size(); ++i) {
            if (i > 0) {
                if (!at(TokComma))
                    return false;
                ++m_pos;
            }
            const int argument = subprogram(false);
            if (argument < 0)
                return false;
            op.arguments.push_back(argument);
        }
        if (!at(TokCloseParen))
            return false;
        ++m_pos;
        return true;
    }

    // An operator whose right operand was pushed just before takes that operand in, saving a
    // push and a pop on every run.
    static void appendOperator(Program &p, Op::Kind kind)
    {
        Op &last = p.ops.back();
        if (last.kind == Op::Push && p.ops.size() > 1) {
            last.kind = kind;
            return;
        }
        Op op;
        op.kind = kind;
        op.operand = Op::Stack;
        p.ops.push_back(op);
    }

    TQuillan &m_engine;
    const Token *m_tokens;
    int m_count;
    int m_pos;
    bool m_notYet = false;
    std::vector<const Token *> m_arrays;
};

double TQuillan::numOr()
{
    // A script line's simple expressions run from a program made on their first run.
    if (compiledPathOpen()) {
        const Token &start = m_cur[m_token];
        if (start.program == -2)
            start.program = ProgramCompiler(*this).numeric();
        if (start.program >= 0 &&
            arraysReady(m_programs[size_t(start.program)].arrays,
                        m_programs[size_t(start.program)].arraysChecked)) {
            const ExprProgram &program = m_programs[size_t(start.program)];
            const int line = m_line;
            const double value = runProgram(program);
            m_line = line;
            m_token = program.end;
            return value;
        }
    }
    return numOrSlow();
}

bool TQuillan::boolExpr()
{
    if (compiledPathOpen()) {
        const Token &start = m_cur[m_token];
        if (start.condition == -2)
            start.condition = ProgramCompiler(*this).condition();
        bool value;
        if (start.condition >= 0 && runCondition(m_conditions[size_t(start.condition)], &value))
            return value;
    }
    return boolOr();
}

double TQuillan::runProgram(const ExprProgram &program)
{
    // Postfix order is the parser's order of evaluation, so faults and calls happen in the
    // same order as when the expression is parsed.
    double stack[MaxProgramOperands];
    int top = 0;
    for (const ExprOp &op : program.ops) {
        double right;
        switch (op.operand) {
        case ExprOp::Number:
            right = op.number;
            break;
        case ExprOp::Stack:
            right = stack[--top];
            break;
        case ExprOp::Name:
            if (Variable *v = plainNumber(*op.token)) {
                right = op.negate ? -v->cell().num : v->cell().num;
                break;
            }
            [[fallthrough]];
        default:
            right = operandValue(op);
        }
        switch (op.kind) {
        case ExprOp::Push:
            stack[top++] = right;
            break;
        case ExprOp::Negate:
            stack[top++] = -right;
            break;
        case ExprOp::Add:
            stack[top - 1] += right;
            break;
        case ExprOp::Subtract:
            stack[top - 1] -= right;
            break;
        case ExprOp::Multiply:
            stack[top - 1] *= right;
            break;
        case ExprOp::Divide:
            if (right == 0)
                ReportError(58);
            stack[top - 1] /= right;
            break;
        case ExprOp::Modulo: {
            const qint32 d = toInt32(right);
            if (d == 0)
                ReportError(58);
            const qint32 a = toInt32(stack[top - 1]);
            stack[top - 1] = (d == -1) ? 0 : double(a % d);
            break;
        }
        }
    }
    return stack[0];
}

double TQuillan::operandValue(const ExprOp &op)
{
    double value;
    switch (op.operand) {
    case ExprOp::Element: {
        Variable *array = numericArray(*op.token);
        if (!array)
            return parseOperand(op);
        value = elementCell(array, runProgram(m_programs[size_t(op.index)]))->num;
        break;
    }
    case ExprOp::Field: {
        Cell *cell = numericField(*op.token);
        if (!cell)
            return parseOperand(op);
        value = cell->num;
        break;
    }
    case ExprOp::Call: {
        if (lookupRoutine(op.token->sym) != op.routine)
            return parseOperand(op);
        double arguments[MaxCallArguments];
        for (size_t i = 0; i < op.arguments.size(); ++i)
            arguments[i] = runProgram(m_programs[size_t(op.arguments[i])]);
        value = callCompiled(op.routine, arguments);
        break;
    }
    default:
        return parseOperand(op);
    }
    return op.negate ? -value : value;
}

double TQuillan::parseOperand(const ExprOp &op)
{
    // The word means something else now: the parser reads the operand from its tokens and
    // raises whatever error it meets there. Nothing of the operand has been evaluated yet.
    const int line = m_line;
    m_token = op.at;
    const bool inRelation = m_inRelation;
    m_inRelation = false;
    double value = numFactor();
    m_inRelation = inRelation;
    if (m_line != line || m_token != op.end)
        ReportError(28);
    return op.negate ? -value : value;
}

bool TQuillan::operandReady(const ExprOp &op)
{
    switch (op.operand) {
    case ExprOp::Name:
        return plainNumber(*op.token) != nullptr;
    case ExprOp::Element:
        return numericArray(*op.token) != nullptr;
    case ExprOp::Field:
        return numericField(*op.token) != nullptr;
    case ExprOp::Call:
        return lookupRoutine(op.token->sym) == op.routine;
    default:
        return true;
    }
}

bool TQuillan::runCondition(const ConditionProgram &condition, bool *result)
{
    // Whether a relation compares numbers or texts follows from its first word, so each must
    // still be a number before anything is evaluated; otherwise the parser takes the condition.
    for (const Relation &r : condition.relations)
        if (!operandReady(m_programs[size_t(r.left)].ops.front()))
            return false;
    if (!arraysReady(condition.arrays, condition.arraysChecked))
        return false;
    const int line = m_line;
    bool values[MaxConditionRelations] = {};
    const size_t count = condition.relations.size();
    for (size_t i = 0; i < count; ++i) {
        const Relation &r = condition.relations[i];
        const double a = runProgram(m_programs[size_t(r.left)]);
        const double b = runProgram(m_programs[size_t(r.right)]);
        bool v;
        switch (r.op) {
        case TokEqual:
            v = a == b;
            break;
        case TokNotEqual:
            v = a != b;
            break;
        case TokLess:
            v = a < b;
            break;
        case TokGreater:
            v = a > b;
            break;
        case TokLessEqual:
            v = a <= b;
            break;
        default:
            v = a >= b;
        }
        values[i] = v != r.negate;
    }
    // AND binds tighter than XOR, and XOR tighter than OR.
    bool orValue = false;
    bool xorValue = false;
    bool andValue = values[0];
    for (size_t i = 1; i < count; ++i) {
        const quint16 join = condition.joins[i - 1];
        if (join == TokAnd) {
            andValue = andValue && values[i];
            continue;
        }
        xorValue = xorValue != andValue;
        if (join == TokOr) {
            orValue = orValue || xorValue;
            xorValue = false;
        }
        andValue = values[i];
    }
    xorValue = xorValue != andValue;
    *result = orValue || xorValue;
    m_line = line;
    m_token = condition.end;
    return true;
}

bool TQuillan::arraysReady(const std::vector<const Token *> &arrays, quint64 &checked)
{
    // While the resolution epoch holds, every word resolves as it did at the last check.
    if (arrays.empty() || checked == m_resolveEpoch)
        return true;
    for (const Token *t : arrays)
        if (!numericArray(*t))
            return false;
    checked = m_resolveEpoch;
    return true;
}

Variable *TQuillan::numericArray(const Token &t)
{
    if (lookupRoutine(t.sym))
        return nullptr;
    Variable *v = variableOf(t);
    if (!v)
        return nullptr;
    v = v->target();
    return v->isArray && isNumericType(v->type) ? v : nullptr;
}

Cell *TQuillan::numericField(const Token &t)
{
    if (t.baseSym < 0 || lookupRoutine(t.sym) || variableOf(t))
        return nullptr;
    Variable *base = lookupVariable(t.baseSym);
    if (!base)
        return nullptr;
    base = base->target();
    if (base->isArray)
        return nullptr;
    Cell *cell = &base->cell();
    int type = base->type;
    for (int member : t.path) {
        const TypeInfo *info = typeInfo(type);
        const int index = info && info->isRecord ? info->memberIndex(member) : -1;
        if (index < 0 || size_t(index) >= cell->members.size())
            return nullptr;
        cell = &cell->members[size_t(index)];
        type = info->members[size_t(index)].type;
    }
    return isNumericType(type) ? cell : nullptr;
}

} // namespace Orbisong
