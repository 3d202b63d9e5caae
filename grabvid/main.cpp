#include "TGrabvidFrame.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>
#include <cstring>

namespace {

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

// The platform plugin aborts when it cannot reach a display; a clear message is kinder.
bool displayReachable()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.isEmpty()) {
        // Qt tries wayland first only in a wayland session, and falls back to xcb.
        const bool waylandSession = qEnvironmentVariable("XDG_SESSION_TYPE") == "wayland";
        return platformReachable(QStringLiteral("xcb")) ||
               (waylandSession && platformReachable(QStringLiteral("wayland")));
    }
    const QStringList candidates = platform.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &candidate : candidates) {
        if (platformReachable(candidate))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (!displayReachable()) {
        std::fputs("grabvid: no display (set DISPLAY or WAYLAND_DISPLAY)\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Grabvid"));
    QApplication::setApplicationVersion(QStringLiteral(GRABVID_VERSION));

    Orbisong::GrabvidOptions options;
    options.folder = QDir::currentPath();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-test-source") == 0)
            options.withTestSource = false;
    }
    Orbisong::TGrabvidFrame frame(options);
    frame.show();
    frame.startUp();
    return app.exec();
}
