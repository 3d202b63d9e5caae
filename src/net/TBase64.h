#pragma once

#include <QByteArray>
#include <QStringList>

namespace Orbisong {

// Base64 for mail bodies: lines of at most 76 characters.
class TBase64
{
public:
    static constexpr int LineLength = 76;
    static QStringList encode(const QByteArray &data);
};

} // namespace Orbisong
