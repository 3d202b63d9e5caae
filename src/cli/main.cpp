#include "cli/CliCommand.h"
#include "cli/CliQuestionPort.h"

#include <QCoreApplication>
#include <QMap>

#include <cstdio>

namespace Orbisong::Cli {

namespace {

struct Command
{
    QString synopsis;
    Handler handler;
};

QMap<QString, Command> &commands()
{
    static QMap<QString, Command> registry;
    return registry;
}

void printHelp(QTextStream &out)
{
    out << "usage: orbisong-cli [--home DIR] [--collection FILE] COMMAND [ARGS...]\n"
        << "       orbisong-cli --version\n\ncommands:\n";
    for (const Command &command : std::as_const(commands()))
        out << "  " << command.synopsis << '\n';
}

} // namespace

Registration::Registration(const QString &name, const QString &synopsis, Handler handler)
{
    commands().insert(name, {synopsis, std::move(handler)});
}

} // namespace Orbisong::Cli

int main(int argc, char **argv)
{
    using namespace Orbisong::Cli;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orbisong"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = app.arguments().mid(1);
    QString collection;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--version")) {
            out << "Orbisong 4.0.3\n";
            return Success;
        }
        if (option == QLatin1String("--help")) {
            printHelp(out);
            return Success;
        }
        if ((option == QLatin1String("--home") || option == QLatin1String("--collection"))
            && !args.isEmpty()) {
            const QString value = args.takeFirst();
            if (option == QLatin1String("--home"))
                qputenv("ORBISONG_HOME", value.toLocal8Bit());
            else
                collection = value;
            continue;
        }
        err << "unknown option " << option << '\n';
        printHelp(err);
        return Failure;
    }
    if (args.isEmpty()) {
        printHelp(err);
        return Failure;
    }
    const QString name = args.takeFirst();
    const auto found = commands().constFind(name);
    if (found == commands().constEnd()) {
        err << "unknown command " << name << '\n';
        printHelp(err);
        return Failure;
    }
    CliQuestionPort questions(err);
    Context context{args, collection, out, err, questions};
    const int code = found->handler(context);
    out.flush();
    err.flush();
    return code;
}
