#pragma once

#include "script/CompiledProgram.h"

#include <vector>

namespace Orbisong {

class TQuillanPrivate;

// Turns the tokens of a numeric expression or a condition on a script line into a program. It only
// reads tokens and looks names up, exactly as the parser would at this point, and gives up (leaving
// the expression to the parser) on anything outside the simple forms: literals, numeric variables,
// elements of numeric arrays, numeric record fields, calls of script functions taking numbers by
// value, + - * / % and unary signs, parentheses, and relations joined by AND, XOR and OR.
// Everything compiled lies on one line.
class ProgramCompiler
{
public:
    using Op = Quillan::ExprOp;
    using Program = Quillan::ExprProgram;

    // Reads from the given token of a script line.
    ProgramCompiler(TQuillanPrivate &engine, int line, int token);

    int position() const { return m_pos; }
    void skip() { ++m_pos; }
    bool atCode(quint16 code) const { return at(code); }

    // The variable, array element or record field that an assignment at this point stores
    // into, followed by ":=". Its index joins the value's program's array words.
    bool assignmentTarget(Op &target);

    // The index of the expression's program, -1 when it is not a simple one, or -2 when it may
    // become one (it calls a function whose header has not been read yet).
    int numeric();
    // The index of the condition's program, or -1 or -2 as for numeric().
    int condition();

private:
    const Token *peek() const { return m_pos < m_count ? &m_tokens[m_pos] : nullptr; }
    bool at(quint16 code) const { return m_pos < m_count && m_tokens[m_pos].code == code; }
    int failed() const { return m_notYet ? -2 : -1; }

    // Whether the parser, too, would end the expression (or condition) here.
    bool endsStatementPart(bool condition);
    // An argument, an index or a side of a relation, as a program of its own.
    int subprogram(bool inRelation);
    bool sum(Program &p, bool inRelation);
    bool term(Program &p, bool inRelation);
    bool factor(Program &p);
    bool word(Op &op, const Token &t);
    bool call(Op &op, Quillan::Routine *r);
    static Program::Shape shapeOf(Program &p);

    // An operator whose right operand was pushed just before takes that operand in, saving a
    // push and a pop on every run.
    static void appendOperator(Program &p, Op::Kind kind);

    TQuillanPrivate &m_engine;
    int m_line;
    const Token *m_tokens = nullptr;
    int m_count = 0;
    int m_pos;
    bool m_notYet = false;
    // Nested parentheses and arguments: past the engine's limit the parser takes over and
    // reports the error.
    int m_depth = 0;
    std::vector<const Token *> m_arrays;
};

} // namespace Orbisong
