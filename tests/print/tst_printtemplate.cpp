#include "print/PrintTemplate.h"
#include "print/TemplateExpander.h"
#include "PrintTestSupport.h"

#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

PrintAlbum album(const QString &id, const QString &title, const QString &artist,
                 const QString &owner = {})
{
    PrintAlbum a;
    a.id = id;
    a.title = title;
    a.artist = artist;
    a.owner = owner;
    return a;
}

} // namespace

TEST(PrintTemplateFile, WritesAndReadsEveryPart)
{
    QTemporaryDir dir;
    PrintTemplate tpl;
    tpl.flags = PrintTemplate::SingleAlbum | PrintTemplate::HasHeader | PrintTemplate::HasFooter;
    tpl.header = QStringLiteral("{\\rtf1 Head\\par [%page]}\r\nsecond\tline \\ end");
    tpl.footer = QStringLiteral("foot");
    tpl.area = QStringLiteral("{\\rtf1 [%album_title]}");
    tpl.headerRect = QRectF(0.25, 0.25, 8, 1);
    tpl.footerRect = QRectF(0.25, 9.75, 8, 1);
    tpl.areas = {QRectF(0.5, 1.5, 3.5, 4), QRectF(4.5, 1.5, 3.5, 4.0001)};
    const QString path = dir.filePath(QStringLiteral("sub/folder/catalogue.obt"));
    ASSERT_TRUE(writePrintTemplate(path, tpl));

    const QList<QByteArray> lines = readFile(path).split('\n');
    EXPECT_EQ(lines.value(0), QByteArray("PRINT\r"));
    EXPECT_EQ(lines.value(1), QByteArray("13\r"));
    EXPECT_EQ(lines.value(2),
              QByteArray("{\\\\rtf1 Head\\\\par [%page]}\\nsecond\\tline \\\\ end\r"));
    EXPECT_EQ(lines.value(5), QByteArray("2500,2500,80000,10000\r"));
    EXPECT_EQ(lines.value(8), QByteArray("45000,15000,35000,40001\r"));
    EXPECT_TRUE(isPrintTemplateFile(path));

    PrintTemplate back;
    ASSERT_TRUE(readPrintTemplate(path, back));
    EXPECT_EQ(back.flags, tpl.flags);
    EXPECT_EQ(back.header, tpl.header);
    EXPECT_EQ(back.area, tpl.area);
    EXPECT_EQ(back.headerRect, tpl.headerRect);
    EXPECT_EQ(back.footerRect, tpl.footerRect);
    ASSERT_EQ(back.areas.size(), 2);
    EXPECT_DOUBLE_EQ(back.areas[1].height(), 4.0001);
}

TEST(PrintTemplateFile, ReadsLeniently)
{
    QTemporaryDir dir;
    // Lower-case "print", no header or footer (their lines not parsed), blank lines and a
    // backslash before an ordinary character kept.
    const QString path = dir.filePath(QStringLiteral("t.obt"));
    writeFile(path, "print\n2\n\n\na\\b\\\\c\\x\ngarbage\ngarbage\n\n10000,20000,30000,40000\n\n"
                    "1,2,3\n0,0,5000,5000\n");
    PrintTemplate tpl;
    ASSERT_TRUE(readPrintTemplate(path, tpl));
    EXPECT_EQ(tpl.flags, PrintTemplate::RowsFirst);
    EXPECT_EQ(tpl.area, QStringLiteral("a\\b\\c\\x"));
    EXPECT_TRUE(tpl.headerRect.isNull());
    ASSERT_EQ(tpl.areas.size(), 2);
    EXPECT_EQ(tpl.areas[0], QRectF(1, 2, 3, 4));

    const QString other = dir.filePath(QStringLiteral("export.obt"));
    writeFile(other, "EXPORT\n0\n");
    EXPECT_FALSE(isPrintTemplateFile(other));
    EXPECT_FALSE(readPrintTemplate(other, tpl));
}

TEST(PrintTemplateFile, SortsAreasInFlowOrder)
{
    PrintTemplate tpl;
    tpl.areas = {QRectF(4, 5, 1, 1), QRectF(0, 5, 1, 1), QRectF(4, 0, 1, 1), QRectF(0, 0, 1, 1)};
    tpl.flags = PrintTemplate::RowsFirst;
    tpl.sortAreas();
    EXPECT_EQ(tpl.areas, (QList<QRectF>{QRectF(0, 0, 1, 1), QRectF(4, 0, 1, 1), QRectF(0, 5, 1, 1),
                                        QRectF(4, 5, 1, 1)}));
    tpl.flags = 0;
    tpl.sortAreas();
    EXPECT_EQ(tpl.areas, (QList<QRectF>{QRectF(0, 0, 1, 1), QRectF(0, 5, 1, 1), QRectF(4, 0, 1, 1),
                                        QRectF(4, 5, 1, 1)}));
}

TEST(TemplateExpansion, TagsLoopsAndEscaping)
{
    PrintAlbum a = album("a1", "The Zoo", "The Band", "Ann");
    a.year = "1970";
    a.seconds = 2599;
    a.comments = QStringLiteral("first\\nsecond {x}");
    a.customData = {QStringLiteral("Label=Apple")};
    a.tracks = {{QStringLiteral("Intro"), 13500, QStringLiteral("Recorded\\nin London")},
                {QString(), 4574, QString()}};
    PrintAlbum b = album("b2", "Yes", "band", "");
    PrintAlbum c = album("c3", "A Cat", "Abba", "Bob");
    const QList<PrintAlbum> albums{a, b, c};

    TemplateExpander x;
    x.setReportVariables(3, 7);
    EXPECT_EQ(x.expand(QStringLiteral("[[%page] [%PAGE]/[%album_count] [%unknown][plain]"), {}),
              QStringLiteral("[%page] 7/3 "));
    EXPECT_EQ(x.expand(QStringLiteral("{\\rtf1 a\\par b\\par\\b c\\pard d \\\\par x}"), {}),
              QStringLiteral("{\\rtf1 ab\\b c\\pard d \\\\par x}"));

    // Albums sorted by title without "The " or "A ", numbered on.
    x.setAlbumCounter(1);
    EXPECT_EQ(x.expand(QStringLiteral("[&foreach album][%album_number].[%album_title][&nl][&end]"),
                       albums),
              QStringLiteral("1.A Cat\\par 2.Yes\\par 3.The Zoo\\par "));
    EXPECT_EQ(x.albumCounter(), 4);

    // Track variables: default titles, lengths in frames, notes with their lines back.
    x.loadAlbum(a);
    EXPECT_EQ(x.expand(QStringLiteral("[&foreach track][%track_number] [%track_title] "
                                      "[%track_length] <[%track_other]>[&tab][&end]"),
                       albums),
              QStringLiteral("1 Intro 3:00 <Recorded\\par in London>\\tab "
                             "2 Track 2 1:00 <>\\tab "));
    EXPECT_EQ(x.expand(QStringLiteral("[%album_comments]|[%album_length]|[%album_label]|"
                                      "[%album_binder]|[%album_id]"),
                       albums),
              QStringLiteral("first\\par second \\{x\\}|43:19|Apple|(None)|a1"));
}

TEST(TemplateExpansion, GroupLoopsFilterAndSort)
{
    const QList<PrintAlbum> albums{
        album("1", "Stage Fright", "The Band", "Ann"), album("2", "Second", "Band", ""),
        album("3", "Arrival", "ABBA", ""), album("4", "Cream", "Cream", "ann")};
    TemplateExpander x;
    // "The Band" and "Band" sort as "Band" but stay two artists.
    EXPECT_EQ(x.expand(QStringLiteral("[&foreach artist][%artist]:[&foreach album]"
                                      "[%album_title];[&end]/[&end]"),
                       albums),
              QStringLiteral("ABBA:Arrival;/Band:Second;/The Band:Stage Fright;/"
                             "Cream:Cream;/"));
    // An empty owner is "(None)", and the album loop inside lists exactly those albums.
    EXPECT_EQ(x.expand(QStringLiteral("[&foreach owner]<[%owner]>[&foreach \"album\"]"
                                      "[%album_id][&end][&end][%owner]"),
                       albums),
              QStringLiteral("<(None)>32<Ann>41"));
    EXPECT_EQ(TemplateExpander::artistKey(QStringLiteral("The Band"), 0),
              TemplateExpander::artistKey(QStringLiteral("Band"), 0));
    EXPECT_EQ(TemplateExpander::artistKey(QStringLiteral("John Smith"), 4),
              QStringLiteral("SMITHJOHN"));
}
