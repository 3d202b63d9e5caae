#include "ui/script/ScriptHighlighter.h"

#include "script/SymbolTable.h"
#include "script/Tokenizer.h"

namespace Orbisong {

namespace {

enum BlockState { Plain = 0, InRemark = 1 };

QTextCharFormat charFormat(const QColor &colour, bool bold = false, bool italic = false)
{
    QTextCharFormat f;
    f.setForeground(colour);
    if (bold)
        f.setFontWeight(QFont::Bold);
    f.setFontItalic(italic);
    return f;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

ScriptHighlighter::ScriptHighlighter(QTextDocument *document) : QSyntaxHighlighter(document)
{
    SymbolTable symbols;
    const Tokenizer tokenizer(symbols);
    for (auto it = tokenizer.keywords().cbegin(); it != tokenizer.keywords().cend(); ++it)
        m_keywords.insert(it.key());
}

void ScriptHighlighter::highlightBlock(const QString &text)
{
    static const QTextCharFormat keyword = charFormat(QColor(0x00, 0x00, 0x90), true);
    static const QTextCharFormat string = charFormat(QColor(0x90, 0x10, 0x10));
    static const QTextCharFormat remark = charFormat(QColor(0x20, 0x80, 0x20), false, true);
    const int n = int(text.size());
    int i = 0;
    if (previousBlockState() == InRemark) {
        const int close = int(text.indexOf(QLatin1Char('}')));
        const int end = close < 0 ? n : close + 1;
        setFormat(0, end, remark);
        if (close < 0) {
            setCurrentBlockState(InRemark);
            return;
        }
        i = end;
    }
    setCurrentBlockState(Plain);
    while (i < n) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('/') && i + 1 < n && text.at(i + 1) == QLatin1Char('/')) {
            setFormat(i, n - i, remark);
            return;
        }
        if (c == QLatin1Char('{')) {
            const int close = int(text.indexOf(QLatin1Char('}'), i + 1));
            if (close < 0) {
                setFormat(i, n - i, remark);
                setCurrentBlockState(InRemark);
                return;
            }
            setFormat(i, close + 1 - i, remark);
            i = close + 1;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            // A doubled quote stands for itself inside the string.
            int j = i + 1;
            while (j < n) {
                if (text.at(j) == c) {
                    if (j + 1 < n && text.at(j + 1) == c)
                        ++j;
                    else
                        break;
                }
                ++j;
            }
            const int end = qMin(j + 1, n);
            setFormat(i, end - i, string);
            i = end;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            int j = i;
            while (j < n && isWordChar(text.at(j)))
                ++j;
            if (m_keywords.contains(text.mid(i, j - i).toUpper()))
                setFormat(i, j - i, keyword);
            i = j;
        } else {
            ++i;
        }
    }
}

} // namespace Orbisong
