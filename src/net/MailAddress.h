#pragma once

#include <QString>

namespace Orbisong {

// One entry of a mail field: an address, optionally followed by "|" and a display name.
struct MailAddress
{
    QString address;
    QString name;

    static MailAddress parse(const QString &entry);
    // "name <address>", or "<address>" without a name; never holds CR or LF.
    QString headerForm() const;
    // The part after the "@", empty when there is none.
    QString domain() const;
};

// `text` with CR and LF removed, so that a value can neither end a header nor an SMTP command.
QString HeaderSafe(const QString &text);

// An Internet address as the submission needs it: an "@", and no blank, control character,
// "<" or ">" that could break out of the angle brackets of a command or header.
bool IsValidMailAddress(const QString &address);

} // namespace Orbisong
