#include "ScriptHarness.h"

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QString errorOf(const QString &script, bool wholeScript = false)
{
    ScriptHarness h;
    if (wholeScript)
        h.run(script);
    else
        h.runMain(script);
    EXPECT_EQ(h.errors.size(), 1) << script.toStdString();
    return h.error();
}

} // namespace

TEST(ScriptLanguage, AssignmentsAndNumericExpressions)
{
    expectOutputs(
        {{QStringLiteral("var i : integer; r : real; endvar\n"
                         "i := 7 / 2\n r := 7 / 2\n writeln(i:0, ' ', r:0:1)"),
          QStringLiteral("4 3.5\n")},
         {QStringLiteral(
              "writeln(2 + 3 * 4:0, ' ', (2 + 3) * 4:0, ' ', 2 POWER 10:0, ' ', -2 POWER 2:0)"),
          QStringLiteral("14 20 1024 4\n")},
         {QStringLiteral(
              "writeln(17 % 5:0, ' ', 6 AND 3:0, ' ', 6 OR 3:0, ' ', 6 XOR 3:0, ' ', ~0:0)"),
          QStringLiteral("2 2 7 5 -1\n")},
         {QStringLiteral("writeln(1 SHL 33:0, ' ', -1 SHR 28:0, ' ', 2.6 % 2:0)"),
          QStringLiteral("2 15 1\n")},
         {QStringLiteral(
              "var b : byte; w : word; endvar\n b := 300\n w := -5\n writeln(b:0, ' ', w:0)"),
          QStringLiteral("255 0\n")}});
}

TEST(ScriptLanguage, StringAndBooleanExpressions)
{
    expectOutputs(
        {{QStringLiteral("var s : string; c : char; endvar\n s := 'ab' + \"cd\"\n c := 'xyz'\n"
                         "writeln(s + c)"),
          QStringLiteral("abcdx\n")},
         {QStringLiteral(
              "var f : boolean; endvar\n f := 1 < 2 AND NOT (3 > 4)\n"
              "if f then writeln('t') endif\n if 'abc' < 'abd' then writeln('lt') endif\n"
              "if 'B' < 'a' then writeln('codes') endif\n"
              "if f = TRUE AND (1 + 1) = 2 then writeln('eq') endif\n"
              "if TRUE XOR TRUE then writeln('x') else writeln('nx') endif"),
          QStringLiteral("t\nlt\ncodes\neq\nnx\n")},
         {QStringLiteral("var s : string; endvar\n s := '0123456789'\n"
                         "s := s + s + s + s + s + s + s + s + s + s\n"
                         "s := s + s + s + s\n writeln(length(s):0)"),
          QStringLiteral("255\n")}});
}

TEST(ScriptLanguage, IfWhileForRepeat)
{
    expectOutputs({{QStringLiteral(
                        "var i : integer; endvar\n"
                        "if 1 > 2 then writeln('a') else writeln('b') endif\n"
                        "if 1 < 2 then\n begin\n writeln('c')\n else\n writeln('d')\n endif\n"
                        "i := 0\n while i < 3 do\n i := i + 1\n write(i:0)\n endwhile\n writeln()\n"
                        "for i := 3 downto 1 do write(i:0) endfor\n writeln()\n"
                        "for i := 1 to 10 step 4 write(i:0) endfor\n writeln()\n"
                        "i := 5\n repeat\n i := i - 2\n until i < 0\n writeln(i:0)"),
                    QStringLiteral("b\nc\n123\n321\n159\n-1\n")}});
    // DOWNTO with a positive STEP climbs and tests like TO.
    expectOutputs(
        {{QStringLiteral("var i : integer; endvar\n for i := 1 downto 3 step 1 write(i:0) endfor\n"
                         "for i := 5 downto 3 step 1 write(i:0) endfor\n writeln()"),
          QStringLiteral("123\n")}});
    // A false WHILE skips nested loops whole.
    expectOutputs({{QStringLiteral("var i : integer; endvar\n while 1 > 2\n while 1 < 2\n"
                                   "writeln('no')\n endwhile\n endwhile\n writeln('done')"),
                    QStringLiteral("done\n")}});
}

TEST(ScriptLanguage, SwitchContinueAndReturn)
{
    const QString sw = QStringLiteral(
        "var i : integer; endvar\n"
        "for i := 1 to 4\n switch i of\n case 1: write('one') endcase\n"
        " case 2: write('two') endcase\n else write('other') endcase\n endswitch\n"
        " write(',')\n endfor\n writeln()\n"
        "switch 'b'\n case 'a': writeln('A') endcase\n case 'b': writeln('B') endcase\n endswitch\n"
        "switch 9\n case 1: writeln('1') endcase\n endswitch\n writeln('after')");
    expectOutputs(
        {{sw, QStringLiteral("one,two,other,other,\nB\nafter\n")},
         {QStringLiteral(
              "var i : integer; endvar\n for i := 1 to 5\n if i % 2 = 0 then continue endif\n"
              " write(i:0)\n endfor\n i := 0\n repeat\n i := i + 1\n"
              " if i < 3 then continue endif\n write('r')\n until i >= 4\n writeln()"),
          QStringLiteral("135rr\n")}});
    ScriptHarness h;
    EXPECT_TRUE(h.run(QStringLiteral(
        "function twice(n : integer) : integer\n twice := n * 2\nendfunc\n"
        "function sign(n : real) : integer\n if n < 0 then return -1 endif\n return 1\nendfunc\n"
        "procedure Main\n writeln(twice(4):0, sign(-3):3, sign(2):3)\n return\n writeln('not "
        "here')\nendproc")));
    EXPECT_EQ(h.output, QStringLiteral("8 -1  1\n"));
}

TEST(ScriptLanguage, SkippingCountsEveryBlockKind)
{
    // An inner SWITCH's ELSE must not end the outer IF.
    expectOutputs({{QStringLiteral("if 1 > 2 then\n switch 1\n case 2: writeln('x') endcase\n"
                                   " else writeln('y') endcase\n endswitch\n writeln('z')\n"
                                   "else\n writeln('else')\nendif"),
                    QStringLiteral("else\n")}});
}

TEST(ScriptLanguage, ProceduresParametersAndRecursion)
{
    ScriptHarness h;
    EXPECT_TRUE(h.run(QStringLiteral(
        "procedure Swap(var a : integer; var b : integer)\n var t : integer; endvar\n t := a\n a "
        ":= b\n b := t\nendproc\n"
        "function Fact(n : integer) : longint\n if n <= 1 then return 1 endif\n return n * Fact(n "
        "- 1)\nendfunc\n"
        "function Sum(values : array of integer) : integer\n var i : integer; s : integer; endvar\n"
        " for i := low(values) to high(values) do s := s + values[i] endfor\n return s\nendfunc\n"
        "procedure Main\n var x : integer; y : integer; a : array [1 .. 3] of integer; endvar\n"
        " x := 1\n y := 2\n Swap(x, y)\n a[1] := 10\n a[2] := 20\n a[3] := 30\n"
        " writeln(x:0, y:2, Fact(10):8, Sum(a):4)\nendproc")));
    EXPECT_EQ(h.output, QStringLiteral("2 1 3628800  60\n"));
}

TEST(ScriptLanguage, RecordsArraysAndClasses)
{
    ScriptHarness h;
    EXPECT_TRUE(h.run(QStringLiteral(
        "TYPE\n Point = RECORD\n x : real;\n y : real;\n ENDRECORD;\n"
        " Shape = CLASS\n name : string;\n origin : Point;\n ENDRECORD\nENDTYPE\n"
        "GLOBAL\n pts : array [0 .. 2] of Point;\n bag : array of string;\nENDVAR\n"
        "procedure _18DESCRIBE\n writeln(self.name, ' at ', self.origin.x:0)\nendproc\n"
        "procedure Main\n var s : Shape; p : Point; endvar\n"
        " pts[1].x := 4\n p := pts[1]\n s.origin.x := p.x + 1\n s.name := 'box'\n s.describe\n"
        " bag[5] := 'five'\n writeln(bag[5], high(bag):2, low(pts):2, high(pts):2)\nendproc")));
    EXPECT_EQ(h.errors, QStringList());
    EXPECT_EQ(h.output, QStringLiteral("box at 5\nfive 5 0 2\n"));
}

TEST(ScriptLanguage, OpenArraysGrowAndKeepElementsInPlace)
{
    ScriptHarness h;
    EXPECT_TRUE(h.run(QStringLiteral(
        "global\n big : array of integer;\nendvar\n"
        "procedure Grow(var x : integer)\n var i : integer; endvar\n"
        " for i := 1 to 3000 do big[i] := i endfor\n x := 7\nendproc\n"
        "procedure Main\n var o : array of integer; endvar\n"
        " o[-3] := 1\n o[100000] := 2\n o[0] := 3\n o[1] := 4\n"
        " writeln(low(o):0, high(o):7, o[-3] + o[100000] + o[0] + o[1] + o[50]:3)\n"
        " big[0] := 1\n Grow(big[0])\n writeln(big[0]:0, big[3000]:5, high(big):5)\nendproc")));
    EXPECT_EQ(h.errors, QStringList());
    EXPECT_EQ(h.output, QStringLiteral("-3 100000 10\n7 3000 3000\n"));
}

TEST(ScriptLanguage, WriteFormats)
{
    expectOutputs(
        {{QStringLiteral(
              "writeln(3.14159)\n writeln(-2)\n writeln(2.5:6, '|', 'ab':4, '|', 1/3:8:3)"),
          QStringLiteral(
              " 3.14159000000000E+0000\n-2.00000000000000E+0000\n     3|ab|   0.333\n")}});
    // Host output receives strings unpadded, one call per item.
    ScriptHarness h;
    QStringList items;
    h.engine.OnWrite = [&items](TQuillan &, const QString &text) { items << text; };
    h.runMain(QStringLiteral("write('a':3, 12:4)"));
    EXPECT_EQ(items, QStringList({QStringLiteral("a"), QStringLiteral("  12")}));
}

TEST(ScriptLanguage, ReadFromHost)
{
    ScriptHarness h;
    h.input =
        QStringList({QStringLiteral("hello world"), QStringLiteral("42"), QStringLiteral("x")});
    EXPECT_TRUE(h.runMain(
        QStringLiteral("var s : string; n : integer; c : char; endvar\n readln(s, n)\n read(c)\n"
                       "writeln(s, '/', n + 1:0, '/', c)")));
    EXPECT_EQ(h.output, QStringLiteral("hello world/43/x\n"));
    EXPECT_EQ(errorOf(QStringLiteral("var b : boolean; endvar\n read(b)")),
              QStringLiteral("Can Not Read This Variable Type."));
}

TEST(ScriptLanguage, LabelLinesAreSkipped)
{
    expectOutputs(
        {{QStringLiteral("writeln('a')\nplace:\nwriteln('b')"), QStringLiteral("a\nb\n")}});
}

TEST(ScriptLanguage, NumberedErrorTexts)
{
    EXPECT_EQ(errorOf(QStringLiteral("bogus := 1")),
              QStringLiteral("Illegal statement or Unknown Identifier - BOGUS"));
    EXPECT_EQ(errorOf(QStringLiteral("writeln(1.5.2)")),
              QStringLiteral("Improper place for \".\"."));
    EXPECT_EQ(errorOf(QStringLiteral("writeln(1E5E2)")),
              QStringLiteral("Multiple E characters are not allowed."));
    EXPECT_EQ(errorOf(QStringLiteral("writeln((1 + 2)")), QStringLiteral(") Expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var i : integer; endvar\n i := (1 + 2")),
              QStringLiteral("Expecting \")\" Character."));
    EXPECT_EQ(
        errorOf(QStringLiteral("var s : string; i : integer; endvar\n for s := 1 to 2 endfor")),
        QStringLiteral("Variable Type Mismatch, Numeric expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var i : integer; endvar\n i := 'a'")),
              QStringLiteral("Expression Type Mismatch, Numeric expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var i : integer; endvar\n i := copy('a', 1, 1)")),
              QStringLiteral("Function Type Mismatch, Numeric expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var i : integer; i : real; endvar")),
              QStringLiteral("I - Duplicate Symbol Definition."));
    EXPECT_EQ(errorOf(QStringLiteral("var 5 endvar")), QStringLiteral("EndVar Token Expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var p : pointer = 5; endvar")),
              QStringLiteral("Expression Type Mismatch, Pointer expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var s : string; endvar\n s := 5")),
              QStringLiteral("Expression Type Mismatch, String expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var c : char; endvar\n c := 5")),
              QStringLiteral("Expression Type Mismatch, Char expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var x : nothing; endvar")), QStringLiteral("Unknown Type"));
    EXPECT_EQ(errorOf(QStringLiteral("var i : integer; endvar\n i = 1")),
              QStringLiteral(":= Expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var s : string; endvar\n str(1, 5)")),
              QStringLiteral("Variable Expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var i : integer; endvar\n str(1, i)")),
              QStringLiteral("Variable Type Mismatch, String expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var s : string; endvar\n s := 5 + 1")),
              QStringLiteral("Expression Type Mismatch, String expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var s : string; endvar\n s := 'a' + round(2)")),
              QStringLiteral("Function Type Mismatch, String expected."));
    EXPECT_EQ(errorOf(QStringLiteral("pi := 3")),
              QStringLiteral("Can not assign a value to a constant."));
    EXPECT_EQ(errorOf(QStringLiteral("var x : integer; endvar\n x := strToInt('zz')")),
              QStringLiteral("StrToInt can not convert this value"));
    EXPECT_EQ(errorOf(QStringLiteral("if 1 then endif")), QStringLiteral("Operator Expected."));
    EXPECT_EQ(errorOf(QStringLiteral("if beep then endif")),
              QStringLiteral("Function Type Mismatch, Boolean expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var p : pointer; endvar\n if p then endif")),
              QStringLiteral("Var Type Mismatch, Boolean expected."));
    EXPECT_EQ(errorOf(QStringLiteral("if 1 < 2 then\n writeln('x')")),
              QStringLiteral("Endif Expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var i : integer; endvar\n for i := 1 to 2\n endwhile")),
              QStringLiteral("Un-Balanced Loop/Call - Last Was Not While."));
    EXPECT_EQ(errorOf(QStringLiteral("while 1 > 2\n writeln('x')")),
              QStringLiteral("EndWhile or WEND Expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var i : integer; endvar\n for i := 1 upto 2 endfor")),
              QStringLiteral("To or Downto Expected."));
    EXPECT_EQ(errorOf(QStringLiteral("while 1 < 2\n endfor")),
              QStringLiteral("Un-Balanced Loop/Call - Last Was Not For."));
    EXPECT_EQ(errorOf(QStringLiteral("var i : integer; endvar\n for i := 5 to 2\n writeln('x')")),
              QStringLiteral("EndFor Expected."));
    EXPECT_EQ(errorOf(QStringLiteral("until 1 > 2")),
              QStringLiteral("Un-Balanced Loop/Call - Last Was Not Repeat."));
    EXPECT_EQ(errorOf(QStringLiteral("var i : integer; endvar\n i := reset(i)")),
              QStringLiteral("Variable Type Mismatch, File expected."));
    EXPECT_EQ(errorOf(QStringLiteral("continue")),
              QStringLiteral("Can Not Continue Un-recognized Loop."));
    EXPECT_EQ(errorOf(QStringLiteral("switch TRUE\n endswitch")),
              QStringLiteral("String or Numeric Expression expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var p : pointer; i : integer; endvar\n p := i")),
              QStringLiteral("Variable Type Mismatch, Pointer expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var p : pointer; endvar\n p := sqrt(1)")),
              QStringLiteral("Function Type Mismatch, Pointer expected."));
    EXPECT_EQ(errorOf(QStringLiteral("var a : array [1 .. 3] of integer; endvar\n a[4] := 1")),
              QStringLiteral("Array index out of bounds."));
    EXPECT_EQ(errorOf(QStringLiteral("writeln(TRUE)")),
              QStringLiteral("Can not write this expression."));
    EXPECT_EQ(errorOf(QStringLiteral("writeln(copy('a', 1))")),
              QStringLiteral("Parameter Expected in procedure/function call."));
    EXPECT_EQ(errorOf(QStringLiteral("var i : integer; endvar\n writeln(high(i):0)")),
              QStringLiteral("Array expected"));
    EXPECT_EQ(errorOf(QStringLiteral("type\n 5\nendtype\nprocedure Main\nendproc"), true),
              QStringLiteral("EndType Token Expected."));
    EXPECT_EQ(
        errorOf(
            QStringLiteral(
                "type\n R = RECORD\n 5 : integer\n endrecord\nendtype\nprocedure Main\nendproc"),
            true),
        QStringLiteral("Identifier expected"));
    EXPECT_EQ(errorOf(QStringLiteral("var i : integer; endvar\n i.x := 1")),
              QStringLiteral("Internal integrity error, please contact your software vendor"));
    EXPECT_EQ(errorOf(QStringLiteral("type\n R = RECORD\n a : integer\n endrecord\nendtype\n"
                                     "procedure Main\n var v : R; endvar\n v.b := 1\nendproc"),
                      true),
              QStringLiteral("B is not a field"));
    EXPECT_EQ(errorOf(QStringLiteral("var t : table of integer; endvar")),
              QStringLiteral("Record or Class Type expected"));
    EXPECT_EQ(errorOf(QStringLiteral("var i : integer; endvar\n writeRecord(i, i)")),
              QStringLiteral("Table Variable Expected."));
    EXPECT_EQ(errorOf(QStringLiteral("procedure Other\nendproc\nprocedure Main\n Missing\nendproc"),
                      true),
              QStringLiteral("Illegal statement or Unknown Identifier - MISSING"));
    EXPECT_EQ(errorOf(QStringLiteral(
                  "switch 1\n case 1: writeln('a')\n case 2: writeln('b') endcase\nendswitch")),
              QStringLiteral("Illegal statement or Unknown Identifier - CASE"));
}

TEST(ScriptLanguage, RunTimeFaultsAreErrorsNotUndefinedBehaviour)
{
    EXPECT_EQ(errorOf(QStringLiteral("writeln(1 / 0)")), QStringLiteral("Division by zero."));
    EXPECT_EQ(errorOf(QStringLiteral("writeln(1 % 0)")), QStringLiteral("Division by zero."));
    EXPECT_EQ(errorOf(QStringLiteral("writeln(sqrt(-1))")),
              QStringLiteral("Invalid argument for sqrt."));
    EXPECT_EQ(errorOf(QStringLiteral("writeln(ln(0))")),
              QStringLiteral("Invalid argument for ln."));
    expectOutputs(
        {{QStringLiteral("var i : integer; endvar\n i := 1E300\n writeln(i:0, round(-1E300):12)"),
          QStringLiteral("2147483647 -2147483648\n")}});
    EXPECT_EQ(errorOf(QStringLiteral(
                          "function Deep(n : integer) : integer\n return Deep(n + 1)\nendfunc\n"
                          "procedure Main\n writeln(Deep(1))\nendproc"),
                      true),
              QStringLiteral("Too many nested calls."));
}
