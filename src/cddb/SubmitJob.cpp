#include "cddb/SubmitJob.h"

namespace Orbisong {

QString SubmitJob::text() const
{
    QString out;
    if (method == ByHttp) {
        out += QStringLiteral("POST ") + url + QLatin1Char('\n');
        for (const auto &[name, value] : headers)
            out += QString::fromUtf8(name + ": " + value) + QLatin1Char('\n');
        out += QLatin1Char('\n') + QString::fromUtf8(body);
        return out;
    }
    for (const QString &line : mail.text({}))
        out += line + QLatin1Char('\n');
    return out;
}

} // namespace Orbisong
