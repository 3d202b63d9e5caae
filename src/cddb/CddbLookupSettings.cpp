#include "cddb/CddbLookupSettings.h"

#include "base/AppPaths.h"
#include "base/HostPort.h"
#include "collection/Settings.h"

#include <QHostInfo>

#include <algorithm>

namespace Orbisong {

namespace {

QString withoutScheme(const QString &server)
{
    const qsizetype scheme = server.indexOf(QLatin1String("://"));
    return scheme >= 0 ? server.mid(scheme + 3) : server;
}

} // namespace

QString CddbLookupSettings::host() const
{
    const QString rest = withoutScheme(server.trimmed());
    return rest.left(rest.indexOf(QLatin1Char('/')));
}

QString CddbLookupSettings::path() const
{
    const QString rest = withoutScheme(server.trimmed());
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    return slash < 0 ? QStringLiteral("/") : rest.mid(slash);
}

bool CddbLookupSettings::usesHttps() const
{
    return server.trimmed().startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

CddbLookupSettings CddbLookupSettings::fromSettings(const Settings &settings)
{
    CddbLookupSettings s;
    // A server typed as "host:port" names its own port, which wins over the port setting.
    const HostPort typed = HostPort::split(settings.cddbServer);
    s.server = typed.host;
    s.protocol = settings.cddbProtocol.toUpper();
    bool ok = false;
    const int port = (typed.port.isEmpty() ? settings.cddbPort : typed.port).trimmed().toInt(&ok);
    s.port = ok && port > 0 && port < 65536 ? port : (s.usesHttp() ? 80 : 888);
    if (settings.GetOptionFlag(_GLOB_OPTION_USEPROXY)) {
        s.proxyHost = settings.cddbProxyServer.trimmed();
        const int proxyPort = settings.cddbProxyPort.trimmed().toInt(&ok);
        s.proxyPort = quint16(ok && proxyPort > 0 && proxyPort < 65536 ? proxyPort : 1080);
        s.proxyUserId = loginName();
    }
    s.protocolLevel = std::clamp(settings.cddbProtocolLevel, 1, 6);
    s.login = loginName();
    s.hostName = QHostInfo::localHostName().trimmed();
    if (s.hostName.isEmpty())
        s.hostName = QStringLiteral("nohost");
    return s;
}

} // namespace Orbisong
