#pragma once

#include <QString>

namespace Orbisong {

// One CDDB server of the server list.
struct TServerItem
{
    QString host; // for HTTP servers followed by the request path
    QString port;
    QString protocol; // "CDDBP" or "HTTP"
    QString description;

    bool usesHttp() const { return protocol.toUpper().contains(QLatin1String("HTTP")); }
    // The host up to its first "/".
    QString hostName() const { return host.section(QLatin1Char('/'), 0, 0); }

    friend bool operator==(const TServerItem &, const TServerItem &) = default;
};

} // namespace Orbisong
