#include "script/ProgramCompiler.h"
#include "script/TQuillanPrivate.h"

namespace Orbisong {

double TQuillanPrivate::numOr()
{
    // A script line's simple expressions run from a program made on their first run.
    if (compiledPathOpen()) {
        const Token &start = m_cur[m_token];
        if (start.program == -2)
            start.program = ProgramCompiler(*this, m_line, m_token).numeric();
        if (start.program >= 0 && arraysReady(m_programs[size_t(start.program)]->arrays,
                                              m_programs[size_t(start.program)]->arraysChecked)) {
            const ExprProgram &program = *m_programs[size_t(start.program)];
            const int line = m_line;
            const double value = runProgram(program);
            m_line = line;
            m_token = program.end;
            return value;
        }
    }
    return numOrSlow();
}

bool TQuillanPrivate::boolExpr()
{
    if (compiledPathOpen()) {
        const Token &start = m_cur[m_token];
        if (start.condition == -2)
            start.condition = ProgramCompiler(*this, m_line, m_token).condition();
        bool value;
        if (start.condition >= 0 && runCondition(*m_conditions[size_t(start.condition)], &value))
            return value;
    }
    return boolOr();
}

double TQuillanPrivate::runGeneralProgram(const ExprProgram &program)
{
    // Postfix order is the parser's order of evaluation, so faults and calls happen in the
    // same order as when the expression is parsed. The top of the stack is kept in `top`.
    double below[MaxProgramOperands + 1];
    int depth = 0;
    double top = 0;
    using Op = ExprOp;
    for (const ExprOp &op : program.ops) {
        // The commonest steps in one dispatch; the rest below, operand first.
        switch (op.code) {
        case Op::codeOf(Op::Push, Op::Number):
            below[depth++] = top;
            top = op.number;
            continue;
        case Op::codeOf(Op::Add, Op::Number):
            top += op.number;
            continue;
        case Op::codeOf(Op::Subtract, Op::Number):
            top -= op.number;
            continue;
        case Op::codeOf(Op::Multiply, Op::Number):
            top *= op.number;
            continue;
        case Op::codeOf(Op::ModuloBy, Op::Number):
            top = double(toInt32(top) % op.divisor);
            continue;
        case Op::codeOf(Op::Add, Op::Stack):
            top = below[--depth] + top;
            continue;
        case Op::codeOf(Op::Subtract, Op::Stack):
            top = below[--depth] - top;
            continue;
        case Op::codeOf(Op::Multiply, Op::Stack):
            top = below[--depth] * top;
            continue;
        case Op::codeOf(Op::Push, Op::Name):
            if (Variable *v = plainNumber(*op.token)) {
                below[depth++] = top;
                top = op.negate ? -v->cell().num : v->cell().num;
                continue;
            }
            break;
        case Op::codeOf(Op::Add, Op::Name):
            if (Variable *v = plainNumber(*op.token)) {
                top += op.negate ? -v->cell().num : v->cell().num;
                continue;
            }
            break;
        case Op::codeOf(Op::Subtract, Op::Name):
            if (Variable *v = plainNumber(*op.token)) {
                top -= op.negate ? -v->cell().num : v->cell().num;
                continue;
            }
            break;
        case Op::codeOf(Op::Multiply, Op::Name):
            if (Variable *v = plainNumber(*op.token)) {
                top *= op.negate ? -v->cell().num : v->cell().num;
                continue;
            }
            break;
        default:
            break;
        }
        double right;
        switch (op.operand) {
        case ExprOp::Number:
            right = op.number;
            break;
        case ExprOp::Stack:
            right = top;
            top = below[--depth];
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
            below[depth++] = top;
            top = right;
            break;
        case ExprOp::Negate:
            below[depth++] = top;
            top = -right;
            break;
        case ExprOp::Add:
            top += right;
            break;
        case ExprOp::Subtract:
            top -= right;
            break;
        case ExprOp::Multiply:
            top *= right;
            break;
        case ExprOp::Divide:
            if (right == 0)
                ReportError(58);
            top /= right;
            break;
        case ExprOp::ModuloBy:
            top = double(toInt32(top) % op.divisor);
            break;
        case ExprOp::Modulo: {
            const qint32 d = toInt32(right);
            if (d == 0)
                ReportError(58);
            const qint32 a = toInt32(top);
            top = (d == -1) ? 0 : double(a % d);
            break;
        }
        }
    }
    return top;
}

double TQuillanPrivate::operandValue(const ExprOp &op)
{
    double value;
    switch (op.operand) {
    case ExprOp::Element: {
        Variable *array = numericArray(*op.token);
        if (!array)
            return parseOperand(op);
        value = elementCell(array, runProgram(*m_programs[size_t(op.index)]))->num;
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
            arguments[i] = runProgram(*m_programs[size_t(op.arguments[i])]);
        value = callCompiled(op.routine, arguments);
        break;
    }
    default:
        return parseOperand(op);
    }
    return op.negate ? -value : value;
}

double TQuillanPrivate::parseOperand(const ExprOp &op)
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

bool TQuillanPrivate::operandReady(const ExprOp &op)
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

bool TQuillanPrivate::runCondition(const ConditionProgram &condition, bool *result)
{
    // Whether a relation compares numbers or texts follows from its first word, so each must
    // still be a number before anything is evaluated; otherwise the parser takes the condition.
    // While the epoch holds every word resolves to a variable of the same kind and type.
    if (condition.checked != m_resolveEpoch) {
        for (const Relation &r : condition.relations)
            if (!operandReady(m_programs[size_t(r.left)]->ops.front()))
                return false;
        for (const Token *t : condition.arrays)
            if (!numericArray(*t))
                return false;
        condition.checked = m_resolveEpoch;
    }
    const int line = m_line;
    const size_t count = condition.relations.size();
    if (count == 1) {
        const Relation &r = condition.relations.front();
        const double a = runProgram(*m_programs[size_t(r.left)]);
        const double b = runProgram(*m_programs[size_t(r.right)]);
        *result = relationHolds(r.op, a, b) != r.negate;
        m_line = line;
        m_token = condition.end;
        return true;
    }
    bool values[MaxConditionRelations] = {};
    for (size_t i = 0; i < count; ++i) {
        const Relation &r = condition.relations[i];
        const double a = runProgram(*m_programs[size_t(r.left)]);
        const double b = runProgram(*m_programs[size_t(r.right)]);
        values[i] = relationHolds(r.op, a, b) != r.negate;
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

bool TQuillanPrivate::arraysReadySlow(const std::vector<const Token *> &arrays, quint64 &checked)
{
    for (const Token *t : arrays)
        if (!numericArray(*t))
            return false;
    checked = m_resolveEpoch;
    return true;
}

Variable *TQuillanPrivate::numericArray(const Token &t)
{
    if (lookupRoutine(t.sym))
        return nullptr;
    Variable *v = variableOf(t);
    if (!v)
        return nullptr;
    v = v->target();
    return v->isArray && isNumericType(v->type) ? v : nullptr;
}

Cell *TQuillanPrivate::numericField(const Token &t, int *memberType, bool forStore)
{
    if (t.baseSym < 0 || lookupRoutine(t.sym) || variableOf(t))
        return nullptr;
    Variable *base = lookupVariable(t.baseSym);
    if (!base)
        return nullptr;
    base = base->target();
    if (base->isArray || (forStore && base->isConst))
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
    if (!isNumericType(type))
        return nullptr;
    if (memberType)
        *memberType = type;
    return cell;
}

} // namespace Orbisong
