#pragma once

#include <QByteArray>
#include <QStringList>

namespace Orbisong {

// Uuencode for attachments of mail without MIME: "begin 600 name", lines of 45 bytes each,
// a "`" line and "end".
class TUUCode
{
public:
    static QStringList encode(const QByteArray &data, const QString &fileName);
};

} // namespace Orbisong
