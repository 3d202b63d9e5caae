#include "ScriptHarness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orbisong;

TEST(ScriptEngine, RunProcedureAndProcedureExists)
{
    ScriptHarness h;
    h.engine.LoadScriptLines({QStringLiteral("procedure Main"), QStringLiteral("endproc")});
    EXPECT_TRUE(h.engine.ProcedureExists(QStringLiteral("main")));
    EXPECT_FALSE(h.engine.ProcedureExists(QStringLiteral("Other")));
    EXPECT_TRUE(h.errors.isEmpty());
    EXPECT_FALSE(h.engine.RunProcedure(QStringLiteral("Other")));
    EXPECT_EQ(h.errors, QStringList({QStringLiteral("Procedure OTHER not defined.")}));
    // The error flag is cleared for the next run.
    EXPECT_TRUE(h.engine.RunProcedure(QStringLiteral("Main")));
}

TEST(ScriptEngine, ErrorsAreReportedOncePerRunWithTheirLine)
{
    ScriptHarness h;
    EXPECT_FALSE(h.run(QStringLiteral("procedure Inner\n  writeln('in')\n  bad1\n  bad2\nendproc\n"
                                      "procedure Main\n  Inner\n  writeln('never')\nendproc")));
    EXPECT_EQ(h.errors.size(), 1);
    EXPECT_EQ(h.errorLines.value(0), 3);
    EXPECT_EQ(h.output, QStringLiteral("in\n"));
    EXPECT_FALSE(h.engine.RunProcedure(QStringLiteral("Main")));
    EXPECT_EQ(h.errors.size(), 2);
}

TEST(ScriptEngine, EnterExitLineAndLoopEvents)
{
    ScriptHarness h;
    QStringList calls;
    QList<int> lines;
    int loops = 0;
    h.engine.OnEnterProc = [&](TQuillan &, const QString &name) { calls << "enter " + name; };
    h.engine.OnExitProc = [&](TQuillan &, const QString &name) { calls << "exit " + name; };
    h.engine.OnSrcLineEnter = [&](TQuillan &e) { lines << e.currentLineNumber(); };
    h.engine.OnLoopCallback = [&](TQuillan &) { ++loops; };
    EXPECT_TRUE(
        h.run(QStringLiteral("procedure Sub\nendproc\nprocedure Main\n var i : integer; endvar\n"
                             " for i := 1 to 3\n Sub\n endfor\nendproc")));
    EXPECT_EQ(calls, QStringList({"enter MAIN", "enter SUB", "exit SUB", "enter SUB", "exit SUB",
                                  "enter SUB", "exit SUB", "exit MAIN"}));
    EXPECT_EQ(loops, 4);
    EXPECT_TRUE(lines.contains(5));
    EXPECT_TRUE(lines.contains(6));
}

TEST(ScriptEngine, SingleStepAndRunToLineBreak)
{
    ScriptHarness h;
    QList<int> breaks;
    h.engine.OnBreakPoint = [&](TQuillan &e) { breaks << e.currentLineNumber(); };
    h.engine.LoadScriptLines({"procedure Main", " writeln('a')", " writeln('b')", "endproc"});
    h.engine.setRunToLine(3);
    EXPECT_TRUE(h.engine.RunProcedure(QStringLiteral("Main")));
    EXPECT_EQ(breaks, QList<int>({3}));
    breaks.clear();
    h.engine.setRunMode(TQuillan::SingleStep);
    EXPECT_TRUE(h.engine.RunProcedure(QStringLiteral("Main")));
    EXPECT_EQ(breaks, QList<int>({2, 3, 4}));
}

TEST(ScriptEngine, LinesCanBeChangedWhileLoading)
{
    ScriptHarness h;
    h.engine.OnSrcLineRead = [](TQuillan &, QString &line) {
        line.replace(QStringLiteral("'old'"), QStringLiteral("'new'"));
    };
    EXPECT_TRUE(h.runMain(QStringLiteral("writeln('old')")));
    EXPECT_EQ(h.output, QStringLiteral("new\n"));
}

TEST(ScriptEngine, HostRoutinesStayRegisteredAcrossReloads)
{
    ScriptHarness h;
    int registrations = 0;
    int typeRegistrations = 0;
    h.engine.OnRegisterTypes = [&](TQuillan &) { ++typeRegistrations; };
    h.engine.OnRegisterProcs = [&](TQuillan &e) {
        ++registrations;
        e.RegisterProc(QStringLiteral("function Twice(Value: integer; var Note: string): integer;"),
                       [](void *, TQuillan &, TProcParms &p) {
                           p.setInteger(0, p.asInteger(1) * 2);
                           p.setString(2, p.asString(2) + QStringLiteral("!"));
                       });
        e.RegisterProc(QStringLiteral("procedure Fail(Text: string);"),
                       [](void *, TQuillan &, TProcParms &p) {
                           throw std::runtime_error(p.asString(1).toStdString());
                       });
        e.RegisterProc(QStringLiteral("procedure Misuse(Value: integer);"),
                       [](void *, TQuillan &, TProcParms &p) { p.asString(1); });
        e.RegisterProc(QStringLiteral("procedure Odd;"),
                       [](void *, TQuillan &, TProcParms &) { throw 42; });
    };
    const QString script = QStringLiteral("procedure Main\n var s : string; endvar\n s := 'hi'\n"
                                          " writeln(Twice(21, s):0, s)\nendproc");
    EXPECT_TRUE(h.run(script));
    EXPECT_TRUE(h.run(script));
    EXPECT_EQ(h.output, QStringLiteral("42hi!\n42hi!\n"));
    EXPECT_EQ(registrations, 2);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("s.qs"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("procedure Main\n Fail('host broke')\n writeln('never')\nendproc\n");
    f.close();
    EXPECT_TRUE(h.engine.LoadScript(file));
    EXPECT_TRUE(h.engine.LoadScript(file));
    EXPECT_EQ(typeRegistrations, 1);
    EXPECT_FALSE(h.engine.RunProcedure(QStringLiteral("Main")));
    EXPECT_EQ(h.error(), QStringLiteral("host broke"));
    h.errors.clear();
    EXPECT_FALSE(h.runMain(QStringLiteral("Misuse(1)")));
    EXPECT_EQ(h.error(), QStringLiteral("Bad Parameter Type"));
    h.errors.clear();
    EXPECT_FALSE(h.runMain(QStringLiteral("Odd")));
    EXPECT_EQ(h.error(), QStringLiteral("Function Execution Failed."));
    h.errors.clear();
    EXPECT_FALSE(h.runMain(QStringLiteral("var s : string; endvar\n writeln(Twice(1, 'x'))")));
    EXPECT_EQ(h.error(), QStringLiteral("Variable Expected."));
}

TEST(ScriptEngine, ParameterBlockChecks)
{
    TProcParms parms;
    parms.items().resize(2);
    parms.items()[1].type = TypeString;
    parms.items()[1].value.str = QStringLiteral("x");
    EXPECT_EQ(parms.asString(1), QStringLiteral("x"));
    EXPECT_THROW(parms.asString(2), ScriptCallError);
    EXPECT_THROW(parms.asInteger(1), ScriptCallError);
    EXPECT_THROW(parms.setString(1, QStringLiteral("y")), ScriptCallError);
}

TEST(ScriptEngine, StopRequestEndsEndlessLoops)
{
    ScriptHarness h;
    int passes = 0;
    h.engine.OnLoopCallback = [&](TQuillan &e) {
        if (++passes == 1000)
            e.requestStop();
    };
    EXPECT_FALSE(
        h.runMain(QStringLiteral("var i : integer; endvar\n for i := 10 to 1 step 0 endfor")));
    EXPECT_TRUE(h.engine.lastRunStopped());
    EXPECT_TRUE(h.errors.isEmpty());
    passes = 0;
    EXPECT_FALSE(h.runMain(QStringLiteral("while TRUE do endwhile")));
    EXPECT_EQ(passes, 1000);
}

TEST(ScriptEngine, NestedRunIsRefused)
{
    ScriptHarness h;
    bool nested = true;
    h.engine.OnRegisterProcs = [&](TQuillan &e) {
        e.RegisterProc(QStringLiteral("procedure Again;"),
                       [&](void *, TQuillan &engine, TProcParms &) {
                           nested = engine.RunProcedure(QStringLiteral("Main"));
                       });
    };
    EXPECT_TRUE(h.runMain(QStringLiteral("Again\n writeln('done')")));
    EXPECT_FALSE(nested);
    EXPECT_EQ(h.errors, QStringList({QStringLiteral("A script is already running.")}));
    EXPECT_EQ(h.output, QStringLiteral("done\n"));
}

TEST(ScriptEngine, EvaluateSeesTheRoutinesVariables)
{
    ScriptHarness h;
    EXPECT_TRUE(
        h.runMain(QStringLiteral("var n : integer; endvar\n n := 2\n evaluate('n := n * 21')\n"
                                 "evaluate('writeln(n:0)')\n writeln('after')")));
    EXPECT_EQ(h.output, QStringLiteral("42\nafter\n"));
    ScriptHarness bad;
    EXPECT_FALSE(bad.runMain(QStringLiteral("evaluate('nothing := 1')")));
    EXPECT_EQ(bad.error(), QStringLiteral("Illegal statement or Unknown Identifier - NOTHING"));
    EXPECT_EQ(bad.errorLines.value(0), TQuillan::EvaluateLine);
}

TEST(ScriptEngine, LoadTimeMessages)
{
    ScriptHarness nest;
    nest.engine.LoadScriptLines({"procedure A", "procedure B", "endproc"});
    EXPECT_EQ(nest.errors, QStringList({QStringLiteral("Can not nest routines !")}));
    ScriptHarness end;
    end.engine.LoadScriptLines({"endproc"});
    EXPECT_EQ(end.errors, QStringList({QStringLiteral("Routine End, with no routine defined !")}));
    ScriptHarness ext;
    ext.engine.LoadScriptLines({"external thing"});
    EXPECT_EQ(ext.errors, QStringList({QStringLiteral("Procedure/Function expected")}));
    QTemporaryDir dir;
    ScriptHarness missing;
    EXPECT_TRUE(missing.engine.LoadScript(dir.filePath(QStringLiteral("none.qs"))));
    EXPECT_TRUE(missing.errors.isEmpty());
    ScriptHarness folder;
    EXPECT_FALSE(folder.engine.LoadScript(dir.path()));
    EXPECT_EQ(folder.errors, QStringList({QStringLiteral("Error Reading File : ") + dir.path()}));
}

TEST(ScriptEngine, GlobalsAndTypesAreProcessedAtLoad)
{
    ScriptHarness h;
    EXPECT_TRUE(h.run(
        QStringLiteral("type\n Pair = record\n a : integer;\n b : string;\n endrecord\nendtype\n"
                       "var\n limit : integer = 3 * 4;\n greeting : string = 'hi';\nendvar\n"
                       "global\n p : Pair;\nendvar\n"
                       "procedure Main\n p.a := limit\n writeln(greeting, p.a:3)\nendproc")));
    EXPECT_EQ(h.output, QStringLiteral("hi 12\n"));
}
