#include "app/ConsoleSwitches.h"

#include <QtGlobal>

namespace Orbisong {

ConsoleAction consoleAction(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h") ||
            argument == QLatin1String("/?"))
            return ConsoleAction::PrintHelp;
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v"))
            return ConsoleAction::PrintVersion;
    }
    return ConsoleAction::Start;
}

QString usageText()
{
    return QStringLiteral("Usage: orbisong [switches] [disc images...]\n"
                          "\n"
                          "Plays audio CDs and disc images.\n"
                          "\n"
                          "  /PLAY          start playing the disc at once\n"
                          "  /CLOSE         close the player when the disc is ejected\n"
                          "  /NODRIVE       start without opening a CD drive\n"
                          "  /CONVERT       convert an old collection before starting\n"
                          "  /NOANIM        no animations\n"
                          "  --demo         open the demo disc that comes with the player\n"
                          "  image.cue      open a CUE, TOC or NRG disc image as an extra drive\n"
                          "  --help         print this text and exit\n"
                          "  --version      print the version and exit\n"
                          "\n"
                          "A second start hands /PLAY or a track file to the running player.\n");
}

QString versionText()
{
    return QStringLiteral("Orbisong 4.0.3\n");
}

namespace {

QString requestedPlatform(const QStringList &arguments)
{
    const int at = arguments.indexOf(QStringLiteral("-platform"));
    if (at >= 0 && at + 1 < arguments.size())
        return arguments.at(at + 1);
    return qEnvironmentVariable("QT_QPA_PLATFORM");
}

bool platformReachable(const QString &platform)
{
    const QString name = platform.section(QLatin1Char(':'), 0, 0).trimmed();
    if (name.startsWith(QLatin1String("xcb")))
        return !qEnvironmentVariableIsEmpty("DISPLAY");
    if (name.startsWith(QLatin1String("wayland")))
        return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
               !qEnvironmentVariableIsEmpty("WAYLAND_SOCKET");
    return true;
}

} // namespace

bool displayReachable(const QStringList &arguments)
{
    const QString platform = requestedPlatform(arguments);
    if (platform.isEmpty()) {
        // Qt tries wayland first only in a wayland session, and falls back to xcb.
        const bool waylandSession = qEnvironmentVariable("XDG_SESSION_TYPE") == "wayland";
        return platformReachable(QStringLiteral("xcb")) ||
               (waylandSession && platformReachable(QStringLiteral("wayland")));
    }
    // Qt tries a list of platforms in turn; one that can start is enough.
    const QStringList candidates = platform.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &candidate : candidates) {
        if (platformReachable(candidate))
            return true;
    }
    return false;
}

} // namespace Orbisong
