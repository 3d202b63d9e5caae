// Runs each benchmark script in the engine and its Lua twin, and prints both times and their
// ratio. Both must print the same result for the figures to count.
#include "script/TQuillan.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>

using namespace Orbisong;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString dir = QStringLiteral(ORBISONG_BENCH_SCRIPTS);
    const QString lua = QStringLiteral("/usr/bin/lua5.4");
    const QStringList names = {QStringLiteral("intloop"), QStringLiteral("fib"),
                               QStringLiteral("strings"), QStringLiteral("arrays")};
    std::printf("%-10s %12s %12s %8s\n", "benchmark", "engine (s)", "lua (s)", "ratio");
    int failures = 0;
    // Each side's best of a few runs, so a busy moment on the machine does not decide the ratio.
    constexpr int Runs = 3;
    // Lua's times are taken without the start of the interpreter itself, measured on an empty
    // chunk, since the engine's are taken inside this process.
    double luaStart = 1e9;
    for (int run = 0; run < Runs * 3; ++run) {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(lua, {QStringLiteral("-e"), QString()});
        process.waitForFinished(60000);
        luaStart = std::min(luaStart, double(timer.nsecsElapsed()) / 1e9);
    }
    for (const QString &name : names) {
        double engineSeconds = 1e9;
        double luaSeconds = 1e9;
        bool same = true;
        for (int run = 0; run < Runs; ++run) {
            TQuillan engine;
            QString output;
            QString error;
            engine.OnWrite = [&](TQuillan &, const QString &text) { output += text; };
            engine.OnError = [&](TQuillan &, const QString &text) { error = text; };
            QElapsedTimer timer;
            timer.start();
            engine.LoadScript(dir + QLatin1Char('/') + name + QStringLiteral(".qs"));
            engine.RunProcedure(QStringLiteral("Main"));
            engineSeconds = std::min(engineSeconds, double(timer.nsecsElapsed()) / 1e9);

            QProcess process;
            timer.restart();
            process.start(lua, {dir + QLatin1Char('/') + name + QStringLiteral(".lua")});
            process.waitForFinished(600000);
            luaSeconds =
                std::min(luaSeconds, std::max(0.0, double(timer.nsecsElapsed()) / 1e9 - luaStart));
            const QString luaOutput = QString::fromUtf8(process.readAllStandardOutput());
            same = same && error.isEmpty() && output.trimmed() == luaOutput.trimmed();
        }
        if (!same)
            ++failures;
        std::printf("%-10s %12.4f %12.4f %7.2fx%s\n", qPrintable(name), engineSeconds, luaSeconds,
                    luaSeconds > 0 ? engineSeconds / luaSeconds : 0.0,
                    same ? "" : "  (results differ)");
    }
    std::printf("(Lua's start-up, %.1f ms, is taken off its times)\n", luaStart * 1000);
    return failures ? 1 : 0;
}
