#pragma once

#include <QString>

namespace Orbisong {

struct Settings;

// What a remote lookup needs from the settings, read once when it starts.
struct CddbLookupSettings
{
    QString server; // host, for HTTP followed by "/" and the request path
    int port = 888;
    QString protocol = QStringLiteral("CDDBP");
    QString proxyHost; // empty: no SOCKS proxy
    quint16 proxyPort = 0;
    QString proxyUserId;
    QString login;    // user part of the greeting
    QString hostName; // host part of the greeting
    // A server that sends nothing for this long fails the lookup with a time-out.
    int idleTimeoutSeconds = 60;
    // The protocol level HTTP requests ask for; level 6 answers in UTF-8.
    int protocolLevel = 6;

    bool usesHttp() const { return protocol.toUpper().contains(QLatin1String("HTTP")); }
    // The server setting up to its first "/" (a leading scheme removed).
    QString host() const;
    // From the first "/" on, "/" included; "/" when there is none.
    QString path() const;
    bool usesHttps() const;

    static CddbLookupSettings fromSettings(const Settings &settings);
};

} // namespace Orbisong
