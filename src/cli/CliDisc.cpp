#include "cli/CliCommand.h"

#include "collection/DiscId.h"
#include "playback/CdioDevice.h"
#include "playback/DemoDisc.h"

#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <csignal>

namespace Orbisong::Cli {

namespace {

const QString DiscIdSynopsis = QStringLiteral("discid --leadout L F1 ... FN");
const QString TocSynopsis = QStringLiteral("toc SOURCE");
const QString PlaySynopsis = QStringLiteral("play SOURCE [--track N] [--seconds S]");
const QString DemoSynopsis = QStringLiteral("demo-disc FOLDER");

QString ids(const QList<int> &starts, int leadOut)
{
    return AlbumId(starts, leadOut) + QLatin1Char(' ') +
           CddbDiscIdText(CddbDiscId(starts, leadOut));
}

int discIdCommand(Context &c)
{
    QList<int> starts;
    int leadOut = -1;
    for (int i = 0; i < c.args.size(); ++i) {
        bool ok = false;
        if (c.args.at(i) == QLatin1String("--leadout") && i + 1 < c.args.size()) {
            leadOut = c.args.at(++i).toInt(&ok);
        } else {
            starts.append(c.args.at(i).toInt(&ok));
        }
        if (!ok)
            return c.usage(DiscIdSynopsis);
    }
    if (leadOut == -1 || starts.isEmpty())
        return c.usage(DiscIdSynopsis);
    if (const QString problem = TocProblem(starts, leadOut); !problem.isEmpty())
        return c.fail(QStringLiteral("not a table of contents: %1").arg(problem));
    c.out << ids(starts, leadOut) << '\n';
    return Success;
}

// Opens a drive or an image with a disc in it; nullptr after reporting why not.
std::unique_ptr<CdioDevice> openSource(Context &c, const QString &source, int *count)
{
    auto device = std::make_unique<CdioDevice>(source);
    QString error;
    bool present = false;
    if (!device->isOpen(&error)) {
        c.fail(error.isEmpty() ? QStringLiteral("cannot open %1").arg(source) : error);
        return nullptr;
    }
    if (device->mediaPresent(&present) != 0 || !present || device->trackCount(count) != 0) {
        c.fail(QStringLiteral("no disc in %1").arg(source));
        return nullptr;
    }
    return device;
}

int tocCommand(Context &c)
{
    if (c.args.size() != 1)
        return c.usage(TocSynopsis);
    int count = 0;
    const auto device = openSource(c, c.args.first(), &count);
    if (!device)
        return Failure;
    QList<int> starts;
    for (int t = 1; t <= count; ++t) {
        int start = 0, length = 0, type = 0;
        device->trackStart(t, &start);
        device->trackLength(t, &length);
        device->trackType(t, &type);
        starts.append(start);
        c.out << "track " << t << " start " << start << " length " << length << ' '
              << (type == CdDevice::TrackAudio ? "audio" : "data") << '\n';
    }
    int leadOut = 0;
    device->trackStart(count + 1, &leadOut);
    c.out << "leadout " << leadOut << '\n'
          << "identity " << MediaIdentity(starts, leadOut) << '\n'
          << "id " << ids(starts, leadOut) << '\n';
    return Success;
}

std::atomic<bool> interrupted{false};

void onInterrupt(int)
{
    interrupted = true;
}

int playCommand(Context &c)
{
    if (c.args.isEmpty())
        return c.usage(PlaySynopsis);
    int track = 1;
    double seconds = -1;
    for (int i = 1; i < c.args.size(); ++i) {
        bool ok = false;
        if (c.args.at(i) == QLatin1String("--track") && i + 1 < c.args.size())
            track = c.args.at(++i).toInt(&ok);
        else if (c.args.at(i) == QLatin1String("--seconds") && i + 1 < c.args.size())
            seconds = c.args.at(++i).toDouble(&ok);
        if (!ok)
            return c.usage(PlaySynopsis);
        if (c.args.at(i - 1) == QLatin1String("--seconds") && seconds < 1)
            return c.fail(QStringLiteral("--seconds needs a number of at least 1"));
    }
    int count = 0;
    const auto device = openSource(c, c.args.first(), &count);
    if (!device)
        return Failure;
    int start = 0;
    if (track < 1 || track > count || device->trackStart(track, &start) != 0) {
        c.err << "no track " << track << '\n';
        return NotFound;
    }
    if (const int error = device->play(start))
        return c.fail(device->errorText(error));

    interrupted = false;
    const auto previous = std::signal(SIGINT, onInterrupt);
    QElapsedTimer clock;
    clock.start();
    qint64 nextReport = 0;
    int mode = CdDevice::ModePlay;
    while (!interrupted && mode == CdDevice::ModePlay &&
           (seconds < 0 || clock.elapsed() < seconds * 1000)) {
        if (clock.elapsed() >= nextReport) {
            int position = start;
            device->position(&position);
            int current = 1;
            int trackStart = 0;
            for (int t = 1; t <= count; ++t) {
                int s = 0;
                device->trackStart(t, &s);
                if (s <= position) {
                    current = t;
                    trackStart = s;
                }
            }
            const int elapsed = (position - trackStart) / 75;
            c.out << "track " << current << ' '
                  << QStringLiteral("%1:%2")
                         .arg(elapsed / 60, 2, 10, QLatin1Char('0'))
                         .arg(elapsed % 60, 2, 10, QLatin1Char('0'))
                  << Qt::endl;
            nextReport += 1000;
        }
        QThread::msleep(20);
        device->mode(&mode);
    }
    device->stop();
    std::signal(SIGINT, previous);
    return Success;
}

int demoCommand(Context &c)
{
    if (c.args.size() != 1)
        return c.usage(DemoSynopsis);
    QString error;
    if (!DemoDisc::write(c.args.first(), &error))
        return c.fail(error);
    c.out << DemoDisc::cuePath(c.args.first()) << '\n';
    return Success;
}

const Registration discIdRegistration(
    QStringLiteral("discid"), DiscIdSynopsis, discIdCommand,
    QStringLiteral("  L       the lead-out in frames (75 a second, 150 before track 1)\n"
                   "  F1..FN  the tracks' starts in frames\n"
                   "Prints the album ID and the CDDB id."));
const Registration tocRegistration(
    QStringLiteral("toc"), TocSynopsis, tocCommand,
    QStringLiteral("  SOURCE  a drive (/dev/cdrom) or a disc image (.cue, .toc, .nrg)\n"
                   "Prints each track's start, length and kind, the lead-out and the ids.\n"
                   "An image whose data file is shorter than its sheet is refused (exit 2)."));
const Registration playRegistration(
    QStringLiteral("play"), PlaySynopsis, playCommand,
    QStringLiteral("  SOURCE       a drive or a disc image, as for toc\n"
                   "  --track N    the track to start at (1 by default)\n"
                   "  --seconds S  stop after S seconds (at least 1); to the end without it\n"
                   "Prints \"track N mm:ss\" each second; Ctrl+C stops."));
const Registration demoRegistration(
    QStringLiteral("demo-disc"), DemoSynopsis, demoCommand,
    QStringLiteral("  FOLDER  where the demo disc's CUE/BIN image and its CDDB entry are written\n"
                   "Prints the CUE sheet's path."));

} // namespace

} // namespace Orbisong::Cli
