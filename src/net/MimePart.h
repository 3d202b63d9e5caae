#pragma once

#include <QStringList>

namespace Orbisong {

// One attachment as a mail carries it: its part headers (MIME only) and its encoded lines.
struct MimePart
{
    QStringList headers;
    QStringList lines;

    // Text files (by their content type) go quoted-printable, anything else Base64; without
    // MIME every file is uuencoded. False when the file cannot be read.
    static bool fromFile(const QString &path, bool mime, MimePart *part);
};

} // namespace Orbisong
