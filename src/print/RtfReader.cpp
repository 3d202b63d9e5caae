#include "print/RtfReader.h"

#include "collection/StoredText.h"

#include <QMap>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace Orbisong {

namespace {

struct GroupState
{
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool skip = false;
    bool fontTable = false;
    int unicodeSkip = 1;
};

class RtfParser
{
public:
    RtfParser(const QString &rtf, QTextDocument &document)
        : m_rtf(rtf), m_document(document), m_cursor(&document)
    {
    }

    void run();

private:
    void controlWord(const QString &word, bool hasParameter, int parameter);
    void controlSymbol(QChar symbol);
    void text(const QString &chars);
    void setAlignment(Qt::Alignment alignment);
    QTextCharFormat charFormat() const;
    // Skips the characters that stand in for a \uN character for readers without Unicode.
    void skipFallback(int count);

    const QString &m_rtf;
    QTextDocument &m_document;
    QTextCursor m_cursor;
    qsizetype m_pos = 0;
    std::vector<GroupState> m_stack{GroupState{}};
    QMap<int, QString> m_fonts;
    int m_fontDefinition = 0;
    QString m_fontName;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    bool m_destinationPending = false; // just after "{\*"
};

GroupState &top(std::vector<GroupState> &stack)
{
    return stack.back();
}

void RtfParser::run()
{
    while (m_pos < m_rtf.size()) {
        const QChar c = m_rtf.at(m_pos++);
        if (c == QLatin1Char('{')) {
            m_stack.push_back(top(m_stack));
        } else if (c == QLatin1Char('}')) {
            if (top(m_stack).fontTable && !m_fontName.trimmed().isEmpty())
                m_fonts.insert(m_fontDefinition, m_fontName.trimmed());
            m_fontName.clear();
            if (m_stack.size() > 1)
                m_stack.pop_back();
        } else if (c == QLatin1Char('\\')) {
            if (m_pos >= m_rtf.size())
                break;
            const QChar next = m_rtf.at(m_pos);
            if (!next.isLetter()) {
                ++m_pos;
                controlSymbol(next);
                continue;
            }
            const qsizetype start = m_pos;
            while (m_pos < m_rtf.size() && m_rtf.at(m_pos).isLetter())
                ++m_pos;
            const QString word = m_rtf.mid(start, m_pos - start);
            const qsizetype digits = m_pos;
            if (m_pos < m_rtf.size() && m_rtf.at(m_pos) == QLatin1Char('-'))
                ++m_pos;
            while (m_pos < m_rtf.size() && m_rtf.at(m_pos).isDigit())
                ++m_pos;
            bool hasParameter = false;
            const int parameter = m_rtf.mid(digits, m_pos - digits).toInt(&hasParameter);
            if (m_pos < m_rtf.size() && m_rtf.at(m_pos) == QLatin1Char(' '))
                ++m_pos;
            controlWord(word, hasParameter, parameter);
        } else if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            text(QString(c));
        }
    }
}

void RtfParser::controlSymbol(QChar symbol)
{
    if (symbol == QLatin1Char('*')) {
        top(m_stack).skip = true;
    } else if (symbol == QLatin1Char('\'')) {
        const bool hasDigits = m_pos + 2 <= m_rtf.size();
        bool ok = false;
        const int byte = hasDigits ? m_rtf.mid(m_pos, 2).toInt(&ok, 16) : 0;
        m_pos += hasDigits ? 2 : 0;
        if (ok) {
            const char raw = char(byte);
            text(decodeStoredText(QByteArrayView(&raw, 1)));
        }
    } else if (symbol == QLatin1Char('~')) {
        text(QString(QChar(0x00A0)));
    } else if (symbol == QLatin1Char('_')) {
        text(QString(QChar(0x2011)));
    } else if (symbol == QLatin1Char('\\') || symbol == QLatin1Char('{') ||
               symbol == QLatin1Char('}')) {
        text(QString(symbol));
    } else if (symbol == QLatin1Char('\r') || symbol == QLatin1Char('\n')) {
        controlWord(QStringLiteral("par"), false, 0);
    }
}

void RtfParser::controlWord(const QString &word, bool hasParameter, int parameter)
{
    GroupState &state = top(m_stack);
    const bool on = !hasParameter || parameter != 0;
    static const QStringList skipped = {
        QStringLiteral("colortbl"),  QStringLiteral("stylesheet"),       QStringLiteral("info"),
        QStringLiteral("pict"),      QStringLiteral("header"),           QStringLiteral("footer"),
        QStringLiteral("listtable"), QStringLiteral("listoverridetable")};
    if (skipped.contains(word)) {
        state.skip = true;
    } else if (word == QLatin1String("fonttbl")) {
        state.fontTable = true;
    } else if (state.skip) {
        return;
    } else if (word == QLatin1String("f")) {
        if (state.fontTable) {
            m_fontDefinition = parameter;
            m_fontName.clear();
        } else {
            state.font = parameter;
        }
    } else if (state.fontTable) {
        return;
    } else if (word == QLatin1String("fs")) {
        state.halfPoints = hasParameter && parameter > 0 ? parameter : 24;
    } else if (word == QLatin1String("b")) {
        state.bold = on;
    } else if (word == QLatin1String("i")) {
        state.italic = on;
    } else if (word == QLatin1String("ul")) {
        state.underline = on;
    } else if (word == QLatin1String("ulnone")) {
        state.underline = false;
    } else if (word == QLatin1String("plain")) {
        state.bold = state.italic = state.underline = false;
        state.halfPoints = 24;
        state.font = 0;
    } else if (word == QLatin1String("pard") || word == QLatin1String("ql")) {
        setAlignment(Qt::AlignLeft);
    } else if (word == QLatin1String("qc")) {
        setAlignment(Qt::AlignHCenter);
    } else if (word == QLatin1String("qr")) {
        setAlignment(Qt::AlignRight);
    } else if (word == QLatin1String("par")) {
        QTextBlockFormat block;
        block.setAlignment(m_alignment);
        m_cursor.insertBlock(block, charFormat());
    } else if (word == QLatin1String("tab")) {
        text(QStringLiteral("\t"));
    } else if (word == QLatin1String("line")) {
        text(QString(QChar::LineSeparator));
    } else if (word == QLatin1String("uc")) {
        state.unicodeSkip = qMax(0, parameter);
    } else if (word == QLatin1String("u") && hasParameter) {
        text(QString(QChar(char16_t(parameter < 0 ? parameter + 65536 : parameter))));
        skipFallback(state.unicodeSkip);
    }
}

void RtfParser::skipFallback(int count)
{
    for (int i = 0; i < count && m_pos < m_rtf.size(); ++i) {
        const QChar c = m_rtf.at(m_pos);
        if (c == QLatin1Char('{') || c == QLatin1Char('}'))
            return;
        if (c == QLatin1Char('\\') && m_pos + 1 < m_rtf.size() &&
            m_rtf.at(m_pos + 1) == QLatin1Char('\'')) {
            m_pos += 4;
        } else if (c == QLatin1Char('\\')) {
            return;
        } else {
            ++m_pos;
        }
    }
}

void RtfParser::text(const QString &chars)
{
    const GroupState &state = top(m_stack);
    if (state.skip)
        return;
    if (state.fontTable) {
        if (chars == QLatin1String(";")) {
            m_fonts.insert(m_fontDefinition, m_fontName.trimmed());
            m_fontName.clear();
        } else {
            m_fontName += chars;
        }
        return;
    }
    m_cursor.insertText(chars, charFormat());
}

void RtfParser::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    QTextBlockFormat block = m_cursor.blockFormat();
    block.setAlignment(alignment);
    m_cursor.setBlockFormat(block);
}

QTextCharFormat RtfParser::charFormat() const
{
    const GroupState &state = m_stack.back();
    QTextCharFormat format;
    const QString family = m_fonts.value(state.font, m_fonts.value(0));
    if (!family.isEmpty())
        format.setFontFamilies(QStringList{family});
    format.setFontPointSize(state.halfPoints / 2.0);
    format.setFontWeight(state.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(state.italic);
    format.setFontUnderline(state.underline);
    return format;
}

} // namespace

void readRtf(const QString &rtf, QTextDocument &document)
{
    document.clear();
    if (!rtf.trimmed().startsWith(QLatin1String("{\\rtf"))) {
        QString plain = rtf;
        plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        document.setPlainText(plain);
        return;
    }
    RtfParser parser(rtf, document);
    parser.run();
}

} // namespace Orbisong
