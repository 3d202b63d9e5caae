#include "collection/MultilineCodec.h"

namespace Orbisong {

QString EncodeMultiline(const QString &text)
{
    QString source = text;
    if (!source.isEmpty()) {
        const QChar last = source.back();
        if (last == QLatin1Char('\t') || last == QLatin1Char('\r') || last == QLatin1Char('\n'))
            source.chop(1);
    }

    QString result;
    result.reserve(source.size() + 8);
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source.at(i);
        const bool isLast = i == source.size() - 1;
        if (c == QLatin1Char('\r')) {
            if (!isLast && source.at(i + 1) == QLatin1Char('\n')) {
                result += QLatin1String("\\n");
                ++i;
            }
        } else if (c == QLatin1Char('\t')) {
            result += QLatin1String("\\t");
        } else if (c == QLatin1Char('\\')) {
            result += isLast ? QLatin1String("\\") : QLatin1String("\\\\");
        } else {
            result += c;
        }
    }
    return result;
}

QString DecodeMultiline(const QString &text, UnknownEscape unknown)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i == text.size() - 1) {
            result += c;
            continue;
        }
        const QChar next = text.at(++i);
        if (next == QLatin1Char('n'))
            result += QLatin1String("\r\n");
        else if (next == QLatin1Char('t'))
            result += QLatin1Char('\t');
        else if (next == QLatin1Char('\\') || unknown == UnknownEscape::Drop)
            result += next;
        else
            result += QString(c) + next;
    }
    return result;
}

} // namespace Orbisong
