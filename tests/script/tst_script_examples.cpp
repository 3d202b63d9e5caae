#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct ScriptRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ScriptRun runScript(const QString &home, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(TestHome::program(QStringLiteral("orbisong-cli")),
                  QStringList({QStringLiteral("--home"), home, QStringLiteral("script"),
                               QStringLiteral("run")}) +
                      arguments);
    process.waitForStarted();
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QString writeScript(const TestHome &home, const QByteArray &text)
{
    const QString path = home.file(QStringLiteral("test.qs"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path;
}

} // namespace

TEST(ScriptExamples, EveryExampleRunsAndPrintsWhatItShould)
{
    TestHome home;
    const QDir examples(TestHome::sourceDir() + QStringLiteral("/data/scripts/examples"));
    const QStringList scripts = examples.entryList({QStringLiteral("*.qs")}, QDir::Files);
    ASSERT_GE(scripts.size(), 5);
    for (const QString &script : scripts) {
        const ScriptRun run = runScript(home.path(), {examples.filePath(script)});
        EXPECT_EQ(run.exitCode, 0) << script.toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << script.toStdString();
        QFile expected(examples.filePath(
            QString(script).replace(QStringLiteral(".qs"), QStringLiteral(".out"))));
        if (expected.open(QIODevice::ReadOnly)) {
            EXPECT_EQ(run.out.toStdString(), expected.readAll().toStdString())
                << script.toStdString();
        }
    }
}

TEST(ScriptExamples, ErrorsGoToStandardErrorWithTheirLine)
{
    TestHome home;
    const QString path =
        writeScript(home, "procedure Main\n  writeln('before')\n  x := 1\nendproc\n");
    const ScriptRun run = runScript(home.path(), {path});
    EXPECT_EQ(run.exitCode, 100);
    EXPECT_EQ(run.out, QByteArray("before\n"));
    EXPECT_EQ(run.err, QByteArray("Illegal statement or Unknown Identifier - X on line 3\n"));
}

TEST(ScriptExamples, ProcedureArgumentsAndStandardInput)
{
    TestHome home;
    const QString path =
        writeScript(home, "procedure Greet\n var s : string; endvar\n readln(s)\n"
                          " writeln(ParamStr(1), ' ', s, ParamCount:2)\n"
                          " if ANSWER('Again?') then writeln(it) endif\nendproc\n");
    const ScriptRun run = runScript(
        home.path(),
        {path, QStringLiteral("--procedure"), QStringLiteral("greet"), QStringLiteral("hello")},
        "world\nagain\n");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QByteArray("hello world 1\nagain\n"));
    const ScriptRun missing =
        runScript(home.path(), {path, QStringLiteral("--procedure"), QStringLiteral("nope")});
    EXPECT_EQ(missing.exitCode, 100);
    EXPECT_EQ(missing.err, QByteArray("Procedure NOPE not defined. on line 1\n"));
}

TEST(ScriptExamples, ArgumentsReachParamCountAndParamStr)
{
    TestHome home;
    const QString script =
        TestHome::sourceDir() + QStringLiteral("/data/scripts/examples/arguments.qs");
    ScriptRun run =
        runScript(home.path(), {script, QStringLiteral("one"), QStringLiteral("two words")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(),
              "2 argument(s)\n1: [one]\n2: [two words]\nbeyond the last: []\n");
    // Words after --procedure NAME are the procedure's arguments.
    run = runScript(home.path(), {script, QStringLiteral("--procedure"), QStringLiteral("Greet"),
                                  QStringLiteral("Ann")});
    EXPECT_EQ(run.out.toStdString(), "Hello, Ann\n");
}
