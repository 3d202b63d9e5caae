#include "base/HostPort.h"

namespace Orbisong {

HostPort HostPort::split(const QString &text)
{
    const QString trimmed = text.trimmed();
    const qsizetype schemeEnd = trimmed.indexOf(QLatin1String("://"));
    const qsizetype hostStart = schemeEnd >= 0 ? schemeEnd + 3 : 0;
    qsizetype hostEnd = trimmed.indexOf(QLatin1Char('/'), hostStart);
    if (hostEnd < 0)
        hostEnd = trimmed.size();
    const QString hostPart = trimmed.mid(hostStart, hostEnd - hostStart);
    const qsizetype colon = hostPart.indexOf(QLatin1Char(':'));
    if (colon <= 0 || hostPart.count(QLatin1Char(':')) != 1)
        return {trimmed, {}};
    const QString digits = hostPart.mid(colon + 1);
    bool ok = false;
    const int port = digits.toInt(&ok);
    if (!ok || digits.size() > 5 || port < 1 || port > 65535)
        return {trimmed, {}};
    return {trimmed.left(hostStart) + hostPart.left(colon) + trimmed.mid(hostEnd),
            QString::number(port)};
}

} // namespace Orbisong
