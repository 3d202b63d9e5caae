#pragma once

#include "script/ScriptedResponder.h"
#include "script/TQuillan.h"

#include <QStringList>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

// An engine whose output, errors and events are collected for one test.
struct ScriptHarness
{
    Orbisong::TQuillan engine;
    QString output;
    QStringList errors;
    QList<int> errorLines;
    QStringList input;

    ScriptHarness()
    {
        using Orbisong::TQuillan;
        engine.OnError = [this](TQuillan &e, const QString &text) {
            errors << text;
            errorLines << e.currentLineNumber();
        };
        engine.OnWrite = [this](TQuillan &, const QString &text) { output += text; };
        engine.OnAdvanceLine = [this](TQuillan &) { output += QLatin1Char('\n'); };
        engine.OnRead = [this](TQuillan &, QString *buffer) {
            if (input.isEmpty())
                return false;
            *buffer = input.takeFirst();
            return true;
        };
    }

    // Loads the text and runs the routine; true when it ended without an error.
    bool run(const QString &script, const QString &routine = QStringLiteral("Main"))
    {
        engine.LoadScriptLines(script.split(QLatin1Char('\n')));
        if (!errors.isEmpty())
            return false;
        return engine.RunProcedure(routine, true);
    }

    // Runs the body as the statements of a routine Main.
    bool runMain(const QString &body)
    {
        return run(QStringLiteral("procedure Main\n") + body + QStringLiteral("\nendproc\n"));
    }

    QString error() const { return errors.value(0); }
};
