#pragma once

#include <QString>
#include <QStringList>

namespace Orbisong {

// What the program does before it opens a window: print help or its version, or refuse to start
// without a display instead of letting the platform plugin abort.
enum class ConsoleAction { Start, PrintHelp, PrintVersion };

ConsoleAction consoleAction(const QStringList &arguments);
QString usageText();
QString versionText();

// True when the windowing platform Qt would pick can reach a display. Platforms that draw
// without one (offscreen, minimal, vnc, linuxfb, ...) always can.
bool displayReachable(const QStringList &arguments);

} // namespace Orbisong
