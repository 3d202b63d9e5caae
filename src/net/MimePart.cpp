#include "net/MimePart.h"

#include "net/MailAddress.h"
#include "net/TBase64.h"
#include "net/TQuotedPrintable.h"
#include "net/TUUCode.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

namespace Orbisong {

bool MimePart::fromFile(const QString &path, bool mime, MimePart *part)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    // A name with a double quote or line break would end the header value early.
    QString name = HeaderSafe(QFileInfo(path).fileName());
    name.remove(QLatin1Char('"'));
    *part = {};
    if (!mime) {
        part->lines = TUUCode::encode(data, name);
        return true;
    }
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    part->headers.append(QStringLiteral("Content-Type: %1; name=\"%2\"").arg(type, name));
    if (type.startsWith(QLatin1String("text/"), Qt::CaseInsensitive)) {
        part->headers.append(QStringLiteral("Content-Transfer-Encoding: quoted-printable"));
        part->lines = TQuotedPrintable::encode(data);
    } else {
        part->headers.append(
            QStringLiteral("Content-Disposition: attachment; filename=\"%1\"").arg(name));
        part->headers.append(QStringLiteral("Content-Transfer-Encoding: base64"));
        part->lines = TBase64::encode(data);
    }
    return true;
}

} // namespace Orbisong
