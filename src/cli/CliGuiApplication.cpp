#include "cli/CliGuiApplication.h"

#include <QGuiApplication>
#include <QSet>

namespace Orbisong::Cli {

namespace {

QSet<QString> &guiCommands()
{
    static QSet<QString> names;
    return names;
}

// The command word: the first word that is not a global option or an option's value.
QString commandWord(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QString word = QString::fromLocal8Bit(argv[i]);
        if (word == QLatin1String("--home") || word == QLatin1String("--collection"))
            ++i;
        else if (!word.startsWith(QLatin1Char('-')))
            return word;
    }
    return {};
}

} // namespace

NeedsGuiApplication::NeedsGuiApplication(const QString &command)
{
    guiCommands().insert(command);
}

std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv)
{
    if (!guiCommands().contains(commandWord(argc, argv)))
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace Orbisong::Cli
