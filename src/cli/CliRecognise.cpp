#include "cli/CliCommand.h"

#include "base/AppPaths.h"
#include "base/ThreadWindow.h"
#include "cddb/CddbApply.h"
#include "cddb/CddbLookupSettings.h"
#include "cddb/CddbQuery.h"
#include "cddb/FoundAlbum.h"
#include "cddb/LocalCddbDatabase.h"
#include "cddb/RunningLookups.h"
#include "cddb/TCDDBThread.h"
#include "cddb/TMusicBrainzThread.h"
#include "cli/CliCddbAlbum.h"
#include "collection/DiscId.h"
#include "playback/CdioDevice.h"
#include "playback/CdText.h"
#include "player/OtherPlayerStages.h"
#include "player/RecognitionSequence.h"

#include <QEventLoop>

namespace Orbisong::Cli {

namespace {

const QString Synopsis = QStringLiteral("recognise SOURCE [--no-remote]");
const QString Details = QStringLiteral(
    "  SOURCE       a disc image (CUE, TOC, NRG) or a drive\n"
    "  --no-remote  leave out the CDDB server even when the settings query it\n"
    "Runs the player's recognition stages in its order with the settings of --home and\n"
    "prints the stage that found the album (cd-text, cdplayer-ini, other-player, local,\n"
    "remote, musicbrainz or not-found), then \"album ID\", \"artist TEXT\" and \"title TEXT\"\n"
    "lines; a MusicBrainz failure goes to stderr.\n"
    "Exit 1 when nothing recognised it.");

const char *stageName(int stage)
{
    switch (stage) {
    case RecognitionSequence::CdText:
        return "cd-text";
    case RecognitionSequence::MusicBrainzFirst:
    case RecognitionSequence::MusicBrainz:
        return "musicbrainz";
    case RecognitionSequence::OtherPlayer:
        return "cdplayer-ini";
    case RecognitionSequence::SecondPlayer:
        return "other-player";
    case RecognitionSequence::LocalCddb:
        return "local";
    case RecognitionSequence::RemoteCddb:
        return "remote";
    default:
        return "not-found";
    }
}

// Takes the first of several server matches and shows no greeting: nobody is there to ask.
struct FirstMatch : ThreadRequestHandler
{
    void showGreeting(const QString &) override {}
    bool chooseMatch(const QString &candidates, QString *category, QString *discId) override
    {
        QStringList lines = candidates.split(QLatin1Char('\n'));
        for (QString &line : lines)
            line = line.trimmed();
        lines.removeAll(QString());
        if (lines.size() < 3)
            return false;
        const QStringList words = lines.at(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        *category = words.value(0);
        *discId = words.value(1);
        return true;
    }
};

bool readDisc(Context &c, const QString &source, QList<int> *starts, int *leadOut)
{
    CdioDevice device(source);
    QString error;
    bool present = false;
    int count = 0;
    if (!device.isOpen(&error)) {
        c.fail(error.isEmpty() ? QStringLiteral("cannot open %1").arg(source) : error);
        return false;
    }
    if (device.mediaPresent(&present) != 0 || !present || device.trackCount(&count) != 0 ||
        count < 1) {
        c.fail(QStringLiteral("no disc in %1").arg(source));
        return false;
    }
    for (int t = 1; t <= count; ++t) {
        int start = 0;
        device.trackStart(t, &start);
        starts->append(start);
    }
    device.trackStart(count + 1, leadOut);
    return true;
}

int recogniseCommand(Context &c)
{
    QStringList args = c.args;
    const bool noRemote = args.removeAll(QStringLiteral("--no-remote")) > 0;
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return c.usage(Synopsis);
    QList<int> starts;
    int leadOut = 0;
    if (!readDisc(c, args.first(), &starts, &leadOut))
        return Failure;

    const QString albumId = AlbumId(starts, leadOut);
    CddbAlbumSession session(c.collection, c.questions);
    session.setDisc(starts, leadOut);
    Collection &collection = session.collection();
    const bool known = collection.FindAlbum(albumId) != nullptr;
    // The importers copy into the album, as they do into the player's new album.
    if (!session.ensureAlbum(albumId))
        return c.fail(QStringLiteral("cannot make album %1").arg(albumId));
    const Settings &settings = session.settings();

    RecognitionSequence::Request request;
    request.discId = albumId.toLower();
    request.mediaIdentity = MediaIdentity(starts, leadOut);
    request.query = CddbQueryText(request.discId, starts, leadOut / 75);
    request.remoteLookup = !noRemote && settings.GetOptionFlag(_GLOB_OPTION_AUTORCDDB);
    request.preferMusicBrainz = settings.preferMusicBrainz != 0;
    request.source = args.first();
    request.trackStarts = starts;
    request.leadOut = leadOut;
    auto *sequence = new RecognitionSequence(request);
    sequence->setStage(RecognitionSequence::CdText, [&](const RecognitionSequence::Request &req,
                                                        std::function<void(int)> report) {
        const CdTextAlbum text = ReadCdText(req.source);
        FoundAlbum found;
        found.artist = text.artist;
        found.title = text.title;
        found.trackTitles = text.trackTitles;
        report(!text.isEmpty() && session.applyFound(albumId, SourceCdText, found)
                   ? RecognitionSequence::Found
                   : RecognitionSequence::NotFound);
    });
    sequence->setStage(RecognitionSequence::OtherPlayer,
                       OtherPlayerStages::cdPlayer(collection, AppPaths::windowsFolder()));
    sequence->setStage(RecognitionSequence::SecondPlayer,
                       OtherPlayerStages::easyCd(collection, AppPaths::settingsFile()));
    sequence->setStage(RecognitionSequence::LocalCddb, [&](const RecognitionSequence::Request &,
                                                           std::function<void(int)> report) {
        LocalCddbDatabase database(settings.cddbLocalPath, LocalCddbDatabase::defaultIndexFolder());
        const LocalCddbDatabase::Result result = database.find(albumId.left(8));
        if (result.status != LocalCddbDatabase::Found) {
            report(RecognitionSequence::NotFound);
            return;
        }
        session.applyEntry(albumId, result.category, SourceLocalDatabase, result.entry);
        report(RecognitionSequence::Found);
    });
    ThreadWindow threadWindow;
    FirstMatch matches;
    threadWindow.setHandler(&matches);
    threadWindow.setQuestionPort(&c.questions);
    RunningLookups lookups(nullptr, &threadWindow);
    sequence->setStage(RecognitionSequence::RemoteCddb, [&](const RecognitionSequence::Request &req,
                                                            std::function<void(int)> report) {
        TCDDBThread *thread = TCDDBThread::StartLookup(
            lookups, CddbLookupSettings::fromSettings(settings), albumId, req.query);
        if (!thread) {
            report(RecognitionSequence::NotFound);
            return;
        }
        QObject::connect(thread, &TCDDBThread::lookupFinished, thread,
                         [&, thread, report](int code) {
                             if (code == TCDDBThread::Found && !thread->entry().isEmpty())
                                 session.applyEntry(albumId, thread->category(), SourceCddbServer,
                                                    thread->entry());
                             report(code);
                         });
    });

    sequence->setStage(
        RecognitionSequence::MusicBrainz,
        [&](const RecognitionSequence::Request &req, std::function<void(int)> report) {
            DiscToc toc;
            toc.last = int(req.trackStarts.size());
            toc.leadOut = req.leadOut;
            toc.offsets = req.trackStarts;
            auto *thread = new TMusicBrainzThread(settings.musicBrainzServer, toc, &threadWindow);
            QObject::connect(
                thread, &TMusicBrainzThread::lookupFinished, thread, [&, thread, report](int code) {
                    thread->deleteLater();
                    if (code == TMusicBrainzThread::Failed && !thread->errorText().isEmpty())
                        c.err << thread->errorText() << Qt::endl;
                    if (code == TMusicBrainzThread::Found &&
                        !session.applyFound(albumId, SourceMusicBrainz, thread->chosen()))
                        code = TMusicBrainzThread::Failed;
                    report(code);
                });
            thread->start();
        });

    int foundAt = -1;
    QEventLoop loop;
    QObject::connect(sequence, &RecognitionSequence::finished, &loop, [&](int stage, int notice) {
        foundAt = notice == RecognitionSequence::Found ? stage : -1;
        loop.quit();
    });
    sequence->start();
    loop.exec();

    // A disc that nothing recognised leaves no empty album behind.
    if (foundAt < 0 && !known)
        collection.DeleteAlbum(albumId, true);
    if (!session.close())
        return c.fail(QStringLiteral("cannot write the collection"));
    c.out << stageName(foundAt) << '\n';
    if (foundAt < 0)
        return NotFound;
    const AlbumIndexNode *node = collection.FindAlbum(albumId);
    c.out << "album " << albumId << '\n'
          << "artist " << (node ? node->artist : QString()) << '\n'
          << "title " << (node ? node->title : QString()) << '\n';
    return Success;
}

const Registration registration(QStringLiteral("recognise"), Synopsis, recogniseCommand, Details);

} // namespace

} // namespace Orbisong::Cli
