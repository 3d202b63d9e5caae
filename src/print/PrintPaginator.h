#pragma once

#include "print/PrintAlbum.h"
#include "print/PrintTemplate.h"
#include "print/TemplateExpander.h"

#include <QList>
#include <QPointF>
#include <QRectF>

#include <memory>

class QPaintDevice;
class QPainter;
class QTextDocument;

namespace Orbisong {

// Lays albums out on pages through a print template, in the device pixels of the device
// that will be painted. Single-album mode gives each album its own area; flow mode expands
// the area contents once over all albums and pours the lines into the areas, page after page.
// Headers and footers word-wrap, area text does not. A page on which no area can take a line
// (no areas, or areas lower than a line) ends the layout with an error instead of adding
// pages for ever.
class PrintPaginator
{
public:
    struct Block
    {
        QRectF rect; // device pixels
        std::shared_ptr<QTextDocument> document;
        qreal top = 0;    // where the shown part starts within the document
        qreal height = 0; // how much of the document is shown
    };
    struct Page
    {
        int number = 0;
        int albumCount = 0; // single-album mode: albums placed on the page
        QList<Block> blocks;
    };

    // `offset` is the device's physical margin: where its painter's origin lies on the paper.
    PrintPaginator(const PrintTemplate &tpl, QPaintDevice *device, QPointF offset = {});
    ~PrintPaginator();

    // False when a page would place nothing; the pages laid out so far stay.
    bool paginate(const QList<PrintAlbum> &albums);
    const QList<Page> &pages() const { return m_pages; }
    QString error() const { return m_error; }

    void paint(QPainter &painter, const Page &page) const;

private:
    QRectF toDevice(const QRectF &inches) const;
    std::shared_ptr<QTextDocument> layOut(const QString &rtf, qreal width, bool wrap) const;
    // The line tops and bottoms of a laid-out document.
    static QList<QPair<qreal, qreal>> lines(QTextDocument &document);
    void startPage(const QList<PrintAlbum> &albums);
    bool paginateSingle(const QList<PrintAlbum> &albums);
    bool paginateFlow(const QList<PrintAlbum> &albums);
    bool stuck();

    PrintTemplate m_template;
    QPaintDevice *m_device;
    QPointF m_offset;
    TemplateExpander m_expander;
    QList<Page> m_pages;
    QString m_error;
};

} // namespace Orbisong
