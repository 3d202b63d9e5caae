#include "cli/CliLookupMusicBrainz.h"

#include "cddb/CddbApply.h"
#include "cddb/TMusicBrainzThread.h"
#include "cli/CliCddbAlbum.h"
#include "collection/DiscId.h"

#include <QEventLoop>

namespace Orbisong::Cli {

QString musicBrainzLookupSynopsis()
{
    return QStringLiteral(
        "lookup musicbrainz --server URL --toc FIRST LAST LEADOUT OFFSET... [--choose N]");
}

QString musicBrainzLookupDetails()
{
    return QStringLiteral(
        "  musicbrainz                    looks a disc up on a MusicBrainz server:\n"
        "    --server URL                 the service's base address (the settings' one if left "
        "out)\n"
        "    --toc FIRST LAST LEADOUT OFFSET...  the disc in frames, lead-in included\n"
        "    --choose N                   applies the Nth release to the album (made when "
        "missing)\n"
        "  Prints \"discid ID\", then \"release ID YEAR TRACKS ARTIST / TITLE\" for each "
        "release.\n");
}

namespace {

bool readToc(const QStringList &words, DiscToc *toc)
{
    QList<int> numbers;
    for (const QString &word : words) {
        bool ok = false;
        numbers.append(word.toInt(&ok));
        if (!ok)
            return false;
    }
    if (numbers.size() < 4)
        return false;
    toc->first = numbers.at(0);
    toc->last = numbers.at(1);
    toc->leadOut = numbers.at(2);
    toc->offsets = numbers.mid(3);
    return toc->isValid();
}

} // namespace

int lookupMusicBrainz(Context &c, QStringList args)
{
    QString server;
    int choose = 0;
    QStringList tocWords;
    for (int i = 0; i < args.size(); ++i) {
        const QString &word = args.at(i);
        if (word == QLatin1String("--server") && i + 1 < args.size()) {
            server = args.at(++i);
        } else if (word == QLatin1String("--choose") && i + 1 < args.size()) {
            bool ok = false;
            choose = args.at(++i).toInt(&ok);
            if (!ok || choose < 1)
                return c.usage(musicBrainzLookupSynopsis());
        } else if (word == QLatin1String("--toc")) {
            while (i + 1 < args.size() && !args.at(i + 1).startsWith(QLatin1String("--")))
                tocWords.append(args.at(++i));
        } else {
            return c.usage(musicBrainzLookupSynopsis());
        }
    }
    DiscToc toc;
    if (!readToc(tocWords, &toc))
        return c.usage(musicBrainzLookupSynopsis());

    CddbAlbumSession session(c.collection, c.questions);
    if (server.isEmpty())
        server = session.settings().musicBrainzServer;
    TMusicBrainzThread thread(server, toc, nullptr);
    thread.setListOnly(true);
    QEventLoop loop;
    QObject::connect(&thread, &TMusicBrainzThread::lookupFinished, &loop, &QEventLoop::quit);
    thread.start();
    loop.exec();

    c.out << "discid " << thread.discId() << '\n';
    if (thread.result() == TMusicBrainzThread::Failed)
        return c.fail(thread.errorText());
    const QList<FoundAlbum> releases = thread.releases();
    if (thread.result() == TMusicBrainzThread::NotFound || releases.isEmpty()) {
        c.out << "not found\n";
        return NotFound;
    }
    for (const FoundAlbum &release : releases) {
        c.out << "release " << release.releaseId << ' '
              << (release.year.isEmpty() ? QStringLiteral("-") : release.year) << ' '
              << release.trackTitles.size() << ' ' << release.artist << " / " << release.title
              << '\n';
    }
    if (choose == 0)
        return Success;
    if (choose > releases.size())
        return c.fail(
            QStringLiteral("--choose %1: only %2 releases").arg(choose).arg(releases.size()));
    const QString albumId = AlbumId(toc.offsets, toc.leadOut);
    session.setDisc(toc.offsets, toc.leadOut);
    if (!session.applyFound(albumId, SourceMusicBrainz, releases.at(choose - 1)) ||
        !session.close())
        return c.fail(QStringLiteral("cannot write the collection"));
    c.out << "applied " << albumId << '\n';
    return Success;
}

} // namespace Orbisong::Cli
