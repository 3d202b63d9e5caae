#pragma once

#include <QByteArray>
#include <QStringList>

namespace Orbisong {

// Quoted-printable for mail bodies: each line of the text (split at LF, a CR before it
// dropped) becomes one or more lines of at most 76 characters joined by soft breaks.
class TQuotedPrintable
{
public:
    static constexpr int LineLength = 76;
    static QStringList encode(const QByteArray &text);
    // The line as it needs no encoding: printable ASCII only, and not too long for SMTP.
    static bool isPlain(const QByteArray &text);

private:
    static void encodeLine(const QByteArray &line, QStringList &out);
};

} // namespace Orbisong
