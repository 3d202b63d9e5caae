#include "cli/CliCollectionRun.h"
#include "cli/CliCommand.h"
#include "cli/CliQuestionPort.h"

#include "base/AppPaths.h"
#include "base/MessageIds.h"
#include "base/MessageText.h"
#include "base/StringTable.h"
#include "export/ExportJob.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace Orbisong::Cli {

namespace {

const QString Synopsis =
    QStringLiteral("export html|text|collection --to PATH [--template FILE] [--albums ID,ID...]");
const QString Details = QStringLiteral(
    "  html        web pages from a template into the folder PATH (made when missing); the\n"
    "              shipped template unless --template names a template file\n"
    "  text        one delimited line per album, with track titles, into the file PATH\n"
    "  collection  the albums as a collection file PATH, for another computer's collection\n"
    "  --albums    only these album IDs, in this order; otherwise every audio album\n"
    "Prints the number of albums written.\n");

const QString ShippedTemplate = QStringLiteral("templates/collection.obt");

int failWithMessage(Context &c, int id)
{
    const MessageText message = MessageText::parse(StringTable::text(id));
    return c.fail(CliQuestionPort::commandLineText(message.title, message.body));
}

int exportCommand(Context &c)
{
    const QString format = c.args.value(0);
    static const QStringList Known = {QStringLiteral("--to"), QStringLiteral("--template"),
                                      QStringLiteral("--albums")};
    QHash<QString, QString> options;
    for (qsizetype i = 1; i < c.args.size(); i += 2) {
        const QString name = c.args.at(i);
        if (i + 1 >= c.args.size() || !Known.contains(name))
            return c.usage(Synopsis);
        options.insert(name, c.args.at(i + 1));
    }
    const QString to = options.value(QStringLiteral("--to"));
    ExportProfile profile;
    if (format == QLatin1String("html")) {
        profile.flags = ExportFormatHtml;
        profile.outputFolder = to;
    } else if (format == QLatin1String("text")) {
        profile.flags = ExportFormatAscii | ExportTrackTitles;
        profile.outputFile = to;
    } else if (format == QLatin1String("collection")) {
        profile.flags = ExportFormatCollection;
        profile.outputFile = to;
    } else {
        return c.usage(Synopsis);
    }
    if (to.trimmed().isEmpty())
        return failWithMessage(c, Msg::NoExportLocation);
    if (options.contains(QStringLiteral("--albums"))) {
        profile.flags |= ExportListedAlbums;
        profile.albumIds =
            options.value(QStringLiteral("--albums")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    } else {
        profile.flags |= ExportAllAlbums;
    }
    QString templatePath;
    if (profile.isHtml()) {
        templatePath =
            options.value(QStringLiteral("--template"), AppPaths::shippedFile(ShippedTemplate));
        if (!QFileInfo(templatePath).isFile())
            return failWithMessage(c, Msg::NoExportTemplate);
        // A command line has no one to ask whether to make the folder: it is made.
        QDir().mkpath(to);
    }
    return runOnCollection(c, false, [&](Context &c, Collection &collection) {
        const ExportJob job(collection, profile, templatePath);
        const ExportResult result = job.run();
        if (result.messageId != 0)
            return failWithMessage(c, result.messageId);
        for (const QString &name : result.refused)
            c.err << "not written, outside the output folder: " << name << '\n';
        if (!result.error.isEmpty())
            return c.fail(result.error);
        c.out << result.albums << '\n';
        return int(Success);
    });
}

const Registration registration(QStringLiteral("export"), Synopsis, exportCommand, Details);

} // namespace

} // namespace Orbisong::Cli
