#pragma once

#include "net/MimePart.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Orbisong {

// What one mail says and how it is encoded; `text()` lays it out as the DATA phase carries
// it, before the transport's dot-stuffing.
struct MailMessage
{
    enum Encoding { UUEncode = 0, Mime = 1 };
    enum CharSet { UsAscii = 0, Iso88591 = 1, Utf8 = 2 };
    enum Priority { Low = 0, Normal = 1, High = 2 };

    QString from;      // "address|name"
    QString recipient; // "address|name"
    QStringList cc;
    QStringList bcc;
    QString subject;
    QString body; // UTF-8 text; lines end with LF or CR LF
    QStringList attachments;
    int encoding = Mime;
    int charSet = UsAscii;
    int priority = Normal;
    bool returnReceipt = false;
    QString boundary = QStringLiteral("=_OrbisongPart_0001");

    // Every address of the envelope: the recipient, then CC and BCC entries.
    QStringList envelopeRecipients() const;
    QStringList headerLines(bool withAttachments) const;
    // The header, an empty line, the body and the encoded attachments.
    QStringList text(const QList<MimePart> &parts) const;
    QStringList bodyLines() const;
};

} // namespace Orbisong
