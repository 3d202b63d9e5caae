#include "collection/TCfgFile.h"

#include "TestFiles.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <optional>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// Run in a forked child: lowers the file-size limit under the size of the new content, saves
// (which must fail and leave `path` as `original`), lifts the limit and saves again.
// Returns 0 when all went as expected, else the number of the step that did not.
int saveUnderSizeLimit(const QString &path, const QByteArray &original)
{
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return 1;
    const rlimit lowered{4096, limit.rlim_max};
    TCfgFile file(path);
    if (!file.load())
        return 2;
    file.WriteString("A", "S", "k", QString(64 * 1024, QLatin1Char('x')));
    if (setrlimit(RLIMIT_FSIZE, &lowered) != 0)
        return 3;
    if (file.save())
        return 4;
    if (file.errorString().isEmpty() || !file.isModified())
        return 5;
    if (readFile(path) != original)
        return 6;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        return 7;
    return file.save() ? 0 : 8;
}

// Loads `bytes`, forces a write and returns what was written.
QByteArray rewritten(const TestHome &home, const QByteArray &bytes)
{
    const QString path = home.file("c.obc");
    writeFile(path, bytes);
    TCfgFile file(path);
    EXPECT_TRUE(file.load());
    file.EraseBlock("no such block");
    EXPECT_TRUE(file.save());
    return readFile(path);
}

} // namespace

TEST(CfgFile, SyntaxLineEndsTrimmingAndStrayLines)
{
    TestHome home;
    const QByteArray lf =
        "[Stray]\nkey=lost\n<B>\nalso lost\n [S]\n\tK=v  \nx\n<A>trailing\n[T]\n;c=1\n";
    QByteArray crlf = lf;
    crlf.replace("\n", "\r\n");
    const QByteArray expected = "<A>\r\n [T]\r\n  ;c=1\r\n<B>\r\n [S]\r\n  K=v\r\n";
    EXPECT_EQ(rewritten(home, lf), expected);
    EXPECT_EQ(rewritten(home, crlf), expected);
    // Data ends at the first NUL byte.
    EXPECT_EQ(rewritten(home, QByteArray("<A>\n[T]\nk=1\n\0<B>\n", 17)),
              QByteArray("<A>\r\n [T]\r\n  k=1\r\n"));
    // "<>" is a block with an empty name; a line without ">" takes the rest of the line.
    EXPECT_EQ(rewritten(home, "<>\n[s]\na=1\n< open \n[s]\nb=2\n"),
              QByteArray("<>\r\n [s]\r\n  a=1\r\n<open>\r\n [s]\r\n  b=2\r\n"));
}

TEST(CfgFile, OrderingOfBlocksAndSections)
{
    TestHome home;
    // Capitals sort first; equal names keep both, the one read last first.
    const QByteArray text = "<b>\n[Z]\nk=1\n[a]\nk=2\n<B>\n[S]\nk=first\n<B>\n[S]\nk=second\n";
    EXPECT_EQ(rewritten(home, text),
              QByteArray("<B>\r\n [S]\r\n  k=second\r\n<B>\r\n [S]\r\n  k=first\r\n"
                         "<b>\r\n [Z]\r\n  k=1\r\n [a]\r\n  k=2\r\n"));
    const QString path = home.file("d.obc");
    writeFile(path, text);
    TCfgFile file(path);
    ASSERT_TRUE(file.load());
    // A lookup finds the first block in list order, whatever the letter case asked for.
    EXPECT_EQ(file.ReadString("b", "s", "K", "?"), "second");
    EXPECT_EQ(file.ReadString("B", "z", "k", "?"), "?");
    QStringList names;
    file.ReadBlockNames(names);
    EXPECT_EQ(names, QStringList({"B", "B", "b"}));
    // A new block goes before the first one with a greater or equal name.
    file.WriteString("A", "S", "k", "v");
    file.WriteString("C", "S", "k", "v");
    names.clear();
    file.ReadBlockNames(names);
    EXPECT_EQ(names, QStringList({"A", "B", "B", "C", "b"}));
    file.EraseBlock("b");
    names.clear();
    file.ReadBlockNames(names);
    EXPECT_EQ(names, QStringList({"A", "B", "C", "b"}));
    EXPECT_EQ(file.ReadString("B", "S", "k", "?"), "first");
    file.EraseBlock("B");
    EXPECT_EQ(file.ReadString("B", "Z", "k", "?"), "1");
}

TEST(CfgFile, KeysValuesAndConversions)
{
    TestHome home;
    const QString path = home.file("k.obc");
    writeFile(path, "<X>\n[S]\nAB=long\nA=\nn=$1F\nbad=12abc\nb=2\nneg=-7\n");
    TCfgFile file(path);
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.ReadString("x", "s", "a", "default"), "");
    EXPECT_EQ(file.ReadString("x", "s", "ab", "default"), "long");
    EXPECT_EQ(file.ReadString("x", "s", "abc", "default"), "default");
    EXPECT_EQ(file.ReadInteger("X", "S", "n", 0), 31);
    EXPECT_EQ(file.ReadInteger("X", "S", "bad", 5), 5);
    EXPECT_EQ(file.ReadInteger("X", "S", "neg", 5), -7);
    EXPECT_TRUE(file.ReadBool("X", "S", "b", false));
    EXPECT_FALSE(file.ReadBool("X", "S", "none", false));
    EXPECT_FALSE(file.isModified());

    file.WriteString("X", "S", "ab", "  padded\tvalue\r\nx  ");
    EXPECT_EQ(file.ReadString("X", "S", "AB", {}), "  padded value  x");
    file.WriteString("X", "S", "A", "first");
    file.WriteString("X", "T", "new", "1");
    file.EraseSection("X", "t");
    EXPECT_TRUE(file.isModified());
    ASSERT_TRUE(file.save());
    EXPECT_EQ(readFile(path), QByteArray("<X>\r\n [S]\r\n  ab=  padded value  x\r\n  A=first\r\n"
                                         "  n=$1F\r\n  bad=12abc\r\n  b=2\r\n  neg=-7\r\n"));
}

TEST(CfgFile, SaveOnlyWhenModifiedAndNeverInPlace)
{
    TestHome home;
    const QString path = home.file("s.obc");
    const QByteArray original = "<B>\n[S]\nk=1\n<A>\n[S]\nk=2\n";
    writeFile(path, original);
    {
        TCfgFile file(path);
        ASSERT_TRUE(file.load());
        EXPECT_EQ(file.ReadString("A", "S", "k", {}), "2");
        EXPECT_TRUE(file.save());
    }
    EXPECT_EQ(readFile(path), original);

    TCfgFile missing(home.file("missing.obc"));
    EXPECT_TRUE(missing.load());
    EXPECT_EQ(missing.blockCount(), 0);

    // A write that fails part-way (a file-size limit, in a child so the limit stays there)
    // leaves the old file whole, where a write in place would have cut it; the changes stay.
    const QString limited = home.file("limited.obc");
    writeFile(limited, original);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(saveUnderSizeLimit(limited, original));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "failed step in the child: " << WEXITSTATUS(status);
    EXPECT_TRUE(readFile(limited).contains("  k=" + QByteArray(64 * 1024, 'x') + "\r\n"));
}

TEST(CfgFile, EightBitText)
{
    TestHome home;
    const QString path = home.file("t.obc");
    // "Motörhead" in Windows-1252, "Café" in UTF-8, and a Windows-1252 quote (0x93).
    writeFile(path, "<A>\n[S]\nold=Mot\xF6rhead\nnew=Caf\xC3\xA9\nq=\x93hi\x94\n");
    TCfgFile file(path);
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.ReadString("A", "S", "old", {}), QString::fromUtf8("Motörhead"));
    EXPECT_EQ(file.ReadString("A", "S", "new", {}), QString::fromUtf8("Café"));
    EXPECT_EQ(file.ReadString("A", "S", "q", {}), QString::fromUtf8("“hi”"));
    file.WriteString("A", "T", "k", QString::fromUtf8("Ünïcode"));
    ASSERT_TRUE(file.save());
    const QByteArray written = readFile(path);
    EXPECT_EQ(written, QByteArray("<A>\r\n [S]\r\n  old=Mot\xC3\xB6rhead\r\n  new=Caf\xC3\xA9\r\n"
                                  "  q=\xE2\x80\x9Chi\xE2\x80\x9D\r\n [T]\r\n  k=\xC3\x9Cn\xC3\xAF"
                                  "code\r\n"));
    // A file we wrote reads back to the same values and writes back byte for byte.
    TCfgFile again(path);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.ReadString("A", "S", "old", {}), QString::fromUtf8("Motörhead"));
    again.WriteString("A", "S", "old", QString::fromUtf8("Motörhead"));
    ASSERT_TRUE(again.save());
    EXPECT_EQ(readFile(path), written);
}

namespace {

// The loading rule written out literally: each finished section goes into its block, and
// each finished block into the file, before the first element whose name is greater than or
// equal to its own.
QByteArray loadByInsertion(const QByteArray &text)
{
    struct Section
    {
        QByteArray name;
        QList<QByteArray> entries;
    };
    struct Block
    {
        QByteArray name;
        QList<Section> sections;
    };
    auto insertSorted = [](auto &list, auto item) {
        qsizetype at = 0;
        while (at < list.size() && list.at(at).name < item.name)
            ++at;
        list.insert(at, item);
    };
    QList<Block> blocks;
    std::optional<Block> block;
    std::optional<Section> section;
    auto closeSection = [&] {
        if (section && block)
            insertSorted(block->sections, *section);
        section.reset();
    };
    auto closeBlock = [&] {
        closeSection();
        if (block)
            insertSorted(blocks, *block);
        block.reset();
    };
    for (const QByteArray &raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.size() < 2)
            continue;
        if (line.startsWith('<')) {
            closeBlock();
            block = Block{line.mid(1).split('>').first().trimmed(), {}};
        } else if (line.startsWith('[')) {
            closeSection();
            if (block)
                section = Section{line.mid(1).split(']').first().trimmed(), {}};
        } else if (section) {
            section->entries.append(line);
        }
    }
    closeBlock();
    QByteArray out;
    for (const Block &b : blocks) {
        out += "<" + b.name + ">\r\n";
        for (const Section &s : b.sections) {
            out += " [" + s.name + "]\r\n";
            for (const QByteArray &e : s.entries)
                out += "  " + e + "\r\n";
        }
    }
    return out;
}

} // namespace

TEST(CfgFile, LoadingMatchesSortedInsertion)
{
    TestHome home;
    const char *const names[] = {"a", "A", "b", "B", "ab", "Ab", "aB", "AB", "0A1", "0a1", ""};
    QRandomGenerator random(7);
    QByteArray text;
    for (int i = 0; i < 3000; ++i) {
        text += "<" + QByteArray(names[random.bounded(int(std::size(names)))]) +
                QByteArray::number(random.bounded(40)) + ">\n";
        const int sections = random.bounded(4);
        for (int s = 0; s < sections; ++s) {
            text += "[" + QByteArray(names[random.bounded(int(std::size(names)))]) + "]\n";
            text += "k=" + QByteArray::number(i) + "." + QByteArray::number(s) + "\n";
        }
    }
    EXPECT_EQ(rewritten(home, text), loadByInsertion(text));

    // Lookups find the first match in that order, also after erasing it.
    const QString path = home.file("case.obc");
    writeFile(path, "<ab>\n[s]\nk=lower\n<AB>\n[s]\nk=upper\n<Ab>\n[s]\nk=mixed\n");
    TCfgFile file(path);
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.ReadString("ab", "s", "k", {}), "upper");
    file.EraseBlock("ab");
    EXPECT_EQ(file.ReadString("ab", "s", "k", {}), "mixed");
    file.EraseBlock("AB");
    EXPECT_EQ(file.ReadString("AB", "s", "k", {}), "lower");
    file.WriteString("aB", "s", "k", "written");
    EXPECT_EQ(file.ReadString("ab", "s", "k", {}), "written");
    QStringList names2;
    file.ReadBlockNames(names2);
    EXPECT_EQ(names2, QStringList{"ab"});
}

// Bulk changes step over each entry or block a bounded number of times, not once per change.
TEST(CfgFile, BulkChangesStayLinear)
{
    TestHome home;
    TCfgFile keys(home.file("keys.obc"));
    const int count = 20000;
    for (int i = 0; i < count; ++i)
        keys.WriteString("B", "S", QStringLiteral("K%1").arg(i), QString::number(i));
    keys.WriteString("B", "S", "k7", "again");
    EXPECT_LT(keys.steps(), quint64(4 * count)) << keys.steps();
    EXPECT_EQ(keys.ReadString("b", "s", "K7", {}), "again");
    EXPECT_EQ(keys.ReadString("B", "S", "K19999", {}), "19999");
    // A key written twice by hand: the first one answers, also in a long section.
    const QString twice = home.file("twice.obc");
    QByteArray text = "<B>\n[S]\ndup=first\n";
    for (int i = 0; i < 100; ++i)
        text += "k" + QByteArray::number(i) + "=v\n";
    writeFile(twice, text + "DUP=second\n");
    TCfgFile repeated(twice);
    ASSERT_TRUE(repeated.load());
    repeated.WriteString("B", "S", "new", "1");
    EXPECT_EQ(repeated.ReadString("B", "S", "Dup", {}), "first");
    repeated.WriteString("B", "S", "dup", "changed");
    ASSERT_TRUE(repeated.save());
    EXPECT_TRUE(readFile(twice).contains("  dup=changed\r\n"));
    EXPECT_TRUE(readFile(twice).contains("  DUP=second\r\n"));

    const QString path = home.file("blocks.obc");
    QByteArray blocks;
    QStringList names;
    const int blockCount = 50000;
    for (int i = 0; i < blockCount; ++i) {
        blocks += "<N" + QByteArray::number(i) + ">\n[S]\nk=v\n";
        if (i % 5)
            names.append(QStringLiteral("n%1").arg(i));
    }
    writeFile(path, blocks);
    TCfgFile file(path);
    ASSERT_TRUE(file.load());
    file.EraseBlocks(names);
    EXPECT_LT(file.steps(), quint64(2 * blockCount)) << file.steps();
    EXPECT_EQ(file.blockCount(), blockCount / 5);
    EXPECT_TRUE(file.blockExists("N5"));
    EXPECT_FALSE(file.blockExists("N6"));
}

// Blocks whose names repeat, also in other letter case, each get a name of their own; the
// one lookups found keeps its name and nothing is merged.
TEST(CfgFile, RepeatedBlockNamesAreRenamed)
{
    TestHome home;
    const QString path = home.file("r.obc");
    writeFile(path,
              "<a>\n[S]\nk=1\n<A>\n[S]\nk=2\n<A>\n[S]\nk=3\n<A~2>\n[S]\nk=4\n<b>\n[S]\nk=5\n");
    TCfgFile file(path);
    ASSERT_TRUE(file.load());
    const QString before = file.ReadString("a", "S", "k", {});
    QStringList renamed;
    EXPECT_EQ(file.renameRepeatedBlocks([&](const QString &from, const QString &to) {
        renamed.append(from + "->" + to);
    }),
              2);
    EXPECT_EQ(renamed, QStringList({"A->A~3", "a->a~4"}));
    EXPECT_EQ(file.ReadString("a", "S", "k", {}), before);
    QStringList names;
    file.ReadBlockNames(names);
    EXPECT_EQ(names, QStringList({"A", "A~2", "A~3", "a~4", "b"}));
    EXPECT_EQ(file.ReadString("A~3", "S", "k", {}), "2");
    EXPECT_EQ(file.ReadString("a~4", "S", "k", {}), "1");
    EXPECT_EQ(file.renameRepeatedBlocks([](const QString &, const QString &) {}), 0);
}
