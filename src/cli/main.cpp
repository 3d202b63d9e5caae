#include "cli/CliCommand.h"
#include "cli/CliGuiApplication.h"
#include "cli/CliQuestionPort.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMap>

#include <cstdio>

namespace Orbisong::Cli {

namespace {

struct Command
{
    QString synopsis;
    Handler handler;
    QString details;
};

QMap<QString, Command> &commands()
{
    static QMap<QString, Command> registry;
    return registry;
}

void printUsage(QTextStream &out)
{
    out << "usage: orbisong-cli [--home DIR] [--collection FILE] COMMAND [ARGS...]\n"
        << "       orbisong-cli --version | -h | --help | help [COMMAND]\n\n"
        << "options:\n"
        << "  --home DIR         the data folder (settings, index, collection); it must exist\n"
        << "  --collection FILE  the collection file, instead of the settings' Collection Path\n"
        << "\nexit codes:\n"
        << "  0  done\n"
        << "  1  a thing asked for is not there (file, album ID, setting, message, track)\n"
        << "  2  bad usage or an error; the reason is on stderr\n"
        << "\ncommands (`orbisong-cli help COMMAND` explains one):\n";
    for (const Command &command : std::as_const(commands())) {
        for (const QString &form : command.synopsis.split(QStringLiteral(" | ")))
            out << "  " << form << '\n';
    }
}

int printCommandHelp(QTextStream &out, QTextStream &err, const QString &name)
{
    const auto found = commands().constFind(name);
    if (found == commands().constEnd()) {
        err << "help: no command " << name << '\n';
        return NotFound;
    }
    out << "usage: orbisong-cli " << found->synopsis << '\n';
    if (!found->details.isEmpty())
        out << '\n' << found->details << '\n';
    return Success;
}

// Internal diagnostics stay off stderr unless QT_LOGGING_RULES asks for them.
void quietDiagnostics()
{
    QLoggingCategory::setFilterRules(QStringLiteral("orbisong.*=false"));
}

} // namespace

Registration::Registration(const QString &name, const QString &synopsis, Handler handler,
                           const QString &details)
{
    commands().insert(name, {synopsis, std::move(handler), details});
}

} // namespace Orbisong::Cli

int main(int argc, char **argv)
{
    using namespace Orbisong::Cli;
    const auto app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orbisong"));
    quietDiagnostics();
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = app->arguments().mid(1);
    QString collection;
    while (!args.isEmpty() && args.first().startsWith(QLatin1Char('-'))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--version")) {
            out << "Orbisong 4.0.3\n";
            return Success;
        }
        if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            printUsage(out);
            return Success;
        }
        if (option == QLatin1String("--home") || option == QLatin1String("--collection")) {
            if (args.isEmpty()) {
                err << option << " needs a value\n";
                return Failure;
            }
            const QString value = args.takeFirst();
            if (option == QLatin1String("--collection")) {
                collection = value;
                continue;
            }
            // Reading never creates the data folder: a mistyped --home would leave one behind.
            if (!QFileInfo(value).isDir()) {
                err << "--home: no such folder: " << value << '\n';
                return NotFound;
            }
            qputenv("ORBISONG_HOME", value.toLocal8Bit());
            continue;
        }
        err << "unknown option " << option << " (see orbisong-cli --help)\n";
        return Failure;
    }
    if (!collection.isEmpty() && QFileInfo(collection).isDir()) {
        err << "--collection: " << collection << " is a folder, not a collection file\n";
        return Failure;
    }
    if (args.isEmpty()) {
        err << "no command given\n";
        printUsage(err);
        return Failure;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("help")) {
        if (args.size() > 1) {
            err << "usage: orbisong-cli help [COMMAND]\n";
            return Failure;
        }
        if (args.isEmpty()) {
            printUsage(out);
            return Success;
        }
        const int code = printCommandHelp(out, err, args.first());
        out.flush();
        return code;
    }
    const auto found = commands().constFind(name);
    if (found == commands().constEnd()) {
        err << "unknown command " << name << " (see orbisong-cli --help)\n";
        return Failure;
    }
    CliQuestionPort questions(err);
    Context context{args, collection, out, err, questions};
    const int code = found->handler(context);
    out.flush();
    err.flush();
    return code;
}
