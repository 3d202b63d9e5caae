#include "script/ProgramCompiler.h"
#include "script/TQuillanPrivate.h"

namespace Orbisong {

namespace {

bool endsReturnValue(quint16 c)
{
    return c == TokSemicolon || c == TokEndProc || c == TokEndIf || c == TokElse ||
           c == TokEndCase || c == TokEndSwitch || c == TokEndWhile || c == TokEndFor ||
           c == TokUntil;
}

} // namespace

// Splits a block of script lines into statement nodes, looking only at tokens and at what
// names mean when the block first runs. A statement it cannot turn into a node of its own is
// left to the parser; its end is found the way the parser's skipping finds block ends, or left
// unknown, in which case the parser runs the rest of the block.
class BlockCompiler
{
public:
    using Position = Quillan::Position;
    using Node = Quillan::StmtNode;

    BlockCompiler(TQuillanPrivate &engine, int set) : m_engine(engine), m_set(set) {}

    // The block starting at the engine's cursor, or -1 when the parser should run it.
    int compile()
    {
        TQuillanPrivate &e = m_engine;
        const Quillan::StopSet &stops = TQuillanPrivate::stopsOf(m_set);
        Quillan::BlockProgram block;
        block.stops = &stops;
        Position p{e.m_line, e.m_token};
        for (;;) {
            const Token *t = tokenAt(p);
            if (!t || t->code == TokEnd || t->code == TokLexError)
                return -1;
            if ((t->code < 128 && stops.test(t->code)) || t->code == TokEndProc) {
                block.stop = t->code;
                block.after = {p.line, p.token + 1};
                break;
            }
            if (passedBetweenStatements(t->code)) {
                ++p.token;
                continue;
            }
            const Node node = statement(p, *t);
            block.nodes.push_back(node);
            if (node.end.line < 0)
                break;
            p = node.end;
        }
        e.m_blocks.push_back(std::make_unique<Quillan::BlockProgram>(std::move(block)));
        return int(e.m_blocks.size()) - 1;
    }

    // The statement at p, compiled with what its words mean now.
    Node statementAt(Position p)
    {
        const Token *t = tokenAt(p);
        return t ? statement(p, *t) : Node{};
    }

private:
    // The token at p, moving p past line ends as the parser's reading does; null past the
    // script's end.
    const Token *tokenAt(Position &p)
    {
        TQuillanPrivate &e = m_engine;
        for (;;) {
            if (p.line >= e.m_endLine)
                return nullptr;
            TQuillanPrivate::Line &l = e.m_lines[size_t(p.line)];
            if (!l.tokenized)
                e.tokenize(l);
            if (p.token < int(l.tokens.size()))
                return &l.tokens[size_t(p.token)];
            if (p.line + 1 >= e.m_endLine)
                return nullptr;
            ++p.line;
            p.token = 0;
        }
    }

    int lineLength(int line)
    {
        TQuillanPrivate::Line &l = m_engine.m_lines[size_t(line)];
        if (!l.tokenized)
            m_engine.tokenize(l);
        return int(l.tokens.size());
    }

    // Where the parser's reading stands after an optional noise word at p.
    Position afterNoise(Position p, quint16 code)
    {
        Position q = p;
        const Token *t = tokenAt(q);
        if (t && t->code == code)
            return {q.line, q.token + 1};
        return p;
    }

    // The position after the first token of `set` at this nesting level, as the parser's
    // skipping finds it; line -1 when the block has no such end.
    Position skipEnd(Position from, int set, quint16 expected)
    {
        TQuillanPrivate &e = m_engine;
        const Quillan::Position saved = e.position();
        e.moveTo(from);
        const quint16 code = e.skipTo(TQuillanPrivate::stopsOf(set));
        const Position end = e.position();
        e.moveTo(saved);
        return code == expected ? end : Position{-1, 0};
    }

    Node statement(Position p, const Token &t)
    {
        Node node;
        node.start = p;
        node.end = {-1, 0};
        const Position next{p.line, p.token + 1};
        switch (t.code) {
        case TokName:
            if (!assignment(node)) {
                node.end = {p.line, lineLength(p.line)};
                node.provisional = true;
            }
            break;
        case TokReturn:
            if (!returnStatement(node)) {
                // What follows a RETURN is only read by the statements after it.
                node.end = {p.line, lineLength(p.line)};
                node.provisional = true;
            }
            break;
        case TokIf:
            if (!ifStatement(node)) {
                node.end = skipEnd(next, Quillan::SetEndIf, TokEndIf);
                node.provisional = true;
            }
            break;
        case TokFor:
            if (!forStatement(node)) {
                node.end = skipEnd(next, Quillan::SetEndFor, TokEndFor);
                node.provisional = true;
            }
            break;
        case TokWhile:
            node.end = skipEnd(next, Quillan::SetEndWhile, TokEndWhile);
            break;
        case TokSwitch:
            node.end = skipEnd(next, Quillan::SetEndSwitch, TokEndSwitch);
            break;
        case TokVar:
        case TokGlobal:
            node.end = declarationsEnd(next);
            break;
        case TokWrite:
        case TokWriteLn:
        case TokRead:
        case TokReadLn:
        case TokContinue:
            node.end = {p.line, lineLength(p.line)};
            break;
        default:
            break;
        }
        return node;
    }

    Position declarationsEnd(Position p)
    {
        for (;;) {
            const Token *t = tokenAt(p);
            if (!t || t->code == TokEndProc || t->code == TokLexError)
                return {-1, 0};
            if (t->code == TokEndVar)
                return {p.line, p.token + 1};
            ++p.token;
        }
    }

    bool assignment(Node &node)
    {
        ProgramCompiler c(m_engine, node.start.line, node.start.token);
        if (!c.assignmentTarget(node.target))
            return false;
        if (node.target.operand == Quillan::ExprOp::Name) {
            Variable *v = m_engine.plainNumber(*node.target.token);
            if (!v || v->isConst)
                return false;
        }
        node.value = c.numeric();
        if (node.value < 0)
            return false;
        node.kind = Node::Assign;
        node.end = {node.start.line, m_engine.m_programs[size_t(node.value)]->end};
        return true;
    }

    bool returnStatement(Node &node)
    {
        TQuillanPrivate &e = m_engine;
        Quillan::Routine *r = e.m_frame ? e.m_frame->routine : nullptr;
        const Position at{node.start.line, node.start.token + 1};
        const bool hasValue =
            r && r->isFunction && at.token < lineLength(at.line) &&
            !endsReturnValue(e.m_lines[size_t(at.line)].tokens[size_t(at.token)].code);
        if (hasValue) {
            if (!isNumericType(r->resultType))
                return false;
            node.value = ProgramCompiler(e, at.line, at.token).numeric();
            if (node.value < 0)
                return false;
            node.end = {at.line, e.m_programs[size_t(node.value)]->end};
        } else {
            node.end = at;
        }
        node.kind = Node::Return;
        node.routine = r;
        return true;
    }

    bool ifStatement(Node &node)
    {
        const Position at{node.start.line, node.start.token + 1};
        node.condition = ProgramCompiler(m_engine, at.line, at.token).condition();
        if (node.condition < 0)
            return false;
        const Position afterCondition{at.line, m_engine.m_conditions[size_t(node.condition)]->end};
        node.body = afterNoise(afterNoise(afterCondition, TokThen), TokBegin);
        node.otherwise = skipEnd(node.body, Quillan::SetElseEndIf, TokElse);
        if (node.otherwise.line >= 0) {
            node.end = skipEnd(node.otherwise, Quillan::SetEndIf, TokEndIf);
        } else {
            node.end = skipEnd(node.body, Quillan::SetElseEndIf, TokEndIf);
        }
        if (node.end.line < 0)
            return false;
        node.kind = Node::If;
        return true;
    }

    bool forStatement(Node &node)
    {
        ProgramCompiler c(m_engine, node.start.line, node.start.token + 1);
        if (!c.assignmentTarget(node.target) || node.target.operand != Quillan::ExprOp::Name)
            return false;
        Variable *v = m_engine.plainNumber(*node.target.token);
        if (!v || v->isConst)
            return false;
        node.value = c.numeric();
        if (node.value < 0 || !(c.atCode(TokTo) || c.atCode(TokDownTo)))
            return false;
        node.down = c.atCode(TokDownTo);
        c.skip();
        node.limit = c.numeric();
        if (node.limit < 0)
            return false;
        Position p{node.start.line, c.position()};
        if (c.atCode(TokStep)) {
            c.skip();
            node.step = c.numeric();
            if (node.step < 0)
                return false;
            p.token = c.position();
        } else if (p.token >= lineLength(p.line)) {
            // STEP at the start of the next line is left to the parser.
            Position q = p;
            const Token *t = tokenAt(q);
            if (t && t->code == TokStep)
                return false;
        }
        node.body = afterNoise(p, TokDo);
        node.end = skipEnd(node.body, Quillan::SetEndFor, TokEndFor);
        if (node.end.line < 0)
            return false;
        node.kind = Node::For;
        return true;
    }

    TQuillanPrivate &m_engine;
    int m_set;
};

int TQuillanPrivate::compiledBlockHere(int set)
{
    Line &line = m_lines[size_t(m_line)];
    const quint32 key = (quint32(m_token) << 4) | quint32(set);
    for (const auto &[k, block] : line.blocks)
        if (k == key)
            return block;
    const int block = BlockCompiler(*this, set).compile();
    m_lines[size_t(m_line)].blocks.emplace_back(key, block);
    return block;
}

quint16 TQuillanPrivate::runPartSlow(int &block, int set)
{
    if (block == -2)
        block = compiledBlockHere(set);
    if (block >= 0)
        return runBlock(*m_blocks[size_t(block)]);
    return walkBlock(stopsOf(set));
}

quint16 TQuillanPrivate::runBlock(BlockProgram &block)
{
    for (StmtNode &node : block.nodes) {
        if (node.provisional) {
            // Replaced before it first runs, so no run of the block is inside it meanwhile.
            node.provisional = false;
            StmtNode compiled = BlockCompiler(*this, SetNone).statementAt(node.start);
            if (compiled.kind != StmtNode::Walk && compiled.end.line == node.end.line &&
                compiled.end.token == node.end.token)
                node = std::move(compiled);
        }
        moveTo(node.start);
        checkStop();
        bool ran = true;
        switch (node.kind) {
        case StmtNode::Assign:
            ran = runAssignment(node);
            break;
        case StmtNode::Return:
            ran = runReturn(node);
            break;
        case StmtNode::If:
            ran = runIf(node);
            break;
        case StmtNode::For:
            ran = runFor(node);
            break;
        case StmtNode::Walk:
            statement(nextToken());
            break;
        }
        if (!ran) {
            // Its words mean something else now: the parser runs it and what follows.
            moveTo(node.start);
            return walkBlock(*block.stops);
        }
        if (m_unwind != NoUnwind)
            return BlockUnwound;
        if (m_line != node.end.line || m_token != node.end.token)
            return walkBlock(*block.stops);
    }
    moveTo(block.after);
    return block.stop;
}

bool TQuillanPrivate::runAssignment(const StmtNode &node)
{
    const ExprProgram &value = *m_programs[size_t(node.value)];
    if (!arraysReady(value.arrays, value.arraysChecked))
        return false;
    const ExprOp &target = node.target;
    Cell *cell;
    int type;
    switch (target.operand) {
    case ExprOp::Name: {
        Variable *v = plainNumber(*target.token);
        if (!v || v->isConst)
            return false;
        cell = &v->cell();
        type = v->type;
        break;
    }
    case ExprOp::Element: {
        Variable *array = numericArray(*target.token);
        if (!array || array->isConst)
            return false;
        cell = elementCell(array, runProgram(*m_programs[size_t(target.index)]));
        type = array->type;
        break;
    }
    default:
        cell = numericField(*target.token, &type, true);
        if (!cell)
            return false;
        break;
    }
    const double number = runProgram(value);
    cell->num = storedNumber(type, number);
    moveTo(node.end);
    return true;
}

bool TQuillanPrivate::runReturn(const StmtNode &node)
{
    if (node.value >= 0) {
        const ExprProgram &value = *m_programs[size_t(node.value)];
        if (m_frame->routine != node.routine || !arraysReady(value.arrays, value.arraysChecked))
            return false;
        const int type = node.routine->resultType;
        const double number = runProgram(value);
        m_frame->result.type = type;
        m_frame->result.num = storedNumber(type, number);
    }
    moveTo(node.end);
    m_unwind = UnwindReturn;
    return true;
}

bool TQuillanPrivate::runIf(const StmtNode &node)
{
    bool condition;
    if (!runCondition(*m_conditions[size_t(node.condition)], &condition))
        return false;
    quint16 stop;
    if (condition) {
        moveTo(node.body);
        stop = runPart(node.bodyBlock, SetElseEndIf);
        if (stop == BlockUnwound)
            return true;
        if (stop == TokElse) {
            if (m_line == node.otherwise.line && m_token == node.otherwise.token) {
                moveTo(node.end);
                stop = TokEndIf;
            } else {
                stop = skipToCached(SetEndIf);
            }
        }
    } else if (node.otherwise.line >= 0) {
        moveTo(node.otherwise);
        stop = runPart(node.otherwiseBlock, SetEndIf);
        if (stop == BlockUnwound)
            return true;
    } else {
        moveTo(node.end);
        return true;
    }
    if (stop != TokEndIf)
        ReportError(31);
    return true;
}

bool TQuillanPrivate::runFor(const StmtNode &node)
{
    Variable *v = plainNumber(*node.target.token);
    if (!v || v->isConst)
        return false;
    const ExprProgram &first = *m_programs[size_t(node.value)];
    const ExprProgram &last = *m_programs[size_t(node.limit)];
    const ExprProgram *step = node.step >= 0 ? m_programs[size_t(node.step)].get() : nullptr;
    if (!arraysReady(first.arrays, first.arraysChecked) ||
        !arraysReady(last.arrays, last.arraysChecked) ||
        (step && !arraysReady(step->arrays, step->arraysChecked)))
        return false;
    LoopCount count(&m_frame->loops);
    Cell *variable = &v->cell();
    const int type = v->type;
    variable->num = storedNumber(type, runProgram(first));
    const double limit = runProgram(last);
    const double increment = step ? runProgram(*step) : (node.down ? -1 : 1);
    for (;;) {
        if (!forPassBegins(variable->num, limit, increment)) {
            moveTo(node.end);
            return true;
        }
        moveTo(node.body);
        if (!forPassEnded(runPart(node.bodyBlock, SetLoopEnds)))
            return true;
        variable->num = storedNumber(type, variable->num + increment);
    }
}

const Token &TQuillanPrivate::firstTokenAfterLine(int line)
{
    for (int li = line + 1; li < m_endLine; ++li) {
        Line &l = m_lines[size_t(li)];
        if (!l.tokenized)
            tokenize(l);
        if (!l.tokens.empty())
            return l.tokens.front();
    }
    return m_endToken;
}

} // namespace Orbisong
