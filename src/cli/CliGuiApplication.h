#pragma once

#include <QCoreApplication>
#include <QString>

#include <memory>

namespace Orbisong::Cli {

// Subcommands that lay out text and paint pages need fonts, which only a QGuiApplication
// offers; they name themselves here from a static object, as they register.
struct NeedsGuiApplication
{
    explicit NeedsGuiApplication(const QString &command);
};

// The application object for this command line: a QGuiApplication on the offscreen platform
// (unless QT_QPA_PLATFORM names another) for a command that needs one, else a
// QCoreApplication, so that the other commands never need a display or platform plugin.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv);

} // namespace Orbisong::Cli
