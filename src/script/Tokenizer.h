#pragma once

#include "script/ScriptTokens.h"
#include "script/SymbolTable.h"

#include <QHash>

namespace Orbisong {

// Splits one source line into tokens. A lexical error becomes a TokLexError token at its place,
// so that it is raised only when execution reaches it.
class Tokenizer
{
public:
    explicit Tokenizer(SymbolTable &symbols);

    // startsInRemark: the line begins inside a brace remark opened on an earlier line.
    // remarkNeverCloses: a brace remark left open on this line is never closed in the file.
    void tokenize(const QString &line, bool startsInRemark, bool remarkNeverCloses,
                  std::vector<Token> &out) const;

    // Whether a brace remark is still open at the end of the line.
    static bool endsInRemark(const QString &line, bool startsInRemark);

    quint16 keyword(const QString &upperWord) const { return m_keywords.value(upperWord, 0); }
    const QHash<QString, quint16> &keywords() const { return m_keywords; }

private:
    void word(const QString &text, Token &token) const;

    SymbolTable &m_symbols;
    QHash<QString, quint16> m_keywords;
};

} // namespace Orbisong
