#include "net/TQuotedPrintable.h"

namespace Orbisong {

namespace {

// SMTP's own limit is 998 characters a line; a longer line needs soft breaks.
constexpr int SmtpLineLimit = 998;

bool isLiteral(unsigned char c)
{
    return (c >= 33 && c <= 126 && c != '=') || c == ' ' || c == '\t';
}

QByteArray escaped(unsigned char c)
{
    return QByteArray("=") + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
}

} // namespace

bool TQuotedPrintable::isPlain(const QByteArray &text)
{
    for (const QByteArray &line : text.split('\n')) {
        if (line.size() > SmtpLineLimit)
            return false;
        for (const char c : line) {
            const auto u = static_cast<unsigned char>(c);
            if ((u < 32 && u != '\t' && u != '\r') || u > 126)
                return false;
        }
    }
    return true;
}

void TQuotedPrintable::encodeLine(const QByteArray &line, QStringList &out)
{
    QByteArray current;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line.at(i));
        const bool last = i == line.size() - 1;
        // Blanks at a line's end would be lost in transport, so they are written as codes.
        const QByteArray piece = isLiteral(c) && !(last && (c == ' ' || c == '\t'))
                                     ? QByteArray(1, char(c))
                                     : escaped(c);
        // Room is kept for the "=" of a soft break, unless this is the line's last piece.
        const int room = last ? LineLength : LineLength - 1;
        if (current.size() + piece.size() > room) {
            out.append(QString::fromLatin1(current + '='));
            current.clear();
        }
        current += piece;
    }
    out.append(QString::fromLatin1(current));
}

QStringList TQuotedPrintable::encode(const QByteArray &text)
{
    QStringList out;
    QList<QByteArray> lines = text.split('\n');
    if (text.endsWith('\n'))
        lines.removeLast();
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        encodeLine(line, out);
    }
    return out;
}

} // namespace Orbisong
