#include "cli/CliCollectionRun.h"

#include "collection/Collection.h"
#include "collection/SettingsSession.h"

#include <QFileInfo>

namespace Orbisong::Cli {

int runOnCollection(Context &c, bool mayBeMissing,
                    const std::function<int(Context &, Collection &)> &work)
{
    SettingsSession session;
    Collection collection(session.settings(), c.collection);
    collection.setQuestionPort(&c.questions);
    collection.BuildAlbumIndex();
    if (!mayBeMissing && !QFileInfo::exists(collection.path())) {
        c.err << "no collection file at " << collection.path() << '\n';
        return NotFound;
    }
    const int code = work(c, collection);
    if (!collection.ShutdownCollection())
        return c.fail(QStringLiteral("cannot write ") + collection.path() + QStringLiteral(": ") +
                      collection.lastError());
    return code;
}

} // namespace Orbisong::Cli
