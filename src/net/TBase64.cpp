#include "net/TBase64.h"

namespace Orbisong {

QStringList TBase64::encode(const QByteArray &data)
{
    const QByteArray text = data.toBase64();
    QStringList lines;
    for (qsizetype pos = 0; pos < text.size(); pos += LineLength)
        lines.append(QString::fromLatin1(text.mid(pos, LineLength)));
    return lines;
}

} // namespace Orbisong
