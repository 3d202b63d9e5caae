#include "net/MailMessage.h"

#include "net/MailAddress.h"
#include "net/TQuotedPrintable.h"

namespace Orbisong {

QStringList MailMessage::envelopeRecipients() const
{
    QStringList out;
    for (const QString &entry : QStringList{recipient} + cc + bcc) {
        const QString address = MailAddress::parse(entry).address;
        if (!address.isEmpty())
            out.append(address);
    }
    return out;
}

QStringList MailMessage::headerLines(bool withAttachments) const
{
    const QString pad(10, QLatin1Char(' '));
    QStringList lines;
    lines.append(QStringLiteral("From:     ") + MailAddress::parse(from).headerForm());
    lines.append(QStringLiteral("To:       ") + MailAddress::parse(recipient).headerForm());
    for (qsizetype i = 0; i < cc.size(); ++i) {
        const QString lead = i == 0 ? QStringLiteral("CC:       ") : pad;
        const QString end = i + 1 < cc.size() ? QStringLiteral(",") : QString();
        lines.append(lead + MailAddress::parse(cc.at(i)).headerForm() + end);
    }
    if (returnReceipt)
        lines.append(QStringLiteral("Return-Receipt-To: <") + MailAddress::parse(from).address +
                     QLatin1Char('>'));
    if (priority == Low)
        lines.append(QStringLiteral("X-Priority: 5"));
    else if (priority == High)
        lines.append(QStringLiteral("X-Priority: 1"));
    if (!subject.isEmpty())
        lines.append(QStringLiteral("Subject:  ") + HeaderSafe(subject));
    if (encoding != Mime) {
        if (withAttachments)
            lines.append(QStringLiteral("X-Encoding:      UUENCODE"));
        return lines;
    }
    lines.append(QStringLiteral("Mime-Version: 1.0"));
    if (withAttachments) {
        lines.append(
            QStringLiteral("Content-Type: multipart/mixed; boundary=\"%1\"").arg(boundary));
        lines.append(QStringLiteral("X-Encoding: MIME"));
        lines.append(QString());
        lines.append(QStringLiteral("This is a multi-part message in MIME format."));
        lines.append(QString());
        lines.append(QStringLiteral("--") + boundary);
    }
    switch (charSet) {
    case Iso88591:
        lines.append(QStringLiteral("Content-Type: text/plain; charset=\"iso-8859-1\""));
        lines.append(QStringLiteral("Content-Transfer-Encoding: quoted-printable"));
        break;
    case Utf8:
        lines.append(QStringLiteral("Content-Type: text/plain; charset=\"utf-8\""));
        lines.append(TQuotedPrintable::isPlain(body.toUtf8())
                         ? QStringLiteral("Content-Transfer-Encoding: 7bit")
                         : QStringLiteral("Content-Transfer-Encoding: quoted-printable"));
        break;
    default:
        lines.append(QStringLiteral("Content-Type: text/plain; charset=\"us-ascii\""));
        lines.append(QStringLiteral("Content-Transfer-Encoding: 7bit"));
        break;
    }
    return lines;
}

QStringList MailMessage::bodyLines() const
{
    const bool mime = encoding == Mime;
    if (mime && charSet == Iso88591)
        return TQuotedPrintable::encode(body.toLatin1());
    if (mime && charSet == Utf8 && !TQuotedPrintable::isPlain(body.toUtf8()))
        return TQuotedPrintable::encode(body.toUtf8());
    QStringList lines = body.split(QLatin1Char('\n'));
    if (body.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        // A lone CR would end the line for some servers; the text gets no line of its own.
        line.remove(QLatin1Char('\r'));
    }
    return lines;
}

QStringList MailMessage::text(const QList<MimePart> &parts) const
{
    QStringList lines = headerLines(!parts.isEmpty());
    lines.append(QString());
    lines += bodyLines();
    for (const MimePart &part : parts) {
        lines.append(QString());
        if (encoding == Mime) {
            lines.append(QStringLiteral("--") + boundary);
            lines += part.headers;
            lines.append(QString());
        }
        lines += part.lines;
    }
    if (encoding == Mime && !parts.isEmpty())
        lines.append(QStringLiteral("--") + boundary + QStringLiteral("--"));
    return lines;
}

} // namespace Orbisong
