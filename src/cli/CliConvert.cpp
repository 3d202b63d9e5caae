#include "cli/CliCommand.h"

#include "collection/Collection.h"
#include "collection/Conversion.h"
#include "collection/SettingsSession.h"

#include <QFileInfo>

namespace Orbisong::Cli {

namespace {

const QString Synopsis = QStringLiteral("convert --from FOLDER");

int convertCommand(Context &c)
{
    if (c.args.size() != 2 || c.args.at(0) != QLatin1String("--from"))
        return c.usage(Synopsis);
    if (!QFileInfo(c.args.at(1)).isDir()) {
        c.err << "no such folder: " << c.args.at(1) << '\n';
        return NotFound;
    }
    SettingsSession session;
    Collection collection(session.settings(), c.collection);
    collection.setQuestionPort(&c.questions);
    const ConversionResult result = ConvertCollection(collection, {c.args.at(1)});
    if (!result.ran)
        return c.fail(QStringLiteral("cannot back up or replace ") + collection.path() +
                      QStringLiteral("; nothing was converted"));
    c.out << "converted " << result.converted << '\n' << "failed " << result.failed << '\n';
    if (result.failed > 0)
        return c.fail(QStringLiteral("%1 album files could not be converted").arg(result.failed));
    return Success;
}

const Registration registration(
    QStringLiteral("convert"), Synopsis, convertCommand,
    QStringLiteral("  --from FOLDER  the folder of the previous version's album files\n"
                   "Converts them into the collection (backed up first) and prints\n"
                   "\"converted N\" and \"failed N\"; exit 2 when any failed."));

} // namespace

} // namespace Orbisong::Cli
