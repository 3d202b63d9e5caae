#include "print/RtfWriter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

namespace Orbisong {

namespace {

QString family(const QTextCharFormat &format, const QTextDocument &document)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? document.defaultFont().family() : families.first();
}

int halfPoints(const QTextCharFormat &format, const QTextDocument &document)
{
    const qreal points = format.hasProperty(QTextFormat::FontPointSize)
                             ? format.fontPointSize()
                             : document.defaultFont().pointSizeF();
    return points > 0 ? qRound(points * 2) : 24;
}

QString escaped(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}'))
            out += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\tab ");
        else if (c == QChar::LineSeparator)
            out += QLatin1String("\\line ");
        else if (u == 0x00A0)
            out += QLatin1String("\\~");
        else if (u >= 0x20 && u < 0x80)
            out += c;
        else if (u >= 0x80)
            out += QStringLiteral("\\u%1?").arg(u >= 0x8000 ? int(u) - 65536 : int(u));
    }
    return out;
}

QString alignmentWord(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("\\qc");
    if (alignment & Qt::AlignRight)
        return QStringLiteral("\\qr");
    return QStringLiteral("\\ql");
}

} // namespace

QString writeRtf(const QTextDocument &document)
{
    QStringList fonts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString name = family(it.fragment().charFormat(), document);
            if (!fonts.contains(name))
                fonts.append(name);
        }
    }
    if (fonts.isEmpty())
        fonts.append(document.defaultFont().family());
    QString out = QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl");
    for (int i = 0; i < fonts.size(); ++i)
        out += QStringLiteral("{\\f%1\\fnil %2;}").arg(i).arg(escaped(fonts.at(i)));
    out += QLatin1Char('}');

    // Character properties carry over paragraphs in this format, so each run states only what
    // changed since the one before.
    int font = 0;
    int size = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool first = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (!first)
            out += QLatin1String("\\par ");
        first = false;
        out += QLatin1String("\\pard") + alignmentWord(block.blockFormat().alignment());
        QString words;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            words.clear();
            const int f = int(fonts.indexOf(family(format, document)));
            if (f != font)
                words += QStringLiteral("\\f%1").arg(font = f);
            const int s = halfPoints(format, document);
            if (s != size)
                words += QStringLiteral("\\fs%1").arg(size = s);
            if ((format.fontWeight() >= QFont::DemiBold) != bold)
                words += (bold = !bold) ? QLatin1String("\\b") : QLatin1String("\\b0");
            if (format.fontItalic() != italic)
                words += (italic = !italic) ? QLatin1String("\\i") : QLatin1String("\\i0");
            if (format.fontUnderline() != underline)
                words +=
                    (underline = !underline) ? QLatin1String("\\ul") : QLatin1String("\\ulnone");
            out += words + QLatin1Char(' ') + escaped(it.fragment().text());
        }
        if (block.begin().atEnd())
            out += QLatin1Char(' ');
    }
    out += QLatin1Char('}');
    return out;
}

} // namespace Orbisong
