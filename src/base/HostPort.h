#pragma once

#include <QString>

namespace Orbisong {

// A server typed as "host:port" (optionally with a scheme in front and a path behind) taken
// apart, so the host name never carries the port into a name lookup.
struct HostPort
{
    QString host; // the text with ":port" removed, scheme and path kept
    QString port; // the digits after ":", empty when none were typed

    // Only a single ":" followed by 1-5 digits counts as a port; anything else stays the host.
    static HostPort split(const QString &text);
};

} // namespace Orbisong
