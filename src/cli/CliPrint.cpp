#include "cli/CliCollectionRun.h"
#include "cli/CliCommand.h"
#include "cli/CliGuiApplication.h"

#include "collection/Collection.h"
#include "print/PrintJob.h"
#include "print/PrintTemplate.h"
#include "print/PrintTemplateFolder.h"

#include <QFileInfo>

namespace Orbisong::Cli {

namespace {

int printAlbums(Context &c)
{
    QString templateName;
    QString pdf;
    QStringList ids;
    bool albumsGiven = false;
    const QString usage = QStringLiteral("print --template FILE --pdf OUT.pdf [--albums ID,ID...]");
    for (qsizetype i = 0; i < c.args.size(); ++i) {
        const QString option = c.args.at(i);
        if (i + 1 >= c.args.size())
            return c.usage(usage);
        const QString value = c.args.at(++i);
        if (option == QLatin1String("--template")) {
            templateName = value;
        } else if (option == QLatin1String("--pdf")) {
            pdf = value;
        } else if (option == QLatin1String("--albums")) {
            albumsGiven = true;
            ids = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
        } else {
            return c.usage(usage);
        }
    }
    if (templateName.isEmpty() || pdf.isEmpty() || (albumsGiven && ids.isEmpty()))
        return c.usage(usage);

    const QString path = PrintTemplateFolder::pathOf(templateName);
    if (!QFileInfo::exists(path)) {
        c.err << "no template " << templateName << '\n';
        return NotFound;
    }
    PrintTemplate tpl;
    QString error;
    if (!readPrintTemplate(path, tpl, &error))
        return c.fail(error);

    return runOnCollection(c, false, [&](Context &c, Collection &collection) {
        for (const QString &id : std::as_const(ids)) {
            if (!collection.FindAlbum(id)) {
                c.err << "no album " << id << '\n';
                return int(NotFound);
            }
        }
        const QList<PrintAlbum> albums = loadPrintAlbums(collection, ids);
        const int pages = PrintJob::printToPdf(tpl, albums, pdf, &error);
        if (pages < 0)
            return c.fail(QStringLiteral("print: ") + error);
        c.out << pages << '\n';
        return int(Success);
    });
}

const NeedsGuiApplication needsGui(QStringLiteral("print"));

const Registration registration(
    QStringLiteral("print"),
    QStringLiteral("print --template FILE --pdf OUT.pdf [--albums ID,ID...]"), printAlbums,
    QStringLiteral(
        "  --template FILE   a print template: a path, or a file name in the templates folder\n"
        "                    (catalogue.obt, cd-insert.obt)\n"
        "  --pdf OUT.pdf     the PDF file to write (letter paper)\n"
        "  --albums ID,...   the albums to print, in this order; default every album\n"
        "Prints the number of pages written. A template that cannot place the albums (no\n"
        "areas, or areas lower than a line) is an error and writes nothing."));

} // namespace

} // namespace Orbisong::Cli
