#include "cli/CliCommand.h"

#include "cddb/FoundAlbum.h"
#include "cddb/TCoverArtThread.h"
#include "cli/CliCddbAlbum.h"

#include <QEventLoop>

namespace Orbisong::Cli {

namespace {

const QString Synopsis = QStringLiteral("cover fetch --album ID [--server URL]");
const QString Details = QStringLiteral(
    "  fetch --album ID   fetches the front picture of the album's MusicBrainz release\n"
    "  --server URL       the cover service's base address (the settings' one if left out)\n"
    "Stores the picture in the data folder's covers folder and prints its path.\n"
    "Exit 1 when the album, its release id or the picture is unknown.");

int coverCommand(Context &c)
{
    QStringList args = c.args;
    if (args.value(0) != QLatin1String("fetch"))
        return c.usage(Synopsis);
    QString albumId;
    QString server;
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--album") && i + 1 < args.size())
            albumId = args.at(++i).toUpper();
        else if (args.at(i) == QLatin1String("--server") && i + 1 < args.size())
            server = args.at(++i);
        else
            return c.usage(Synopsis);
    }
    if (albumId.isEmpty())
        return c.usage(Synopsis);

    CddbAlbumSession session(c.collection, c.questions);
    if (server.isEmpty())
        server = session.settings().coverArtServer;
    if (!session.collection().FindAlbum(albumId)) {
        c.err << "no album " << albumId << '\n';
        return NotFound;
    }
    const QString releaseId = StoredReleaseId(session.collection(), albumId);
    if (releaseId.isEmpty()) {
        c.err << "album " << albumId << " has no MusicBrainz release id\n";
        return NotFound;
    }
    TCoverArtThread thread(server, releaseId, albumId);
    QEventLoop loop;
    QObject::connect(&thread, &TCoverArtThread::coverFinished, &loop, &QEventLoop::quit);
    thread.start();
    loop.exec();
    if (thread.coverPath().isEmpty()) {
        c.err << thread.errorText() << '\n';
        return thread.notFound() ? NotFound : Failure;
    }
    c.out << thread.coverPath() << '\n';
    return Success;
}

const Registration registration(QStringLiteral("cover"), Synopsis, coverCommand, Details);

} // namespace

} // namespace Orbisong::Cli
