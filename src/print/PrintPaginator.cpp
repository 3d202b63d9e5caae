#include "print/PrintPaginator.h"

#include "print/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace Orbisong {

PrintPaginator::PrintPaginator(const PrintTemplate &tpl, QPaintDevice *device, QPointF offset)
    : m_template(tpl), m_device(device), m_offset(offset)
{
}

PrintPaginator::~PrintPaginator() = default;

QRectF PrintPaginator::toDevice(const QRectF &inches) const
{
    const qreal dx = m_device->logicalDpiX();
    const qreal dy = m_device->logicalDpiY();
    return QRectF(inches.left() * dx - m_offset.x(), inches.top() * dy - m_offset.y(),
                  inches.width() * dx, inches.height() * dy);
}

std::shared_ptr<QTextDocument> PrintPaginator::layOut(const QString &rtf, qreal width,
                                                      bool wrap) const
{
    auto document = std::make_shared<QTextDocument>();
    document->documentLayout()->setPaintDevice(m_device);
    document->setDocumentMargin(0);
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    // Tab stops every half inch. The layout scales tab distances from 96 units an inch to
    // the device's resolution itself.
    option.setTabStopDistance(48);
    document->setDefaultTextOption(option);
    // Expanded text is rich text even when the template's contents were written plain.
    const bool rich = rtf.trimmed().startsWith(QLatin1String("{\\rtf"));
    readRtf(rich ? rtf : QStringLiteral("{\\rtf1 ") + rtf + QLatin1Char('}'), *document);
    document->setTextWidth(width);
    return document;
}

QList<QPair<qreal, qreal>> PrintPaginator::lines(QTextDocument &document)
{
    QList<QPair<qreal, qreal>> result;
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const qreal top = layout->blockBoundingRect(block).top();
        const QTextLayout *lines = block.layout();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            result.append({top + line.y(), top + line.y() + line.height()});
        }
    }
    return result;
}

void PrintPaginator::startPage(const QList<PrintAlbum> &albums)
{
    Page page;
    page.number = int(m_pages.size()) + 1;
    m_expander.setVariable(QStringLiteral("PAGE"), QString::number(page.number));
    const auto addBlock = [&](const QString &contents, const QRectF &inches) {
        const QRectF rect = toDevice(inches);
        const int counter = m_expander.albumCounter();
        auto document = layOut(m_expander.expand(contents, albums), rect.width(), true);
        m_expander.setAlbumCounter(counter);
        page.blocks.append({rect, document, 0, rect.height()});
    };
    if (m_template.has(PrintTemplate::HasHeader))
        addBlock(m_template.header, m_template.headerRect);
    if (m_template.has(PrintTemplate::HasFooter))
        addBlock(m_template.footer, m_template.footerRect);
    m_pages.append(page);
}

bool PrintPaginator::stuck()
{
    m_pages.removeLast();
    m_error = m_template.areas.isEmpty()
                  ? QStringLiteral("the template has no areas to print into")
                  : QStringLiteral("no area of the template can hold a line of text (page %1)")
                        .arg(m_pages.size() + 1);
    return false;
}

bool PrintPaginator::paginate(const QList<PrintAlbum> &albums)
{
    m_pages.clear();
    m_error.clear();
    m_expander.setReportVariables(int(albums.size()), 1);
    m_expander.setAlbumCounter(1);
    return m_template.has(PrintTemplate::SingleAlbum) ? paginateSingle(albums)
                                                      : paginateFlow(albums);
}

bool PrintPaginator::paginateSingle(const QList<PrintAlbum> &albums)
{
    const qsizetype areaCount = m_template.areas.size();
    qsizetype area = areaCount; // no page started yet
    for (qsizetype n = 0; n < albums.size(); ++n) {
        const QList<PrintAlbum> one{albums.at(n)};
        m_expander.loadAlbum(one.first());
        m_expander.setVariable(QStringLiteral("ALBUM_NUMBER"), QString::number(n + 1));
        m_expander.setAlbumCounter(int(n + 1));
        const QString rtf = m_expander.expand(m_template.area, one);
        // An empty result leaves the area to the next album.
        if (layOut(rtf, 0, false)->toPlainText().trimmed().isEmpty())
            continue;
        bool placed = false;
        while (!placed) {
            if (area >= areaCount) {
                if (!m_pages.isEmpty() && m_pages.last().albumCount == 0)
                    return stuck();
                startPage(one);
                area = 0;
                if (areaCount == 0)
                    return stuck();
            }
            const QRectF rect = toDevice(m_template.areas.at(area));
            auto document = layOut(rtf, rect.width(), false);
            const auto shown = lines(*document);
            ++area;
            if (shown.isEmpty() || shown.first().second > rect.height())
                continue;
            qreal height = 0;
            for (const auto &line : shown) {
                if (line.second > rect.height())
                    break;
                height = line.second;
            }
            m_pages.last().blocks.append({rect, document, 0, height});
            ++m_pages.last().albumCount;
            placed = true;
        }
    }
    if (!m_pages.isEmpty() && m_pages.last().albumCount == 0)
        return stuck();
    return true;
}

bool PrintPaginator::paginateFlow(const QList<PrintAlbum> &albums)
{
    const QString rtf = m_expander.expand(m_template.area, albums);
    const qreal width = m_template.areas.isEmpty() ? 0 : toDevice(m_template.areas.first()).width();
    auto document = layOut(rtf, width, false);
    if (document->toPlainText().trimmed().isEmpty())
        return true;
    const auto all = lines(*document);
    qsizetype next = 0;
    while (next < all.size()) {
        startPage(albums);
        bool placed = false;
        for (const QRectF &inches : std::as_const(m_template.areas)) {
            if (next >= all.size())
                break;
            const QRectF rect = toDevice(inches);
            const qreal top = all.at(next).first;
            qsizetype end = next;
            while (end < all.size() && all.at(end).second - top <= rect.height())
                ++end;
            if (end == next)
                continue;
            // Each area keeps its own width for alignment; the lines stay as laid out.
            m_pages.last().blocks.append({rect, document, top, all.at(end - 1).second - top});
            next = end;
            placed = true;
        }
        if (!placed)
            return stuck();
    }
    return true;
}

void PrintPaginator::paint(QPainter &painter, const Page &page) const
{
    for (const Block &block : page.blocks) {
        painter.save();
        painter.translate(block.rect.topLeft() - QPointF(0, block.top));
        const QRectF clip(0, block.top, block.rect.width(), block.height);
        painter.setClipRect(clip);
        block.document->drawContents(&painter, clip);
        painter.restore();
    }
}

} // namespace Orbisong
