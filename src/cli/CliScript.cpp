#include "cli/CliCommand.h"
#include "cli/CliStdin.h"

#include "script/ScriptedResponder.h"
#include "script/TQuillan.h"

#include <QFileInfo>

namespace Orbisong::Cli {

namespace {

const QString Synopsis = QStringLiteral("script run FILE [--procedure NAME] [ARG...]");

// A script ended by an error exits like a host without an error handler would.
constexpr int ScriptErrorExit = 100;

int scriptCommand(Context &c)
{
    if (c.args.size() < 2 || c.args.at(0) != QLatin1String("run"))
        return c.usage(Synopsis);
    const QString file = c.args.at(1);
    QString procedure = QStringLiteral("Main");
    QStringList scriptArgs = c.args.mid(2);
    if (scriptArgs.size() >= 2 && scriptArgs.first() == QLatin1String("--procedure")) {
        procedure = scriptArgs.at(1);
        scriptArgs = scriptArgs.mid(2);
    }
    if (!QFileInfo::exists(file)) {
        c.err << "script not found: " << file << '\n';
        return NotFound;
    }

    TQuillan engine;
    ScriptedResponder responder(readStdinLine);
    engine.setInteractivePort(&responder);
    QString error;
    int errorLine = 0;
    engine.OnError = [&](TQuillan &e, const QString &text) {
        if (error.isEmpty()) {
            error = text;
            errorLine = e.currentLineNumber();
        }
    };
    engine.OnWrite = [&](TQuillan &, const QString &text) { c.out << text; };
    engine.OnAdvanceLine = [&](TQuillan &) {
        c.out << '\n';
        c.out.flush();
    };
    engine.OnRead = [&](TQuillan &, QString *buffer) {
        c.out.flush();
        return readStdinLine(buffer);
    };
    engine.OnRegisterProcs = [&](TQuillan &e) {
        e.RegisterProc(
            QStringLiteral("function ParamCount: integer;"),
            [&](void *, TQuillan &, TProcParms &p) { p.setInteger(0, scriptArgs.size()); });
        e.RegisterProc(QStringLiteral("function ParamStr(Index: integer): string;"),
                       [&](void *, TQuillan &, TProcParms &p) {
                           p.setString(0, scriptArgs.value(p.asInteger(1) - 1));
                       });
    };
    const bool loaded = engine.LoadScript(file);
    if (loaded)
        engine.RunProcedure(procedure, true);
    c.out.flush();
    if (!error.isEmpty()) {
        c.err << error << " on line " << errorLine << '\n';
        c.err.flush();
        return ScriptErrorExit;
    }
    return Success;
}

const Registration registration(
    QStringLiteral("script"), Synopsis, scriptCommand,
    QStringLiteral("  FILE              the script to run\n"
                   "  --procedure NAME  the procedure to start (Main by default)\n"
                   "  ARG...            the words the script reads with ParamCount and\n"
                   "                    ParamStr(1)..ParamStr(ParamCount)\n"
                   "The script's output goes to stdout and its input comes from stdin.\n"
                   "An error prints \"TEXT on line N\" on stderr and exits 100."));

} // namespace

} // namespace Orbisong::Cli
