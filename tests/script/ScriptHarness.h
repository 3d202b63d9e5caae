#pragma once

#include "script/ScriptedResponder.h"
#include "script/TQuillan.h"

#include <QStringList>

#include <gtest/gtest.h>

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

// A routine body and the output it must write, without an error.
struct ScriptCase
{
    QString body;
    QString output;
};

// Runs each body as routine Main on an engine of its own; a failure names the body.
inline void expectOutputs(const QList<ScriptCase> &cases)
{
    for (const ScriptCase &c : cases) {
        SCOPED_TRACE(c.body.toStdString());
        ScriptHarness h;
        EXPECT_TRUE(h.runMain(c.body)) << h.error().toStdString();
        EXPECT_EQ(h.output, c.output);
    }
}
