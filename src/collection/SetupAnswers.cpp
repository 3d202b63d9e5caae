#include "collection/SetupAnswers.h"

#include "collection/Settings.h"

#include <QStringList>

namespace Orbisong {

namespace {

constexpr int BrowserNavigator = 2;
constexpr int BrowserExplorer = 4;

} // namespace

QList<SetupAnswers::Server> SetupAnswers::servers(const QString &serverList)
{
    QList<Server> found;
    const QStringList entries = serverList.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        const QStringList parts = entry.split(QLatin1Char('`'));
        Server server{parts.value(0).trimmed(), parts.value(1).trimmed(), parts.value(2).trimmed(),
                      parts.value(3).trimmed()};
        if (!server.host.isEmpty() &&
            server.protocol.contains(QLatin1String("CDDBP"), Qt::CaseInsensitive))
            found.append(server);
    }
    return found;
}

SetupAnswers SetupAnswers::fromSettings(const Settings &settings)
{
    SetupAnswers answers;
    answers.floating = settings.GetOptionFlag(_GLOB_OPTION_STAYONTOP);
    answers.stickLeft = settings.GetOptionFlag(_GLOB_OPTION_STICKLEFT);
    answers.stickTop = settings.GetOptionFlag(_GLOB_OPTION_STICKTOP);
    answers.stickRight = settings.GetOptionFlag(_GLOB_OPTION_STICKRIGHT) && !answers.stickLeft;
    answers.stickBottom = settings.GetOptionFlag(_GLOB_OPTION_STICKBOTTOM) && !answers.stickTop;
    answers.trayNext = settings.GetOptionFlag(_GLOB_OPTION_TRAYNEXT);
    answers.trayStop = settings.GetOptionFlag(_GLOB_OPTION_TRAYSTOP);
    answers.trayPlay = settings.GetOptionFlag(_GLOB_OPTION_TRAYPLAY);
    answers.trayPrevious = settings.GetOptionFlag(_GLOB_OPTION_TRAYPREV);
    answers.timeFormat = qBound(0, settings.timeFormat, 3);
    answers.explorer = settings.defaultBrowser == BrowserExplorer;
    answers.smtpServer = settings.smtpServer;
    answers.smtpAddress = settings.smtpAddress;
    answers.useProxy = settings.GetOptionFlag(_GLOB_OPTION_USEPROXY);
    answers.proxyHost = settings.cddbProxyServer;
    if (!settings.cddbProxyPort.isEmpty())
        answers.proxyPort = settings.cddbProxyPort;
    const QList<Server> offered = servers(settings.cddbServerList);
    for (qsizetype i = 0; i < offered.size(); ++i) {
        if (offered.at(i).host.compare(settings.cddbServer, Qt::CaseInsensitive) == 0) {
            answers.server = int(i);
            break;
        }
    }
    answers.autoQuery = settings.GetOptionFlag(_GLOB_OPTION_AUTORCDDB);
    return answers;
}

void SetupAnswers::store(Settings &settings) const
{
    settings.SetOptionFlag(_GLOB_OPTION_STAYONTOP, floating);
    settings.SetOptionFlag(_GLOB_OPTION_STICKLEFT, stickLeft);
    settings.SetOptionFlag(_GLOB_OPTION_STICKTOP, stickTop);
    settings.SetOptionFlag(_GLOB_OPTION_STICKRIGHT, stickRight);
    settings.SetOptionFlag(_GLOB_OPTION_STICKBOTTOM, stickBottom);
    settings.SetOptionFlag(_GLOB_OPTION_TRAYSTOP, trayStop);
    settings.SetOptionFlag(_GLOB_OPTION_TRAYPLAY, trayPlay);
    settings.SetOptionFlag(_GLOB_OPTION_TRAYPREV, trayPrevious);
    settings.SetOptionFlag(_GLOB_OPTION_TRAYNEXT, trayNext);
    settings.timeFormat = timeFormat;
    if (!internet)
        return;
    settings.defaultBrowser = explorer ? BrowserExplorer : BrowserNavigator;
    settings.smtpAddress = smtpAddress;
    settings.smtpServer = smtpServer;
    const QList<Server> offered = servers(settings.cddbServerList);
    if (server >= 0 && server < offered.size()) {
        const Server &chosen = offered.at(server);
        settings.cddbServer = chosen.host;
        settings.cddbPort = chosen.port;
        settings.cddbProtocol = chosen.protocol.contains(QLatin1Char('H'), Qt::CaseInsensitive)
                                    ? QStringLiteral("HTTP")
                                    : QStringLiteral("CDDBP");
    }
    settings.SetOptionFlag(_GLOB_OPTION_AUTORCDDB, autoQuery);
    settings.SetOptionFlag(_GLOB_OPTION_USEPROXY, useProxy);
    settings.cddbProxyServer = proxyHost;
    settings.cddbProxyPort = proxyPort;
}

QString SetupAnswers::bordersText(bool left, bool top, bool right, bool bottom)
{
    const bool horizontal = left || right;
    const bool vertical = top || bottom;
    if (horizontal && vertical)
        return QStringLiteral("Orbisong's window will stick to the %1-%2 corner of the screen.")
            .arg(top ? QStringLiteral("upper") : QStringLiteral("lower"),
                 left ? QStringLiteral("left") : QStringLiteral("right"));
    if (horizontal || vertical) {
        const QString edge = top      ? QStringLiteral("top")
                             : bottom ? QStringLiteral("bottom")
                             : left   ? QStringLiteral("left")
                                      : QStringLiteral("right");
        return QStringLiteral("Orbisong's window will slide along the %1 edge of the screen.")
            .arg(edge);
    }
    return QStringLiteral("Orbisong's window may be moved to any position on the screen.");
}

} // namespace Orbisong
