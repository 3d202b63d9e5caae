#include "net/TUUCode.h"

namespace Orbisong {

namespace {

constexpr int BytesPerLine = 45;

// Zero is written as "`" rather than a blank, so that no line ends in blanks.
char uuChar(int value)
{
    return value == 0 ? '`' : char(32 + value);
}

} // namespace

QStringList TUUCode::encode(const QByteArray &data, const QString &fileName)
{
    QStringList lines{QStringLiteral("begin 600 ") + fileName.toLower()};
    for (qsizetype pos = 0; pos < data.size(); pos += BytesPerLine) {
        const QByteArray chunk = data.mid(pos, BytesPerLine);
        QByteArray line(1, uuChar(int(chunk.size())));
        for (qsizetype i = 0; i < chunk.size(); i += 3) {
            const auto b0 = static_cast<unsigned char>(chunk.at(i));
            const auto b1 = i + 1 < chunk.size() ? static_cast<unsigned char>(chunk.at(i + 1)) : 0;
            const auto b2 = i + 2 < chunk.size() ? static_cast<unsigned char>(chunk.at(i + 2)) : 0;
            line += uuChar(b0 >> 2);
            line += uuChar(((b0 & 0x03) << 4) | (b1 >> 4));
            line += uuChar(((b1 & 0x0F) << 2) | (b2 >> 6));
            line += uuChar(b2 & 0x3F);
        }
        lines.append(QString::fromLatin1(line));
    }
    lines.append(QStringLiteral("`"));
    lines.append(QStringLiteral("end"));
    return lines;
}

} // namespace Orbisong
