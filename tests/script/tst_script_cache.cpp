// The engine keeps what it learns about a line (names, simple expressions, block ends) between
// passes; these scripts change what the names mean between passes and check that each pass
// sees the meaning current at the time.
#include "ScriptHarness.h"

#include <gtest/gtest.h>

using namespace Orbisong;

TEST(ScriptCache, ExpressionsSeeDeclarationsMadeBetweenPasses)
{
    ScriptHarness h;
    EXPECT_TRUE(h.run(QStringLiteral(
        "global\n g : integer;\nendvar\n"
        "procedure Main\n var i : integer; t : integer; endvar\n g := 10\n"
        " for i := 1 to 3\n  t := g * 2 + i\n  writeln(t:0, ' ', g - i % 2:0)\n"
        "  if i = 1 then\n   var g : integer; endvar\n   g := 100\n  endif\n endfor\n"
        " writeln(Twice(4):0, ' ', g:0)\nendproc\n"
        "function Twice(g : integer) : integer\n return g * 2\nendfunc")));
    EXPECT_EQ(h.errors, QStringList());
    EXPECT_EQ(h.output, QStringLiteral("21 9\n202 100\n203 99\n8 100\n"));
}

TEST(ScriptCache, RecursionKeepsEachCallsParameters)
{
    ScriptHarness h;
    EXPECT_TRUE(h.run(QStringLiteral(
        "function Sum(n : integer; s : string) : longint\n"
        " if n < 1 then\n  return 0\n endif\n"
        " return n + Sum(n - 1, s + 'x') * 1\nendfunc\n"
        "procedure Main\n writeln(Sum(100, ''):0, ' ', Sum(3, 'a'):0)\nendproc")));
    EXPECT_EQ(h.errors, QStringList());
    EXPECT_EQ(h.output, QStringLiteral("5050 6\n"));
}

TEST(ScriptCache, ArithmeticFaultsOnALaterPassAreStillReported)
{
    const std::pair<const char *, const char *> cases[] = {{"/", "7\n13\n"}, {"%", "1\n1\n"}};
    for (const auto &[op, output] : cases) {
        ScriptHarness h;
        EXPECT_FALSE(h.runMain(QStringLiteral(" var i : integer; t : real; endvar\n"
                                              " for i := 2 downto -1\n  t := 12 %1 i + 1\n"
                                              "  writeln(t:0)\n endfor")
                                   .arg(QLatin1String(op))));
        EXPECT_EQ(h.errors, QStringList{QStringLiteral("Division by zero.")});
        EXPECT_EQ(h.errorLines, QList<int>{4});
        EXPECT_EQ(h.output, QString::fromLatin1(output));
    }
}

TEST(ScriptCache, ANameThatStopsBeingANumberIsAnErrorWhenReached)
{
    ScriptHarness h;
    EXPECT_FALSE(h.runMain(QStringLiteral(" var i : integer; t : integer; endvar\n"
                                          " for i := 1 to 2\n  if i = 2 then\n"
                                          "   var w : string; endvar\n  endif\n"
                                          "  t := w + 1\n endfor")));
    EXPECT_EQ(h.errors.size(), 1);
    EXPECT_EQ(h.errorLines, QList<int>{7});
}

TEST(ScriptCache, KeptExpressionsKeepPrecedenceAndOrder)
{
    // The parenthesised twin is always parsed; both must agree on every pass.
    ScriptHarness h;
    EXPECT_TRUE(h.runMain(QStringLiteral(
        " var i : integer; a : real; p : real; b : integer; endvar\n b := 3\n"
        " for i := 1 to 2\n  a := 2 + b * 4 - 10 / 4 * i + 17 % 5 * b - i - b * b\n"
        "  p := (2) + b * 4 - 10 / 4 * i + 17 % 5 * b - i - b * b\n"
        "  writeln(a:0:1, ' ', p:0:1, ' ', 100 - b - i:0, ' ', b * i + b * b:0)\n endfor")));
    EXPECT_EQ(h.errors, QStringList());
    EXPECT_EQ(h.output, QStringLiteral("7.5 7.5 96 12\n4.0 4.0 95 15\n"));
}

TEST(ScriptCache, CallsThatDeclareLocalsDoNotLeakNamesIntoOtherCalls)
{
    // Even calls declare a local that hides the global; odd calls see the global.
    ScriptHarness h;
    EXPECT_TRUE(h.run(QStringLiteral(
        "global\n g : integer;\nendvar\n"
        "procedure R(n : integer)\n if n % 2 = 0 then\n  var g : integer; endvar\n"
        "  g := 1000 + n\n endif\n if n > 0 then\n  R(n - 1)\n endif\n"
        " write(g + n:0, ' ')\nendproc\n"
        "procedure Main\n g := 5\n R(4)\n R(1)\nendproc")));
    EXPECT_EQ(h.errors, QStringList());
    EXPECT_EQ(h.output, QStringLiteral("1000 6 1004 8 1008 1000 6 "));
}
