#pragma once

#include "script/ScriptTokens.h"

#include <QtGlobal>

#include <bitset>
#include <vector>

// The programs the engine compiles from script lines on their first run. Only the engine's own
// sources see them; hosts and libraries work through TQuillan.
namespace Orbisong::Quillan {

struct Routine;

using StopSet = std::bitset<128>;

// A place in the script: a line index and a token on it.
struct Position
{
    int line = 0;
    int token = 0;
};

// The stop sets that blocks end at, numbered for the caches of block ends and blocks.
enum BlockSet {
    SetNone = 0,
    SetElseEndIf,
    SetEndIf,
    SetEndWhile,
    SetEndFor,
    SetUntil,
    SetEndCase,
    SetEndSwitch,
    SetLoopEnds,
    SetElseCase,
    SetRoutineEnd
};

// A numeric expression compiled on its first run into postfix order: each step takes a right
// operand (a literal, a variable, an array element, a record field, a call of a script
// function or the top of the stack) and pushes it or combines it with the top. Names are
// resolved again on every run, so declarations made since are seen; an operand whose name
// no longer means what it did is read by the parser from its own tokens.
struct ExprOp
{
    // ModuloBy takes a literal divisor other than 0 and -1, known when compiled.
    enum Kind : quint8 { Push, Add, Subtract, Multiply, Divide, Modulo, ModuloBy, Negate };
    enum Operand : quint8 { Number, Name, Element, Field, Call, Stack };
    static constexpr quint8 codeOf(Kind kind, Operand operand)
    {
        return quint8(kind * 8 + operand);
    }
    Kind kind = Push;
    Operand operand = Number;
    quint8 code = 0;     // kind and operand together, set when the program is complete
    bool negate = false; // the operand is read with a unary minus
    int at = 0;          // the operand's first token on the expression's line
    int end = 0;         // the token after the operand
    double number = 0;
    const Token *token = nullptr;
    Routine *routine = nullptr;
    qint32 divisor = 1;         // ModuloBy
    int index = -1;             // Element: the program of the index
    std::vector<int> arguments; // Call: the programs of the arguments
};

struct ExprProgram
{
    // Most programs are a single literal or word, read without the general loop.
    enum Shape : quint8 { General, Literal, Word, WordWithLiteral };
    Shape shape = General;
    std::vector<ExprOp> ops;
    int operands = 0;
    int end = 0; // the token after the expression
    // The words of every array element read by the program and its arguments. A word that
    // is no longer an array ends the parser's operand early, so they are checked before
    // each run in which names may have changed.
    std::vector<const Token *> arrays;
    mutable quint64 arraysChecked = 0;
};

// A condition of numeric relations joined by AND, XOR and OR; every relation is evaluated,
// as the parser does.
struct Relation
{
    int left = -1;
    int right = -1;
    quint16 op = 0;
    bool negate = false;
};

struct ConditionProgram
{
    std::vector<Relation> relations;
    std::vector<quint16> joins; // the connective after each relation but the last
    int end = 0;
    std::vector<const Token *> arrays;
    mutable quint64 checked = 0; // the epoch at which its words were last found ready
};

// A block of statements compiled on its first run. Assignments of numbers, RETURN, IF with
// a compiled condition and FOR over a numeric variable run as nodes; any other statement
// is handed to the parser from its first token. When a node's names have changed meaning
// or a statement ends somewhere else than it did, the parser goes on from there, so a
// block never behaves differently from its parsed text.
struct StmtNode
{
    enum Kind : quint8 { Walk, Assign, Return, If, For };
    Kind kind = Walk;
    // Left to the parser because its words were unknown when the block was compiled
    // (declared by the block itself, say): compiled once more on its first run.
    bool provisional = false;
    Position start; // the statement's first token
    Position end;   // the token after the statement; line -1 when not known
    ExprOp target;  // Assign: what is stored into; For: the loop variable
    int value = -1; // Assign, Return: the value's program; For: the first value
    int limit = -1; // For
    int step = -1;  // For: the STEP program, -1 for the direction's unit step
    bool down = false;
    int condition = -1;         // If
    Position body;              // If: the THEN part; For: the loop body
    Position otherwise;         // If: the ELSE part, line -1 when there is none
    Routine *routine = nullptr; // Return: the function whose result is set
    // The compiled blocks of the body and the ELSE part, found on their first run.
    mutable int bodyBlock = -2;
    mutable int otherwiseBlock = -2;
};

struct BlockProgram
{
    const StopSet *stops = nullptr;
    std::vector<StmtNode> nodes;
    quint16 stop = 0; // the token ending the block
    Position after;   // the position after it
};

} // namespace Orbisong::Quillan
