#include "script/ProgramCompiler.h"

#include "script/TQuillanPrivate.h"

namespace Orbisong {

namespace {

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

ProgramCompiler::ProgramCompiler(TQuillanPrivate &engine, int line, int token)
    : m_engine(engine), m_line(line), m_pos(token)
{
    TQuillanPrivate::Line &l = engine.m_lines[size_t(line)];
    if (!l.tokenized)
        engine.tokenize(l);
    m_tokens = l.tokens.data();
    m_count = int(l.tokens.size());
}

bool ProgramCompiler::assignmentTarget(Op &target)
{
    const Token *t = peek();
    if (!t || t->code != TokName || m_engine.lookupRoutine(t->sym))
        return false;
    target.at = m_pos;
    if (!word(target, *t) || target.operand == Op::Call)
        return false;
    target.end = m_pos;
    if (!at(TokAssign))
        return false;
    ++m_pos;
    return true;
}

int ProgramCompiler::numeric()
{
    Program program;
    if (!sum(program, false) || !endsStatementPart(false))
        return failed();
    program.end = m_pos;
    program.shape = shapeOf(program);
    program.arrays = std::move(m_arrays);
    m_engine.m_programs.push_back(std::make_unique<Program>(std::move(program)));
    return int(m_engine.m_programs.size()) - 1;
}

int ProgramCompiler::condition()
{
    Quillan::ConditionProgram condition;
    for (;;) {
        if (int(condition.relations.size()) >= TQuillanPrivate::MaxConditionRelations)
            return failed();
        Quillan::Relation relation;
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
        if (relation.left < 0 || !peek() || !isRelationOperator(peek()->code))
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
    m_engine.m_conditions.push_back(
        std::make_unique<Quillan::ConditionProgram>(std::move(condition)));
    return int(m_engine.m_conditions.size()) - 1;
}

bool ProgramCompiler::endsStatementPart(bool condition)
{
    if (const Token *t = peek())
        return t->code != TokLexError && !continuesExpression(t->code) &&
               !(condition && isRelationOperator(t->code));
    // The expression may go on at the start of the next line.
    const quint16 next = m_engine.firstTokenAfterLine(m_line).code;
    return !continuesExpression(next) && !(condition && isRelationOperator(next));
}

int ProgramCompiler::subprogram(bool inRelation)
{
    Program program;
    if (++m_depth > TQuillan::MaxNesting || !sum(program, inRelation))
        return -1;
    --m_depth;
    program.end = m_pos;
    program.shape = shapeOf(program);
    m_engine.m_programs.push_back(std::make_unique<Program>(std::move(program)));
    return int(m_engine.m_programs.size()) - 1;
}

bool ProgramCompiler::sum(Program &p, bool inRelation)
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

bool ProgramCompiler::term(Program &p, bool inRelation)
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

bool ProgramCompiler::factor(Program &p)
{
    bool negate = false;
    while (at(TokPlus) || at(TokMinus)) {
        negate = negate != at(TokMinus);
        ++m_pos;
    }
    const Token *t = peek();
    if (!t || ++p.operands > TQuillanPrivate::MaxProgramOperands)
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
        if (++m_depth > TQuillan::MaxNesting || !sum(p, false) || !at(TokCloseParen))
            return false;
        --m_depth;
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

bool ProgramCompiler::word(Op &op, const Token &t)
{
    TQuillanPrivate &e = m_engine;
    op.token = &t;
    if (Quillan::Routine *r = e.lookupRoutine(t.sym))
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

bool ProgramCompiler::call(Op &op, Quillan::Routine *r)
{
    if (r->kind != Quillan::ScriptRoutine)
        return false;
    if (!r->headerParsed) {
        m_notYet = true;
        return false;
    }
    if (!isNumericType(r->resultType) || int(r->params.size()) > TQuillanPrivate::MaxCallArguments)
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

ProgramCompiler::Program::Shape ProgramCompiler::shapeOf(Program &p)
{
    for (Op &op : p.ops)
        op.code = Op::codeOf(op.kind, op.operand);
    if (p.ops.size() == 2 && p.ops[0].operand == Op::Name && p.ops[1].operand == Op::Number &&
        (p.ops[1].kind == Op::Add || p.ops[1].kind == Op::Subtract ||
         p.ops[1].kind == Op::Multiply))
        return Program::WordWithLiteral;
    if (p.ops.size() != 1)
        return Program::General;
    if (p.ops.front().operand == Op::Number)
        return Program::Literal;
    return p.ops.front().operand == Op::Name ? Program::Word : Program::General;
}

void ProgramCompiler::appendOperator(Program &p, Op::Kind kind)
{
    Op &last = p.ops.back();
    if (last.kind == Op::Push && p.ops.size() > 1) {
        last.kind = kind;
        // A literal divisor is converted and checked once, here.
        if (kind == Op::Modulo && last.operand == Op::Number && last.number >= -2147483648.0 &&
            last.number <= 2147483647.0) {
            const qint32 d = toInt32(last.number);
            if (d != 0 && d != -1) {
                last.kind = Op::ModuloBy;
                last.divisor = d;
            }
        }
        return;
    }
    Op op;
    op.kind = kind;
    op.operand = Op::Stack;
    p.ops.push_back(op);
}

} // namespace Orbisong
