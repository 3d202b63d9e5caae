// Expressions, conditions and statements run from compiled programs after their first run. The
// parser is the reference: every script here must give the same output, errors and error lines
// with compiled programs on and off.
#include "ScriptHarness.h"

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

struct Outcome
{
    bool ok = false;
    QString output;
    QStringList errors;
    QList<int> errorLines;
};

Outcome runWith(bool compiled, const QString &script)
{
    ScriptHarness h;
    h.engine.setCompiledPrograms(compiled);
    Outcome o;
    o.ok = h.run(script);
    o.output = h.output;
    o.errors = h.errors;
    o.errorLines = h.errorLines;
    return o;
}

// Runs the script both ways and returns the compiled outcome once both agree.
Outcome runBothWays(const QString &script)
{
    const Outcome parsed = runWith(false, script);
    const Outcome compiled = runWith(true, script);
    EXPECT_EQ(compiled.ok, parsed.ok) << script.toStdString();
    EXPECT_EQ(compiled.output, parsed.output) << script.toStdString();
    EXPECT_EQ(compiled.errors, parsed.errors) << script.toStdString();
    EXPECT_EQ(compiled.errorLines, parsed.errorLines) << script.toStdString();
    return compiled;
}

QString mainWith(const QString &body)
{
    return QStringLiteral("procedure Main\n") + body + QStringLiteral("\nendproc\n");
}

} // namespace

TEST(ScriptPrograms, ArithmeticSignsAndParenthesesAgreeWithTheParser)
{
    const Outcome o = runBothWays(
        mainWith(QStringLiteral(" var i : integer; a : real; b : longint; endvar\n b := 7\n"
                                " for i := -2 to 2\n"
                                "  a := -(b - i) * 2 + -i * -3 - (i + 1) * (b % 4) / 2\n"
                                "  b := b + - - i\n"
                                "  writeln(a:0:2, ' ', b:0, ' ', -(-b):0, ' ', (b):0)\n endfor")));
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.output.count(QLatin1Char('\n')), 5);
}

TEST(ScriptPrograms, CallsElementsAndFieldsAgreeWithTheParser)
{
    const Outcome o = runBothWays(QStringLiteral(
        "type\n Pair = record\n  a : integer;\n  b : real;\n endrecord\nendtype\n"
        "global\n g : array[1..5] of integer;\nendvar\n"
        "function Fib(n : integer) : longint\n if n < 2 then\n  return n\n endif\n"
        " return Fib(n - 1) + Fib(n - 2)\nendfunc\n"
        "function Mix(x : integer; y : real) : real\n return x * 10 + y\nendfunc\n"
        "function Seven : integer\n return 7\nendfunc\n"
        "procedure Main\n var i : integer; p : Pair; o : array of real; s : real; endvar\n"
        " for i := 1 to 5\n  g[i] := i * i\n  o[i * 2] := g[i] / 2\n endfor\n"
        " p.a := g[2] + Seven\n p.b := -p.a / 4\n"
        " for i := 1 to 5\n"
        "  s := s + Mix(g[i], o[i + i]) - Fib(i + 10) % 7 + p.a * p.b + Seven() + o[3]\n"
        " endfor\n writeln(s:0:3, ' ', Fib(15):0, ' ', Mix(Seven, Fib(3)):0:1)\nendproc\n"));
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.output, QStringLiteral("443.250 610 72.0\n"));
}

TEST(ScriptPrograms, ConditionsAgreeWithTheParser)
{
    const Outcome o = runBothWays(mainWith(
        QStringLiteral(" var i : integer; n : integer; endvar\n"
                       " for i := 0 to 11\n"
                       "  if i > 2 and i < 9 or i = 11 xor i % 2 = 0 then\n   n := n + 1\n  endif\n"
                       "  if not i < 5 and not -i > -8 then\n   n := n + 100\n  endif\n"
                       "  while n % 3 <> 0 and n < 1000\n   n := n + 1\n  endwhile\n"
                       "  writeln(i:0, ' ', n:0)\n endfor")));
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.output.count(QLatin1Char('\n')), 12);
}

TEST(ScriptPrograms, FaultsInsideCompiledPartsAreReportedWhereTheParserReportsThem)
{
    const char *bodies[] = {
        // division by zero inside a call's argument on the third pass
        " var i : integer; s : real; endvar\n for i := 2 downto -2\n"
        "  s := s + Half(10 / i)\n  writeln(s:0:1)\n endfor",
        // an index that leaves the array's bounds
        " var i : integer; a : array[0..3] of integer; endvar\n for i := 0 to 5\n"
        "  a[i] := i\n  writeln(a[i] + a[i % 2]:0)\n endfor",
        // a condition whose second relation divides by zero
        " var i : integer; endvar\n for i := 3 downto 0\n"
        "  if i > 1 or 6 / i > 1 then\n   writeln(i:0)\n  endif\n endfor",
        // a field of a variable that is not a record
        " var i : integer; r : real; endvar\n for i := 1 to 2\n  writeln(r.x + i:0)\n endfor",
    };
    for (const char *body : bodies) {
        const Outcome o =
            runBothWays(mainWith(QString::fromLatin1(body)) +
                        QStringLiteral("function Half(x : real) : real\n return x / 2\nendfunc\n"));
        EXPECT_FALSE(o.ok) << body;
        EXPECT_EQ(o.errors.size(), 1) << body;
    }
}

TEST(ScriptPrograms, WordsThatChangeMeaningBetweenPassesAreReadAsTheyAreNow)
{
    // On the second pass `w` is a local text, `a` a plain number and `v` a text; each compiled
    // operand must give the parser's error, on the parser's line.
    const char *cases[] = {
        "  t := w + 1\n",
        "  t := a[1] + 1\n",
        "  if v < 3 then\n   t := 1\n  endif\n",
        "  t := 2 * (1 + w)\n",
    };
    for (const char *use : cases) {
        const Outcome o = runBothWays(
            QStringLiteral(
                "global\n w : integer; a : array[1..2] of integer; v : integer;\nendvar\n"
                "procedure Main\n var i : integer; t : integer; endvar\n"
                " for i := 1 to 2\n  if i = 2 then\n"
                "   var w : string; a : integer; v : string; endvar\n  endif\n") +
            QString::fromLatin1(use) + QStringLiteral(" endfor\nendproc\n"));
        EXPECT_FALSE(o.ok) << use;
        EXPECT_EQ(o.errors.size(), 1) << use;
    }
}

TEST(ScriptPrograms, CompiledBlocksKeepControlFlowAndUnwinding)
{
    const Outcome o = runBothWays(QStringLiteral(
        "function Find(limit : integer) : integer\n var i : integer; endvar\n"
        " for i := 1 to 100\n  if i * i > limit then\n   return i\n  endif\n endfor\n"
        " return -1\nendfunc\n"
        "procedure Main\n var i : integer; j : integer; n : integer; endvar\n"
        " for i := 10 downto 1 step -3\n"
        "  for j := 1 to 4\n   if j = 2 then\n    continue\n   endif\n"
        "   if i > 5 then n := n + j; n := n * 2\n   else\n    n := n - j\n   endif\n"
        "  endfor\n  writeln(i:0, ' ', n:0)\n endfor\n"
        " n := 1 +\n  2 * 3\n writeln(n:0, ' ', Find(50):0, ' ', Find(100000):0)\n"
        " here:\n j := 0\n while j < 3 do\n  j := j + 1\n  if j = 2 then\n   writeln('two')\n"
        "  endif\n endwhile\n"
        " var k : integer; endvar\n for i := 1 to 3 do\n  k := i * 10; writeln(k:0)\n endfor\n"
        "endproc\n"));
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.output, QStringLiteral("10 28\n7 252\n4 244\n1 236\n7 8 -1\ntwo\n10\n20\n30\n"));
}

TEST(ScriptPrograms, LoopPassesAndStopRequestsAreTheSameInCompiledBlocks)
{
    for (const bool compiled : {false, true}) {
        ScriptHarness h;
        h.engine.setCompiledPrograms(compiled);
        int passes = 0;
        h.engine.OnLoopCallback = [&](TQuillan &e) {
            if (++passes == 500)
                e.requestStop();
        };
        // A loop that never ends on its own: STEP 0.
        EXPECT_FALSE(h.runMain(QStringLiteral(" var i : integer; n : real; endvar\n"
                                              " for i := 2 to 1 step 0\n  n := n + 1\n endfor")));
        EXPECT_TRUE(h.engine.lastRunStopped());
        EXPECT_EQ(passes, 500);
    }
}

TEST(ScriptPrograms, BlockFaultsMatchTheParser)
{
    const char *bodies[] = {
        // an IF without its ENDIF
        " var i : integer; endvar\n for i := 1 to 2\n  if i = 2 then\n   i := 5\n endfor",
        // a stray end of loop inside a FOR
        " var i : integer; endvar\n for i := 1 to 2\n  i := i\n  endwhile\n endfor",
        // a constant as a loop variable and as an assignment target
        " const c = 3;\n c := 4",
        // a target that becomes a text on the second pass
        " var i : integer; endvar\n for i := 1 to 2\n  if i = 2 then\n"
        "   var t : string; endvar\n  endif\n  t := i * 2\n endfor",
    };
    for (const char *body : bodies) {
        const Outcome o = runBothWays(QStringLiteral("global\n t : integer;\nendvar\n") +
                                      mainWith(QString::fromLatin1(body)));
        EXPECT_FALSE(o.ok) << body;
        EXPECT_EQ(o.errors.size(), 1) << body;
    }
}

TEST(ScriptPrograms, CallsAtTheSameDepthNeverShareParameters)
{
    // Compiled calls, parsed calls (a text argument), a routine declaring a local and one
    // changing its parameter alternate at the same depths; recursion keeps each call's own.
    const Outcome o = runBothWays(QStringLiteral(
        "function Down(n : integer) : integer\n n := n - 1\n if n < 0 then\n  return 0\n endif\n"
        " return n + Down(n) + Named(n, 'x') * 0 + Scratch(n) * 0\nendfunc\n"
        "function Named(n : integer; s : string) : integer\n return n + length(s)\nendfunc\n"
        "function Scratch(n : integer) : integer\n var k : integer; endvar\n k := n * 2\n"
        " return k + Down(0)\nendfunc\n"
        "function Pair(a : integer; b : real) : real\n a := a * 10\n return a + b\nendfunc\n"
        "procedure Main\n var i : integer; t : real; endvar\n"
        " for i := 1 to 4\n  t := t + Down(i) + Pair(i, i / 4) + Scratch(i) + Named(i, 'ab')\n"
        " endfor\n writeln(t:0:2)\nendproc\n"));
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.output, QStringLiteral("150.50\n"));
}

namespace {

// Random scripts of numeric expressions, conditions and loops over a few variables, an array,
// a record and two functions, from a fixed seed so a failure can be replayed.
class ScriptGenerator
{
public:
    explicit ScriptGenerator(quint32 seed) : m_state(seed) {}

    QString script()
    {
        QString body;
        for (int i = 0, n = 3 + pick(4); i < n; ++i)
            body += statement(1);
        return QStringLiteral(
                   "type\n Rec = record\n  x : integer;\n  y : real;\n endrecord\nendtype\n"
                   "global\n g : array[0..4] of integer; r : Rec;\nendvar\n"
                   "function F(p : integer; q : real) : real\n return p * 2 - q\nendfunc\n"
                   "function H(p : integer) : integer\n if p > 3 then\n  return p - 1\n endif\n"
                   " return p + 2\nendfunc\n"
                   "procedure Main\n var a : integer; b : real; c : longint; i : integer;\n"
                   "  j : integer; endvar\n"
                   " a := 3\n b := 1.5\n c := -2\n r.x := 2\n r.y := 2.5\n"
                   " for i := 0 to 4\n  g[i] := i + 1\n endfor\n") +
               body + QStringLiteral(" writeln(a:0, ' ', b:0:3, ' ', c:0, ' ', r.x:0)\nendproc\n");
    }

private:
    int pick(int n)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return int((m_state >> 16) % quint32(n));
    }

    QString operand(int depth)
    {
        switch (pick(depth > 2 ? 4 : 9)) {
        case 0:
            return QString::number(1 + pick(7));
        case 1:
            return QStringLiteral("a");
        case 2:
            return QStringLiteral("b");
        case 3:
            return QStringLiteral("c");
        case 4:
            return QStringLiteral("-") + operand(depth + 1);
        case 5:
            return QStringLiteral("(") + expression(depth + 1) + QStringLiteral(")");
        case 6:
            return QStringLiteral("g[%1]").arg(pick(5));
        case 7:
            return pick(2) ? QStringLiteral("r.x") : QStringLiteral("r.y");
        default:
            return pick(2) ? QStringLiteral("F(%1, %2)")
                                 .arg(expression(depth + 1), expression(depth + 1))
                           : QStringLiteral("H(%1)").arg(expression(depth + 1));
        }
    }

    QString expression(int depth)
    {
        // Division is rarer, so that most runs get to their end.
        static const char *ops[] = {" + ", " - ", " * ", " + ", " - ", " * ", " / ", " % "};
        QString e = operand(depth);
        for (int i = 0, n = pick(4); i < n; ++i)
            e += QLatin1String(ops[pick(8)]) + operand(depth);
        return e;
    }

    QString condition()
    {
        static const char *relops[] = {" < ", " > ", " = ", " <> ", " <= ", " >= "};
        static const char *joins[] = {" and ", " or ", " xor "};
        QString c;
        for (int i = 0, n = 1 + pick(3); i < n; ++i) {
            if (i > 0)
                c += QLatin1String(joins[pick(3)]);
            c += (pick(4) == 0 ? QStringLiteral("not ") : QString()) + expression(1) +
                 QLatin1String(relops[pick(6)]) + expression(1);
        }
        return c;
    }

    QString assignment()
    {
        static const char *targets[] = {"a", "b", "c", "g[1]", "g[a % 5]", "r.x", "r.y"};
        return QLatin1String(targets[pick(7)]) + QStringLiteral(" := ") + expression(1);
    }

    QString statement(int depth)
    {
        const QString indent(depth, QLatin1Char(' '));
        switch (depth > 2 ? 0 : pick(6)) {
        case 1:
            return indent + QStringLiteral("if ") + condition() + QStringLiteral(" then\n") +
                   statement(depth + 1) + indent + QStringLiteral("else\n") + statement(depth + 1) +
                   indent + QStringLiteral("endif\n");
        case 2:
            // Each nesting level counts with its own variable.
            return indent +
                   QStringLiteral("for %1 := %2 to %3\n")
                       .arg(QLatin1Char(depth == 1 ? 'i' : 'j'))
                       .arg(pick(3))
                       .arg(pick(4)) +
                   statement(depth + 1) + statement(depth + 1) + indent +
                   QStringLiteral("endfor\n");
        case 3: {
            // Counts with the level's own variable, so that it always ends.
            const QString counter(QLatin1Char(depth == 1 ? 'i' : 'j'));
            return indent + counter + QStringLiteral(" := 0\n") + indent +
                   QStringLiteral("repeat\n") + statement(depth + 1) + indent +
                   QStringLiteral(" ") + counter + QStringLiteral(" := ") + counter +
                   QStringLiteral(" + 1\n") + indent + QStringLiteral("until ") + counter +
                   QStringLiteral(" >= %1\n").arg(1 + pick(3));
        }
        case 4:
            return indent + QStringLiteral("switch a % 3 of\n") + indent +
                   QStringLiteral("case 0: ") + assignment() + QStringLiteral(" endcase\n") +
                   indent + QStringLiteral("case 1:\n") + statement(depth + 1) + indent +
                   QStringLiteral("endcase\n") + indent + QStringLiteral("else\n") +
                   statement(depth + 1) + indent + QStringLiteral("endcase\n") + indent +
                   QStringLiteral("endswitch\n");
        default:
            return indent + assignment() + QLatin1Char('\n');
        }
    }

    quint32 m_state;
};

} // namespace

TEST(ScriptPrograms, RandomScriptsAgreeWithTheParser)
{
    int completed = 0;
    for (quint32 seed = 1; seed <= 300; ++seed) {
        const QString script = ScriptGenerator(seed).script();
        SCOPED_TRACE(seed);
        completed += runBothWays(script).ok ? 1 : 0;
    }
    // Division by zero and the array's bounds end some runs; most must get through.
    EXPECT_GT(completed, 150);
}
