#pragma once

#include "print/PrintAlbum.h"
#include "print/PrintTemplate.h"

#include <QString>

class QPagedPaintDevice;

namespace Orbisong {

// One printed report: paginates the albums through the template for the device and paints
// the pages. Nothing is painted when the template cannot place the albums.
class PrintJob
{
public:
    static QString title() { return QStringLiteral("Orbisong 4.0.3 Collection Report"); }

    // The number of pages painted, or -1 with `error` set.
    static int print(const PrintTemplate &tpl, const QList<PrintAlbum> &albums,
                     QPagedPaintDevice &device, QString *error = nullptr);
    // The same into a PDF file on letter paper.
    static int printToPdf(const PrintTemplate &tpl, const QList<PrintAlbum> &albums,
                          const QString &path, QString *error = nullptr);
};

} // namespace Orbisong
