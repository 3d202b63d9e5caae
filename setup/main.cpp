#include "Installer.h"
#include "WidgetInstallerUi.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("arcwell-setup"));
    Orbisong::WidgetInstallerUi ui;
    Orbisong::Installer installer(Orbisong::InstallerEnvironment::forRunningProgram(), ui);
    return installer.run() ? 0 : 1;
}
