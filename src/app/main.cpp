#include "app/CommandLine.h"
#include "app/ConsoleSwitches.h"
#include "app/InstanceChannel.h"
#include "app/StartupSequence.h"
#include "base/AppPaths.h"
#include "playback/Ob4Mci.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>

using namespace Orbisong;

namespace {

QStringList argumentList(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// A parameter naming a CD audio track file yields its track; the disc is not checked here.
int readTrackFile(const QString &path)
{
    return OB4MCI_GetTrackFromFile(path, QString());
}

// A later start hands its request to the running player and ends without a window.
bool handOverToRunningInstance(const QStringList &arguments)
{
    return InstanceChannel::deliver(computeHandover(arguments, readTrackFile));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("orbisong"));
    QCoreApplication::setApplicationVersion(QStringLiteral("4.0.3"));
    const QStringList arguments = argumentList(argc, argv);
    switch (consoleAction(arguments)) {
    case ConsoleAction::PrintHelp:
        std::fputs(usageText().toLocal8Bit().constData(), stdout);
        return 0;
    case ConsoleAction::PrintVersion:
        std::fputs(versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case ConsoleAction::Start:
        break;
    }
    {
        // The hand-over needs an application object but must not touch the display.
        QCoreApplication probe(argc, argv);
        if (handOverToRunningInstance(arguments))
            return 0;
    }
    // Without a display the platform plugin would abort; a hand-over above needs none.
    if (!displayReachable(arguments)) {
        std::fputs("orbisong: no display (set DISPLAY or WAYLAND_DISPLAY)\n", stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Orbisong 4.0"));
    StartupSequence startup(arguments);
    if (!startup.start())
        return handOverToRunningInstance(arguments) ? 0 : 1;
    return app.exec();
}
