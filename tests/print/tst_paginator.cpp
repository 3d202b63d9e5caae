#include "print/PrintJob.h"
#include "print/PrintPaginator.h"
#include "PrintTestSupport.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QList<PrintAlbum> albums(int count)
{
    QList<PrintAlbum> result;
    for (int n = 1; n <= count; ++n) {
        PrintAlbum a;
        a.id = QString::number(n);
        a.title = QStringLiteral("Album %1").arg(n, 2, 10, QLatin1Char('0'));
        a.artist = QStringLiteral("Artist");
        a.tracks = {{QStringLiteral("One"), 13500, {}}};
        result.append(a);
    }
    return result;
}

// Letter paper, half-inch header and footer, areas as given.
PrintTemplate pageTemplate(int flags, const QString &area, const QList<QRectF> &areas)
{
    PrintTemplate tpl;
    tpl.flags = flags | PrintTemplate::HasHeader | PrintTemplate::HasFooter;
    tpl.header = QStringLiteral("{\\rtf1 Page [%page] of [%album_count] albums}");
    tpl.footer = QStringLiteral("{\\rtf1 [%program]}");
    tpl.area = area;
    tpl.headerRect = QRectF(0.5, 0.25, 7.5, 0.5);
    tpl.footerRect = QRectF(0.5, 10.25, 7.5, 0.5);
    tpl.areas = areas;
    return tpl;
}

QString shown(const PrintPaginator::Block &block)
{
    return block.document->toPlainText();
}

class Paginator : public ::testing::Test
{
protected:
    Paginator()
    {
        m_buffer.open(QIODevice::WriteOnly);
        m_writer.setResolution(300);
    }

    QBuffer m_buffer;
    QPdfWriter m_writer{&m_buffer};
};

const QList<QRectF> FourAreas{QRectF(0.5, 1, 3.5, 4), QRectF(4.5, 1, 3.5, 4),
                              QRectF(0.5, 5.5, 3.5, 4), QRectF(4.5, 5.5, 3.5, 4)};

} // namespace

TEST_F(Paginator, SingleAlbumModeFillsEveryAreaAndNumbersThePages)
{
    const PrintTemplate tpl =
        pageTemplate(PrintTemplate::SingleAlbum,
                     QStringLiteral("{\\rtf1 [%album_number]. [%album_title][&nl][&foreach track]"
                                    "[%track_title] [%track_length][&end]}"),
                     FourAreas);
    PrintPaginator paginator(tpl, &m_writer);
    ASSERT_TRUE(paginator.paginate(albums(10)));
    const auto &pages = paginator.pages();
    ASSERT_EQ(pages.size(), 3);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(pages[p].number, p + 1);
        EXPECT_EQ(shown(pages[p].blocks[0]), QStringLiteral("Page %1 of 10 albums").arg(p + 1));
        EXPECT_EQ(shown(pages[p].blocks[1]), QStringLiteral("Orbisong"));
    }
    EXPECT_EQ(pages[0].albumCount, 4);
    EXPECT_EQ(pages[2].albumCount, 2);
    ASSERT_EQ(pages[2].blocks.size(), 4); // header, footer and two areas
    EXPECT_EQ(shown(pages[2].blocks[3]), QStringLiteral("10. Album 10\nOne 3:00"));
    // Areas take their places in flow order, in device pixels at 300 dpi.
    EXPECT_EQ(pages[1].blocks[3].rect, QRectF(1350, 300, 1050, 1200));
}

TEST_F(Paginator, SingleAlbumModeSkipsEmptyResults)
{
    // Only albums with an index print anything; the others leave their area to the next.
    PrintTemplate tpl = pageTemplate(PrintTemplate::SingleAlbum,
                                     QStringLiteral("{\\rtf1 [%album_index]}"), FourAreas);
    QList<PrintAlbum> list = albums(6);
    list[1].index = QStringLiteral("B");
    list[4].index = QStringLiteral("E");
    PrintPaginator paginator(tpl, &m_writer);
    ASSERT_TRUE(paginator.paginate(list));
    ASSERT_EQ(paginator.pages().size(), 1);
    const auto &blocks = paginator.pages()[0].blocks;
    ASSERT_EQ(blocks.size(), 4);
    EXPECT_EQ(shown(blocks[2]), QStringLiteral("B"));
    EXPECT_EQ(blocks[2].rect.topLeft(), QPointF(150, 300));
    EXPECT_EQ(shown(blocks[3]), QStringLiteral("E"));
    EXPECT_EQ(blocks[3].rect.topLeft(), QPointF(1350, 300));
}

TEST_F(Paginator, FlowModeContinuesInTheFirstAreaOfTheNextPage)
{
    // Two one-inch areas a page; 30 albums of three lines each at 12 points do not fit one.
    const PrintTemplate tpl = pageTemplate(
        0,
        QStringLiteral("{\\rtf1 [&foreach album][%album_title][&nl][&foreach track]"
                       "[&tab][%track_title][&tab][%track_length][&nl][&end][&nl][&end]}"),
        {QRectF(0.5, 1, 3.5, 1), QRectF(4.5, 1, 3.5, 1)});
    PrintPaginator paginator(tpl, &m_writer);
    ASSERT_TRUE(paginator.paginate(albums(30)));
    const auto &pages = paginator.pages();
    ASSERT_GT(pages.size(), 2);
    qreal shownHeight = 0;
    for (const auto &page : pages) {
        ASSERT_GE(page.blocks.size(), 3);
        for (int b = 2; b < page.blocks.size(); ++b) {
            const auto &block = page.blocks[b];
            EXPECT_LE(block.height, block.rect.height());
            EXPECT_GT(block.height, 0);
            shownHeight += block.height;
        }
    }
    // The second page starts in its first area where the first page's last area stopped.
    const auto &last = pages[0].blocks.last();
    EXPECT_EQ(pages[1].blocks[2].rect.topLeft(), pages[0].blocks[2].rect.topLeft());
    EXPECT_DOUBLE_EQ(pages[1].blocks[2].top, last.top + last.height);
    // Every line is shown once.
    const qreal total = pages[0].blocks[2].document->size().height();
    EXPECT_NEAR(shownHeight, total, 1.0);
    EXPECT_EQ(shown(pages.last().blocks[0]),
              QStringLiteral("Page %1 of 30 albums").arg(pages.size()));
}

TEST_F(Paginator, TemplatesThatPlaceNothingStop)
{
    const QString text = QStringLiteral("{\\rtf1 [&foreach album][%album_title][&nl][&end]}");
    for (const int flags : {0, int(PrintTemplate::SingleAlbum)}) {
        SCOPED_TRACE(flags);
        PrintPaginator none(pageTemplate(flags, text, {}), &m_writer);
        EXPECT_FALSE(none.paginate(albums(3)));
        EXPECT_TRUE(none.pages().isEmpty());
        EXPECT_FALSE(none.error().isEmpty());

        // A hundredth of an inch is lower than any line.
        PrintPaginator tiny(pageTemplate(flags, text, {QRectF(1, 1, 3, 0.01)}), &m_writer);
        EXPECT_FALSE(tiny.paginate(albums(3)));
        EXPECT_TRUE(tiny.pages().isEmpty());
        EXPECT_TRUE(tiny.error().contains(QStringLiteral("line")));
    }
    // Nothing is painted for such a template.
    QString error;
    EXPECT_EQ(PrintJob::print(pageTemplate(0, text, {}), albums(2), m_writer, &error), -1);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(m_buffer.size(), 0);
}
