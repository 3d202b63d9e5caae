#include "print/PrintJob.h"

#include "print/PrintPaginator.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace Orbisong {

int PrintJob::print(const PrintTemplate &tpl, const QList<PrintAlbum> &albums,
                    QPagedPaintDevice &device, QString *error)
{
    // The painter's origin is the corner of the printable area; template rectangles are
    // measured from the paper's edge.
    const QPointF offset = device.pageLayout().paintRectPixels(device.logicalDpiX()).topLeft();
    PrintPaginator paginator(tpl, &device, offset);
    if (!paginator.paginate(albums)) {
        if (error)
            *error = paginator.error();
        return -1;
    }
    if (paginator.pages().isEmpty())
        return 0;
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error)
            *error = QStringLiteral("the printer could not be started");
        return -1;
    }
    bool first = true;
    for (const PrintPaginator::Page &page : paginator.pages()) {
        if (!first)
            device.newPage();
        first = false;
        paginator.paint(painter, page);
    }
    painter.end();
    return int(paginator.pages().size());
}

int PrintJob::printToPdf(const PrintTemplate &tpl, const QList<PrintAlbum> &albums,
                         const QString &path, QString *error)
{
    QPdfWriter writer(path);
    writer.setTitle(title());
    writer.setCreator(QStringLiteral("Orbisong 4.0.3"));
    writer.setResolution(300);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    return print(tpl, albums, writer, error);
}

} // namespace Orbisong
