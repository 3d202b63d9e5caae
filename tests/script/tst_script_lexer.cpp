#include "ScriptHarness.h"
#include "script/Tokenizer.h"

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

std::vector<Token> tokens(const QString &line, bool inRemark = false, bool neverCloses = false)
{
    SymbolTable symbols;
    Tokenizer tokenizer(symbols);
    std::vector<Token> out;
    tokenizer.tokenize(line, inRemark, neverCloses, out);
    return out;
}

std::vector<quint16> codes(const QString &line)
{
    std::vector<quint16> out;
    for (const Token &t : tokens(line))
        out.push_back(t.code);
    return out;
}

} // namespace

TEST(ScriptLexer, NumbersRangesAndHex)
{
    EXPECT_EQ(codes(QStringLiteral("1..5")),
              (std::vector<quint16>{TokInteger, TokRange, TokInteger}));
    const auto real = tokens(QStringLiteral("1E-3"));
    ASSERT_EQ(real.size(), 1u);
    EXPECT_EQ(real[0].code, TokReal);
    EXPECT_DOUBLE_EQ(real[0].number, 0.001);
    EXPECT_EQ(tokens(QStringLiteral("$FF"))[0].number, 255);
    EXPECT_EQ(tokens(QStringLiteral("$ff"))[0].number, 255);
    EXPECT_EQ(tokens(QStringLiteral("1.5.2"))[0].error, 6);
    EXPECT_EQ(tokens(QStringLiteral("1E5E2"))[0].error, 7);
    EXPECT_EQ(tokens(QStringLiteral("2.5"))[0].code, TokReal);
}

TEST(ScriptLexer, StringsAndQuotes)
{
    EXPECT_EQ(tokens(QStringLiteral("\"a\"\"b\""))[0].text, QStringLiteral("a\"b"));
    EXPECT_EQ(tokens(QStringLiteral("'say \"hi\"'"))[0].text, QStringLiteral("say \"hi\""));
    EXPECT_EQ(tokens(QStringLiteral("'it''s'"))[0].text, QStringLiteral("it's"));
    EXPECT_EQ(tokens(QStringLiteral("x := \"open"))[2].error, 5);
}

TEST(ScriptLexer, OperatorsWordsAndRemarks)
{
    EXPECT_EQ(codes(QStringLiteral("x:=1")),
              (std::vector<quint16>{TokName, TokAssign, TokInteger}));
    EXPECT_EQ(codes(QStringLiteral("a <> b >= c <= d")),
              (std::vector<quint16>{TokName, TokNotEqual, TokName, TokGreaterEqual, TokName,
                                    TokLessEqual, TokName}));
    // Without blanks a comparison is one word.
    const auto word = tokens(QStringLiteral("x=1"));
    ASSERT_EQ(word.size(), 1u);
    EXPECT_EQ(word[0].text, QStringLiteral("X=1"));
    const auto member = tokens(QStringLiteral("rec.field"));
    ASSERT_EQ(member.size(), 1u);
    EXPECT_EQ(member[0].path.size(), 1u);
    EXPECT_EQ(tokens(QStringLiteral("=>"))[0].error, 8);
    EXPECT_TRUE(tokens(QStringLiteral("// all remark")).empty());
    EXPECT_EQ(codes(QStringLiteral("a { remark } b")), (std::vector<quint16>{TokName, TokName}));
    EXPECT_EQ(codes(QStringLiteral("rest } b")).size(), 3u);
    EXPECT_EQ(tokens(QStringLiteral("rest } b"), true).size(), 1u);
    EXPECT_EQ(tokens(QStringLiteral("a { never"), false, true).back().error, 9);
    EXPECT_EQ(tokens(QStringLiteral("WriteLn endproc"))[0].code, TokWriteLn);
    EXPECT_EQ(tokens(QStringLiteral("ENDFUNC"))[0].code, TokEndProc);
}

TEST(ScriptLexer, RemarksSpanLinesAndLexicalErrorsWaitForExecution)
{
    ScriptHarness h;
    EXPECT_TRUE(
        h.run(QStringLiteral("procedure Main\n  { a remark\n  over lines } writeln('after')\n"
                             "endproc\nprocedure Unused\n  x := 1.2.3\nendproc")));
    EXPECT_EQ(h.output, QStringLiteral("after\n"));

    ScriptHarness open;
    EXPECT_FALSE(
        open.run(QStringLiteral("procedure Main\n writeln('a')\n { never closed\nendproc")));
    EXPECT_EQ(open.output, QStringLiteral("a\n"));
    EXPECT_EQ(open.error(), QStringLiteral("Remark not closed before end of file."));

    ScriptHarness literal;
    EXPECT_FALSE(literal.runMain(QStringLiteral("writeln('one')\nwriteln(\"two)\nwriteln('\"')")));
    EXPECT_EQ(literal.output, QStringLiteral("one\n"));
    EXPECT_EQ(literal.error(), QStringLiteral("String is not terminated on this line."));
    EXPECT_EQ(literal.errorLines.value(0), 3);
}

TEST(ScriptLexer, NamesAreCaseInsensitiveAndCutAtThirtyCharacters)
{
    ScriptHarness h;
    EXPECT_TRUE(h.run(
        QStringLiteral("procedure main\n  var abcdefghijabcdefghijabcdefghijXYZ : integer; endvar\n"
                       "  ABCDEFGHIJABCDEFGHIJABCDEFGHIJ := 7\n  "
                       "writeln(abcdefghijabcdefghijabcdefghij_other:0)\n"
                       "endproc"),
        QStringLiteral("MAIN")));
    EXPECT_EQ(h.output, QStringLiteral("7\n"));
    EXPECT_TRUE(h.engine.ProcedureExists(QStringLiteral("Main")));
    EXPECT_TRUE(h.engine.ProcedureExists(QStringLiteral("mAIN")));
}

TEST(ScriptLexer, LongLinesAreKeptWhole)
{
    ScriptHarness h;
    const QString padding(300, QLatin1Char(' '));
    EXPECT_TRUE(h.runMain(QStringLiteral("writeln('a'") + padding + QStringLiteral(", 'b')")));
    EXPECT_EQ(h.output, QStringLiteral("ab\n"));
}
