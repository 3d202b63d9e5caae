#include "ExportFixture.h"

#include "export/TTemplateProcessor.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QString writeTemplate(const ExportFixture &f, const QString &text)
{
    const QString path = f.home.file(QStringLiteral("test.obt"));
    writeFile(path, text.toUtf8());
    return path;
}

} // namespace

// Loops by artist with a file each, albums by title without "The", tracks, "[[", the value
// encodings, conditions, unknown commands and "[&END" at the top, against stored output.
TEST(TemplateProcessor, MatchesTheGoldenPages)
{
    ExportFixture f;
    const QString out = f.folder(QStringLiteral("out"));
    const ExportResult result =
        f.exportHtml(ExportFixture::data(QStringLiteral("golden.obt")), out);
    ASSERT_TRUE(result.succeeded()) << result.error.toStdString();
    EXPECT_EQ(result.albums, 5); // the CD-ROM is no audio album
    const QString golden = ExportFixture::data(QStringLiteral("golden"));
    QStringList expected = filesIn(golden);
    expected.removeAll(QStringLiteral("albums.txt"));
    expected.removeAll(QStringLiteral("albums.obc"));
    ASSERT_EQ(filesIn(out), expected);
    for (const QString &name : expected) {
        EXPECT_EQ(readFile(out + QLatin1Char('/') + name),
                  readFile(golden + QLatin1Char('/') + name))
            << name.toStdString();
    }
}

// Names from the collection never lead a FILE block out of the output folder: separators
// are replaced, "." and ".." refused, and a link in the folder pointing outside is not
// followed.
TEST(TemplateProcessor, FileNamesStayInsideTheOutputFolder)
{
    ExportFixture f;
    const QString parent = f.folder(QStringLiteral("site"));
    const QString out = f.folder(QStringLiteral("site/out"));
    writeFile(parent + QStringLiteral("/outside.html"), "keep");
    ASSERT_TRUE(
        QFile::link(parent + QStringLiteral("/outside.html"), out + QStringLiteral("/link.html")));
    const QString path = writeTemplate(
        f, QStringLiteral("HTML\n[&FOREACH ARTIST][&FILE %ARTIST.html][$ARTIST][&END][&END]"
                          "[&FILE ..]x[&END][&FILE .]x[&END][&FILE /etc/evil]x[&END]"
                          "[&FILE ../up.html]x[&END][&FILE link.html]x[&END]"));
    const ExportResult result = f.exportHtml(path, out);

    EXPECT_EQ(filesIn(parent), QStringList({QStringLiteral("outside.html")}));
    EXPECT_EQ(readFile(parent + QStringLiteral("/outside.html")), "keep");
    EXPECT_EQ(filesIn(out),
              QStringList({"(None).html", ".._.._evil.html", ".._up.html", "AC_DC.html",
                           "The Beatles.html", "_etc_evil", "link.html"}));
    EXPECT_EQ(result.refused, QStringList({"..", ".", "link.html"}));
    EXPECT_TRUE(readFile(out + QStringLiteral("/AC_DC.html")).contains("AC/DC"));
}

// A FILE block may not replace the collection file, also when the output folder is the
// collection's own.
TEST(TemplateProcessor, NeverReplacesTheCollectionFile)
{
    ExportFixture f;
    const QByteArray before = readFile(f.path);
    const QString path =
        writeTemplate(f, QStringLiteral("HTML\n[&FILE ann.obc]x[&END][&FILE ok.html]y[&END]"));
    const ExportResult result = f.exportHtml(path, f.home.path());
    EXPECT_EQ(readFile(f.path), before);
    EXPECT_EQ(result.refused, QStringList({"ann.obc"}));
    EXPECT_TRUE(QFile::exists(f.home.file(QStringLiteral("ok.html"))));
}

TEST(TemplateProcessor, RefusesWhatIsNoTemplate)
{
    ExportFixture f;
    const QString out = f.folder(QStringLiteral("out"));
    const ExportResult notHtml =
        f.exportHtml(writeTemplate(f, QStringLiteral("TEXT\n[&FILE a.html]x[&END]")), out);
    EXPECT_FALSE(notHtml.succeeded());
    const ExportResult missing = f.exportHtml(f.home.file(QStringLiteral("none.obt")), out);
    EXPECT_EQ(missing.messageId, 12305);
    const ExportResult noFolder = f.exportHtml(
        writeTemplate(f, QStringLiteral("HTML\n[&FILE a.html]x[&END]")), out + "/missing");
    EXPECT_EQ(noFolder.messageId, 12325);
    EXPECT_TRUE(filesIn(out).isEmpty());
}

// Parsing edges: a "[" at the very end, a tag without "]", a name tag with blanks.
TEST(TemplateProcessor, ParsesTheEdgesOfTags)
{
    const QList<TemplateNode> nodes = parseTemplate(QStringLiteral("a[ $X ]b[&FILE x[$Y"));
    ASSERT_EQ(nodes.size(), 4);
    EXPECT_EQ(nodes.at(1).text, QStringLiteral("X"));
    EXPECT_EQ(nodes.at(3).command, QStringLiteral("&FILE"));
    ASSERT_TRUE(nodes.at(3).children.isEmpty()); // the tag ran to the end of the text
    const QList<TemplateNode> end = parseTemplate(QStringLiteral("x["));
    ASSERT_EQ(end.size(), 1);
    EXPECT_EQ(end.at(0).text, QStringLiteral("x["));
}

// The run reports its progress through the outermost loop and stops when cancelled; a
// cancelled FILE block is not written.
TEST(TemplateProcessor, StopsWhenCancelled)
{
    ExportFixture f;
    const QString out = f.folder(QStringLiteral("out"));
    QList<ExportAlbum> albums;
    for (int i = 0; i < 10; ++i) {
        ExportAlbum album;
        album.id = QStringLiteral("A%1").arg(i);
        albums.append(album);
    }
    std::atomic_bool cancel = false;
    QList<int> reported;
    TTemplateProcessor::Options options;
    options.outputFolder = out;
    options.cancel = &cancel;
    options.progress = [&](int permille) {
        reported.append(permille);
        if (reported.size() == 3)
            cancel = true;
    };
    TTemplateProcessor processor(albums, options);
    ASSERT_TRUE(
        processor.run(QStringLiteral("HTML\n[&FOREACH ALBUM][&FILE %ALBUM.html]x[&END][&END]")));
    EXPECT_TRUE(processor.cancelled());
    EXPECT_EQ(reported, QList<int>({100, 200, 300}));
    EXPECT_EQ(filesIn(out), QStringList({"A0.html", "A1.html", "A2.html"}));
}
