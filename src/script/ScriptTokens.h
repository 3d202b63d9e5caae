#pragma once

#include <QString>

#include <vector>

namespace Orbisong {

struct Variable;

// Token codes of the script language. Several keywords share one code.
enum TokenCode : quint16 {
    TokEnd = 0,
    TokDot = 2,
    TokIf = 3,
    TokAssign = 4,
    TokWrite = 5,
    TokEqual = 6,
    TokThen = 7,
    TokElse = 8,
    TokBegin = 9,
    TokRemark = 12,
    TokString = 13,
    TokReal = 14,
    TokInteger = 15,
    TokGreater = 16,
    TokLess = 17,
    TokNotEqual = 18,
    TokGreaterEqual = 19,
    TokLessEqual = 20,
    TokComma = 21,
    TokOpenParen = 22,
    TokCloseParen = 23,
    TokSemicolon = 24,
    TokFor = 25,
    TokWhile = 26,
    TokEndIf = 27,
    TokEndWhile = 28,
    TokProcedure = 29,
    TokLocalVar = 30,
    TokGlobalVar = 31,
    TokPlus = 32,
    TokMinus = 33,
    TokSlash = 34,
    TokStar = 35,
    TokPercent = 36,
    TokPower = 37,
    TokRoutine = 38,
    TokGlobal = 39,
    TokUnknown = 40,
    TokColon = 41,
    TokLongint = 42,
    TokIntegerType = 43,
    TokByte = 44,
    TokRealType = 45,
    TokWord = 46,
    TokArray = 47,
    TokOpenBracket = 48,
    TokCloseBracket = 49,
    TokVar = 50,
    TokFunction = 51,
    TokStringType = 52,
    TokPChar = 53,
    TokReturn = 54,
    TokWriteLn = 55,
    TokEndProc = 56,
    TokBoolean = 57,
    TokAnd = 58,
    TokNot = 59,
    TokOr = 60,
    TokXor = 61,
    TokTrue = 62,
    TokFalse = 63,
    TokTo = 64,
    TokStep = 65,
    TokEndFor = 66,
    TokDownTo = 67,
    TokRepeat = 68,
    TokUntil = 69,
    TokEndVar = 70,
    TokText = 71,
    TokRead = 72,
    TokReadLn = 73,
    TokContinue = 74,
    TokCase = 75,
    TokOf = 76,
    TokEndCase = 77,
    TokSwitch = 78,
    TokEndSwitch = 79,
    TokChar = 80,
    TokPointer = 81,
    TokNil = 82,
    TokModule = 83,
    TokExternal = 84,
    TokPascal = 85,
    TokCdecl = 86,
    TokRange = 87,
    TokBool = 88,
    TokShl = 89,
    TokShr = 90,
    TokTilde = 91,
    TokDo = 92,
    TokType = 93,
    TokEndType = 94,
    TokRecordType = 95,
    TokClassType = 96,
    TokRecord = 97,
    TokClass = 98,
    TokKey = 99,
    TokEndRecord = 100,
    TokTable = 101,
    // Internal codes, never seen by scripts.
    TokName = 1000,    // a word that is resolved when it is executed
    TokLexError = 1001 // a lexical error raised only when execution reaches it
};

// Words a block passes over where a statement could start: separators and the ends of blocks
// that are not the one being run.
inline bool passedBetweenStatements(quint16 code)
{
    return code == TokSemicolon || code == TokEndIf || code == TokElse || code == TokEndCase ||
           code == TokEndSwitch || code == TokDot;
}

inline bool isRelationOperator(quint16 code)
{
    return code == TokEqual || code == TokNotEqual || code == TokLess || code == TokGreater ||
           code == TokLessEqual || code == TokGreaterEqual;
}

// The relation `op` (one of = <> < > <= >=) between two numbers or two texts.
template <typename T> bool relationHolds(quint16 op, const T &a, const T &b)
{
    switch (op) {
    case TokEqual:
        return a == b;
    case TokNotEqual:
        return a != b;
    case TokLess:
        return a < b;
    case TokGreater:
        return a > b;
    case TokLessEqual:
        return a <= b;
    default:
        return a >= b;
    }
}

// One token of a source line, kept after the line's first use.
struct Token
{
    quint16 code = TokEnd;
    int sym = -1;          // interned upper-case name of a word
    int baseSym = -1;      // the part of a dotted word before its first '.'
    std::vector<int> path; // member names after the first '.'
    double number = 0;
    int error = 0; // error number of a TokLexError
    QString text;  // upper-cased word, literal content or symbol text
    // What this word named when it was last resolved, valid while the engine's resolution
    // epoch is unchanged: the position of a local in the current call's locals (the same in
    // every call of the routine while the epoch holds), or else a global variable.
    mutable quint64 epoch = 0;
    mutable Variable *variable = nullptr;
    mutable int localIndex = -1;
    // The engine's program for the numeric expression starting here: -2 before the first
    // run, -1 when the expression is not a simple one.
    mutable int program = -2;
    // The same for the condition starting here.
    mutable int condition = -2;
};

} // namespace Orbisong
