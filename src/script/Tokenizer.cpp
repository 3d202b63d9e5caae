#include "script/Tokenizer.h"

namespace Orbisong {

namespace {

struct KeywordEntry
{
    const char *word;
    quint16 code;
};

const KeywordEntry KeywordTable[] = {
    {"IF", TokIf},
    {"WRITE", TokWrite},
    {"THEN", TokThen},
    {"ELSE", TokElse},
    {"BEGIN", TokBegin},
    {"FOR", TokFor},
    {"WHILE", TokWhile},
    {"ENDIF", TokEndIf},
    {"WEND", TokEndWhile},
    {"ENDWHILE", TokEndWhile},
    {"PROCEDURE", TokProcedure},
    {"ROUTINE", TokProcedure},
    {"POWER", TokPower},
    {"GLOBAL", TokGlobal},
    {"LONGINT", TokLongint},
    {"INTEGER", TokIntegerType},
    {"BYTE", TokByte},
    {"REAL", TokRealType},
    {"WORD", TokWord},
    {"ARRAY", TokArray},
    {"LOCAL", TokVar},
    {"VAR", TokVar},
    {"FUNCTION", TokFunction},
    {"STRING", TokStringType},
    {"PCHAR", TokPChar},
    {"RETURN", TokReturn},
    {"WRITELN", TokWriteLn},
    {"ENDPROC", TokEndProc},
    {"ENDFUNC", TokEndProc},
    {"ENDROUTINE", TokEndProc},
    {"BOOLEAN", TokBoolean},
    {"AND", TokAnd},
    {"NOT", TokNot},
    {"OR", TokOr},
    {"XOR", TokXor},
    {"TRUE", TokTrue},
    {"FALSE", TokFalse},
    {"TO", TokTo},
    {"STEP", TokStep},
    {"ENDFOR", TokEndFor},
    {"DOWNTO", TokDownTo},
    {"REPEAT", TokRepeat},
    {"UNTIL", TokUntil},
    {"ENDVAR", TokEndVar},
    {"TEXT", TokText},
    {"READ", TokRead},
    {"READLN", TokReadLn},
    {"CONTINUE", TokContinue},
    {"CASE", TokCase},
    {"OF", TokOf},
    {"ENDCASE", TokEndCase},
    {"SWITCH", TokSwitch},
    {"ENDSWITCH", TokEndSwitch},
    {"CHAR", TokChar},
    {"POINTER", TokPointer},
    {"NIL", TokNil},
    {"MODULE", TokModule},
    {"EXTERNAL", TokExternal},
    {"PASCAL", TokPascal},
    {"CDECL", TokCdecl},
    {"BOOL", TokBool},
    {"SHL", TokShl},
    {"SHR", TokShr},
    {"DO", TokDo},
    {"TYPE", TokType},
    {"ENDTYPE", TokEndType},
    {"RECORD", TokRecord},
    {"CLASS", TokClass},
    {"KEY", TokKey},
    {"ENDRECORD", TokEndRecord},
    {"TABLE", TokTable},
};

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool endsWord(QChar c)
{
    switch (c.unicode()) {
    case ' ':
    case '\t':
    case '(':
    case ')':
    case '*':
    case '+':
    case ',':
    case '-':
    case '/':
    case ':':
    case ';':
    case '[':
    case ']':
        return true;
    default:
        return false;
    }
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return isDigit(c) || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}

Token symbol(quint16 code, const QString &text)
{
    Token t;
    t.code = code;
    t.text = text;
    return t;
}

Token lexError(int number, const QString &text = {})
{
    Token t;
    t.code = TokLexError;
    t.error = number;
    t.text = text;
    return t;
}

} // namespace

Tokenizer::Tokenizer(SymbolTable &symbols) : m_symbols(symbols)
{
    for (const KeywordEntry &k : KeywordTable)
        m_keywords.insert(QString::fromLatin1(k.word), k.code);
}

bool Tokenizer::endsInRemark(const QString &line, bool inRemark)
{
    const int n = int(line.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = line[i];
        if (inRemark) {
            if (c == QLatin1Char('}'))
                inRemark = false;
            continue;
        }
        if (c == QLatin1Char('{')) {
            inRemark = true;
        } else if (c == QLatin1Char('/') && i + 1 < n && line[i + 1] == QLatin1Char('/')) {
            return false;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            ++i;
            while (i < n) {
                if (line[i] == c) {
                    if (i + 1 < n && line[i + 1] == c)
                        ++i;
                    else
                        break;
                }
                ++i;
            }
        }
    }
    return inRemark;
}

void Tokenizer::word(const QString &text, Token &token) const
{
    token.text = text.toUpper();
    if (const quint16 code = m_keywords.value(token.text, 0)) {
        token.code = code;
        return;
    }
    token.code = TokName;
    token.sym = m_symbols.intern(SymbolTable::normalise(token.text));
    const int dot = int(token.text.indexOf(QLatin1Char('.')));
    if (dot > 0) {
        const QStringList parts = token.text.split(QLatin1Char('.'));
        token.baseSym = m_symbols.intern(SymbolTable::normalise(parts.first()));
        for (qsizetype i = 1; i < parts.size(); ++i)
            token.path.push_back(m_symbols.intern(SymbolTable::normalise(parts[i])));
    }
}

void Tokenizer::tokenize(const QString &line, bool startsInRemark, bool remarkNeverCloses,
                         std::vector<Token> &out) const
{
    const int n = int(line.size());
    int i = 0;
    if (startsInRemark) {
        while (i < n && line[i] != QLatin1Char('}'))
            ++i;
        ++i;
    }
    while (i < n) {
        const QChar c = line[i];
        if (isBlank(c)) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('{')) {
            const int close = int(line.indexOf(QLatin1Char('}'), i + 1));
            if (close < 0) {
                if (remarkNeverCloses)
                    out.push_back(lexError(9));
                return;
            }
            i = close + 1;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && line[i + 1] == QLatin1Char('/'))
            return;
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            QString text;
            int j = i + 1;
            bool closed = false;
            while (j < n) {
                if (line[j] == c) {
                    if (j + 1 < n && line[j + 1] == c) {
                        text += c;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                text += line[j++];
            }
            if (!closed) {
                out.push_back(lexError(5));
                return;
            }
            out.push_back(symbol(TokString, text));
            i = j + 1;
            continue;
        }
        if (isDigit(c) || c == QLatin1Char('$')) {
            const bool hex = c == QLatin1Char('$');
            int j = i + 1;
            bool hasDot = false;
            bool hasE = false;
            int error = 0;
            while (j < n) {
                const QChar d = line[j];
                if (hex ? isHexDigit(d) : isDigit(d)) {
                    ++j;
                } else if (!hex && d == QLatin1Char('.')) {
                    if (j + 1 < n && line[j + 1] == QLatin1Char('.'))
                        break;
                    if (hasDot || hasE) {
                        error = 6;
                        break;
                    }
                    hasDot = true;
                    ++j;
                } else if (!hex && (d == QLatin1Char('E') || d == QLatin1Char('e'))) {
                    if (hasE) {
                        error = 7;
                        break;
                    }
                    hasE = true;
                    ++j;
                    if (j < n && (line[j] == QLatin1Char('+') || line[j] == QLatin1Char('-')))
                        ++j;
                } else {
                    break;
                }
            }
            if (error) {
                out.push_back(lexError(error));
                return;
            }
            const QString text = line.mid(i, j - i);
            Token t;
            t.text = text;
            if (hex) {
                t.code = TokInteger;
                t.number = double(text.mid(1).toULongLong(nullptr, 16));
            } else {
                t.code = (hasDot || hasE) ? TokReal : TokInteger;
                t.number = text.toDouble();
            }
            out.push_back(t);
            i = j;
            continue;
        }
        if (c == QLatin1Char(':') || c == QLatin1Char('<') || c == QLatin1Char('=') ||
            c == QLatin1Char('>')) {
            QString op(c);
            if (i + 1 < n && (line[i + 1] == QLatin1Char('<') || line[i + 1] == QLatin1Char('=') ||
                              line[i + 1] == QLatin1Char('>')))
                op += line[i + 1];
            i += int(op.size());
            static const QHash<QString, quint16> operators = {
                {QStringLiteral("="), TokEqual},         {QStringLiteral(":"), TokColon},
                {QStringLiteral(":="), TokAssign},       {QStringLiteral(">"), TokGreater},
                {QStringLiteral("<"), TokLess},          {QStringLiteral("<>"), TokNotEqual},
                {QStringLiteral(">="), TokGreaterEqual}, {QStringLiteral("<="), TokLessEqual}};
            const quint16 code = operators.value(op, 0);
            out.push_back(code ? symbol(code, op) : lexError(8, op));
            continue;
        }
        quint16 single = 0;
        switch (c.unicode()) {
        case '%':
            single = TokPercent;
            break;
        case '(':
            single = TokOpenParen;
            break;
        case ')':
            single = TokCloseParen;
            break;
        case '*':
            single = TokStar;
            break;
        case '+':
            single = TokPlus;
            break;
        case ',':
            single = TokComma;
            break;
        case '-':
            single = TokMinus;
            break;
        case '/':
            single = TokSlash;
            break;
        case ';':
            single = TokSemicolon;
            break;
        case '[':
            single = TokOpenBracket;
            break;
        case ']':
            single = TokCloseBracket;
            break;
        case '~':
            single = TokTilde;
            break;
        case '.':
            single = TokDot;
            break;
        default:
            break;
        }
        if (single == TokDot && i + 1 < n && line[i + 1] == QLatin1Char('.')) {
            out.push_back(symbol(TokRange, QStringLiteral("..")));
            i += 2;
            continue;
        }
        if (single) {
            out.push_back(symbol(single, QString(c)));
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < n && !endsWord(line[j]))
            ++j;
        Token t;
        word(line.mid(i, j - i), t);
        out.push_back(t);
        i = j;
    }
}

} // namespace Orbisong
