#include "ScriptHarness.h"

#include <gtest/gtest.h>

using Orbisong::TQuillan;

namespace {

QString repeated(const char *piece, int times)
{
    return QString::fromLatin1(piece).repeated(times);
}

} // namespace

TEST(ScriptLimits, FieldWidthsAreBounded)
{
    ScriptHarness h;
    ASSERT_TRUE(h.runMain(QStringLiteral("writeln(7:2147483647)"))) << h.error().toStdString();
    EXPECT_EQ(h.output.size(), TQuillan::MaxOutputWidth + 1);
    EXPECT_TRUE(h.output.endsWith(QStringLiteral("7\n")));

    ScriptHarness s;
    ASSERT_TRUE(s.runMain(QStringLiteral("var t : string; p : pchar; endvar\n"
                                         " str(5:2147483647:2, t)\n str(5:2147483647:2, p)\n"
                                         " writeln(length(t):0)\n write(p)")))
        << s.error().toStdString();
    EXPECT_EQ(s.output.size(), 4 + TQuillan::MaxOutputWidth);
    EXPECT_TRUE(s.output.startsWith(QStringLiteral("255\n  ")));
}

TEST(ScriptLimits, DeepNestingIsAnErrorNotAStackOverflow)
{
    const QString tooDeep = QStringLiteral("Expression nested too deeply.");
    // On one line it is found while the script loads.
    ScriptHarness oneLine;
    EXPECT_FALSE(oneLine.runMain(QStringLiteral("var x : real; endvar\n x := ") +
                                 repeated("(", 50000) + QStringLiteral("1") +
                                 repeated(")", 50000)));
    EXPECT_EQ(oneLine.errors, QStringList{tooDeep});
    EXPECT_EQ(oneLine.errorLines.value(0), 3);

    // Spread over lines, and through calls and string parentheses, it is found as it runs.
    ScriptHarness lines;
    EXPECT_FALSE(lines.runMain(QStringLiteral("var x : real; endvar\n x := ") +
                               repeated("(\n", 50000) + QStringLiteral("1") +
                               repeated(")\n", 50000)));
    EXPECT_EQ(lines.errors, QStringList{tooDeep});
    ScriptHarness calls;
    EXPECT_FALSE(calls.run(QStringLiteral("function Id(x : real) : real\n return x\nendfunc\n"
                                          "procedure Main\n writeln(") +
                           repeated("Id(\n", 20000) + QStringLiteral("1") + repeated(")\n", 20000) +
                           QStringLiteral(")\nendproc")));
    EXPECT_EQ(calls.errors, QStringList{tooDeep});
    ScriptHarness strings;
    EXPECT_FALSE(strings.runMain(QStringLiteral("writeln(") + repeated("(\n", 50000) +
                                 QStringLiteral("'a'") + repeated(")\n", 50000) +
                                 QStringLiteral(")")));
    EXPECT_EQ(strings.errors, QStringList{tooDeep});

    // Parentheses inside literals and remarks do not count; the limit itself is allowed.
    const int limit = TQuillan::MaxNesting;
    expectOutputs({{QStringLiteral("writeln(") + repeated("(", limit - 1) + QStringLiteral("2") +
                        repeated(")", limit - 1) + QStringLiteral(":0)"),
                    QStringLiteral("2\n")},
                   {QStringLiteral("writeln('") + repeated("(", 1000) + QStringLiteral("') { ") +
                        repeated("[", 1000) + QStringLiteral(" }"),
                    repeated("(", 1000) + QStringLiteral("\n")}});
}

TEST(ScriptLimits, GrowingPastTheMemoryLimitStopsTheScript)
{
    const QString outOfMemory = QStringLiteral("Out of memory.");
    const auto main = [](const QString &body) {
        return QStringLiteral("procedure Main\n") + body + QStringLiteral("\nendproc");
    };
    const QStringList growers = {
        // a text doubled until it would take gigabytes
        main(QStringLiteral("var s : pchar; i : integer; endvar\n s := 'abcdefgh'\n"
                            " for i := 1 to 40 do\n s := s + s\n endfor")),
        // a fixed array far larger than the limit
        main(QStringLiteral("var a : array[1..16000000] of real; endvar\n writeln(1)")),
        // an open array filled sparsely without end
        main(QStringLiteral("var a : array of real; i : longint; endvar\n"
                            " for i := 1 to 100000000 do\n a[i * 1000] := i\n endfor")),
        // a table given ever more records
        QStringLiteral("type\n Row = record\n key n : longint;\n t : string;\n endrecord\nendtype\n"
                       "var\n rows : table of Row;\n r : Row;\n i : longint;\nendvar\n") +
            main(QStringLiteral("for i := 1 to 100000000 do\n r.n := i\n writeRecord(rows, r)\n"
                                " endfor")),
    };
    for (const QString &script : growers) {
        SCOPED_TRACE(script.toStdString());
        ScriptHarness h;
        h.engine.setMemoryLimit(8 << 20);
        EXPECT_FALSE(h.run(script));
        EXPECT_EQ(h.errors, QStringList{outOfMemory});
    }

    // Storage that is made and dropped again never adds up.
    ScriptHarness churn;
    churn.engine.setMemoryLimit(32 << 20);
    EXPECT_TRUE(churn.runMain(QStringLiteral("var s : pchar; t : pchar; i : integer; endvar\n"
                                             " s := 'abcdefghijklmnop'\n for i := 1 to 16 do\n"
                                             " s := s + s\n endfor\n for i := 1 to 2000 do\n"
                                             " t := s + s\n endfor\n write(t)")))
        << churn.error().toStdString();
    EXPECT_EQ(churn.output.size(), 2097152);
    EXPECT_EQ(churn.engine.memoryLimit(), 32 << 20);
}
