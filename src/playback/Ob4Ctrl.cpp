#include "playback/Ob4Ctrl.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "collection/AlbumRecord.h"
#include "collection/Settings.h"
#include "playback/Ob4Mci.h"
#include "playback/PlaybackScope.h"
#include "playback/PlayerListener.h"

#include <QDateTime>
#include <QLoggingCategory>

#include <cmath>

Q_LOGGING_CATEGORY(lcCtrl, "orbisong.playback.controller")

namespace Orbisong {

namespace {

// Within this many frames of a step's start the drive counts as being there already.
constexpr int NearFrames = 24;

PlaybackContext &ctx()
{
    return PlaybackScope::current();
}

PlayerState &state()
{
    return ctx().state;
}

bool albumFlag(int flag)
{
    return ctx().current.album.flags & flag;
}

void reseed()
{
    PlaybackContext &c = ctx();
    c.seed += unsigned(QDateTime::currentMSecsSinceEpoch());
    c.random.seed(c.seed);
}

int draw(int count)
{
    return std::uniform_int_distribution<int>(0, count - 1)(ctx().random);
}

// A step index other than the current one when there is a choice.
int drawStep()
{
    const int count = int(ctx().playlistList.size());
    int index = draw(count);
    while (count >= 2 && index == state().currentStepIndex)
        index = draw(count);
    return index;
}

QString stepTitle(const TStep &step)
{
    if (!step.title.isEmpty())
        return step.title;
    const int track = OB4MCI_GetTrack(step.start);
    return track >= 1 && track <= AlbumInfo::MaxTracks
               ? ctx().current.album.trackTitles[std::size_t(track)]
               : QString();
}

void updateTooltips(int index)
{
    const QList<TStep> &list = ctx().playlistList;
    QString previous = QStringLiteral("Jump to previous track");
    QString next = QStringLiteral("Jump to next track");
    if (index >= 1)
        previous += QStringLiteral(" (") + stepTitle(list.at(index - 1)) + QLatin1Char(')');
    if (index + 1 < list.size())
        next += QStringLiteral(" (") + stepTitle(list.at(index + 1)) + QLatin1Char(')');
    PlaybackScope::listener().trayTooltipsChanged(previous.left(79), next.left(79));
}

bool switchDrive(QChar letter)
{
    if (!OB4MCI_SwitchDrive(letter)) {
        qCWarning(lcCtrl)
            << "OB4MCI_CloseDrive or OB4MCI_OpenDrive failed in random OB4CTRL_NextStep.";
        return false;
    }
    return true;
}

void nextRandom(bool running)
{
    PlaybackContext &c = ctx();
    const QString drives = c.state.driveList;
    if (PlaybackScope::option(_GLOB_OPTION_RANDOMDRIVE) && drives.size() > 1 && running) {
        c.state.closeOnEject = false;
        const QChar letter = drives.at(draw(int(drives.size())));
        if (QString(letter) != c.state.currentDrive) {
            OB4MCI_StopPlayback();
            c.state.startStep = PlayerState::RandomStep;
            switchDrive(letter);
            return;
        }
        if (c.playlistList.isEmpty()) {
            OB4CTRL_Stop();
            return;
        }
        const int index = drawStep();
        OB4MCI_StopPlayback();
        OB4CTRL_PlayStep(index);
        return;
    }
    if (c.playlistList.isEmpty()) {
        OB4CTRL_Stop();
        return;
    }
    const int index = drawStep();
    if (running) {
        OB4MCI_StopPlayback();
        OB4CTRL_PlayStep(index);
    } else {
        OB4CTRL_MoveToStep(index);
    }
}

// At the end of the playlist with several drives: the next drive holding an audio disc
// takes over.
void relay()
{
    PlaybackContext &c = ctx();
    OB4MCI_StopPlayback();
    const QString drives = c.state.driveList;
    const qsizetype current =
        c.state.currentDrive.isEmpty() ? -1 : drives.indexOf(c.state.currentDrive);
    if (current < 0) {
        askOrDefault(ctx().questions, Msg::Notice, QStringLiteral("OB4CTRL_NextStep"),
                     QStringLiteral("OB4CTRL_NextStep: Current drive not found in drive list."));
        OB4CTRL_Stop();
        return;
    }
    const QString rotation = drives.mid(current + 1) + drives.left(current);
    for (QChar letter : rotation) {
        if (OB4MCI_IsAudioCDVolume(letter)) {
            c.state.startStep = 0;
            OB4MCI_CloseDrive();
            OB4MCI_OpenDrive(QString(letter));
            return;
        }
    }
    OB4CTRL_Stop();
}

} // namespace

TStep copyStep(const TStep &step)
{
    TStep copy(step.title, step.start, step.end);
    copy.script = step.script;
    return copy;
}

void ShuffleSteps(QList<TStep> &steps, std::mt19937 &random)
{
    const int n = int(steps.size());
    if (n < 2)
        return;
    // Seeded once: reseeding from the clock before every swap repeats the same draw.
    random.seed(unsigned(QDateTime::currentMSecsSinceEpoch()) ^ random());
    std::uniform_int_distribution<int> pick(0, n - 1);
    for (int i = 0; i < n; ++i)
        steps.swapItemsAt(i, pick(random));
}

IntroRange ComputeIntro(const TStep &step, const QString &introValue, int introSpec)
{
    double value = 0;
    bool exact = false;
    const QString v = introValue;
    const qsizetype colon = v.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        const int minutes = v.left(colon).trimmed().toInt();
        const int seconds = v.mid(colon + 1).trimmed().toInt();
        value = (std::max(seconds, 0) + std::max(minutes, 0) * 60.0) * 75.0;
        exact = value > 0;
    }
    if (!exact) {
        bool digits = !v.isEmpty() && v.count(QLatin1Char('.')) <= 1;
        for (QChar ch : v)
            digits = digits && (ch.isDigit() || ch == QLatin1Char('.'));
        if (digits) {
            value = v.toDouble();
        } else if (const qsizetype slash = v.indexOf(QLatin1Char('/')); slash >= 0) {
            const int numerator = v.left(slash).trimmed().toInt();
            const int denominator = v.mid(slash + 1).trimmed().toInt();
            value = 0;
            if (numerator > 0 && denominator > 0) {
                value = double(numerator) / denominator;
                if (value > 1)
                    value = 0;
            }
        }
    }
    // Steps come from files: their ends may lie anywhere in the int range, so the range is
    // worked out in 64 bits and an intro is never longer than its step.
    const qint64 start = step.start;
    const qint64 end = step.end;
    qint64 rangeStart = start;
    qint64 rangeEnd = end;
    // Without a usable value the whole step plays: the range left from another step could
    // lie outside this one.
    if (value > 0) {
        const qint64 length = std::abs(end - start);
        const double wanted = exact ? value : double(length) * value;
        const qint64 e = qint64(std::nearbyint(std::min(wanted, double(length))));
        switch (introSpec) {
        case 0:
            rangeEnd = start + e;
            break;
        case 2:
            rangeStart = end - e;
            break;
        default:
            rangeStart = start + length / 2 - e / 2;
            rangeEnd = rangeStart + e;
            break;
        }
    }
    const qint64 low = std::min(start, end);
    const qint64 high = std::max(start, end);
    return {int(std::clamp(std::max(rangeStart, start), low, high)),
            int(std::clamp(std::min(rangeEnd, end), low, high))};
}

IntroRange OB4CTRL_ComputeIntro(const TStep &step)
{
    const Settings *settings = ctx().settings;
    return ComputeIntro(step, settings ? settings->introValue : QStringLiteral("0:20"),
                        settings ? settings->introSpec : 1);
}

void OB4CTRL_BuildAlbumPlaylist()
{
    CurrentAlbum &current = ctx().current;
    auto album =
        MakeAlbumPlaylist(current.disc, PlaybackScope::option(_GLOB_OPTION_NOALBUMBLANKTRACKS));
    current.playlists.prepend(album);
}

void SetCurrentPlaylist(const QString &name)
{
    PlaybackContext &c = ctx();
    PlaybackScope::listener().closePlaylistEditors();
    const PlaylistList &tabs = c.current.playlists;
    int index = -1;
    for (int i = 0; i < tabs.size(); ++i) {
        if (tabs.at(i)->title.compare(name, Qt::CaseInsensitive) == 0) {
            index = i;
            break;
        }
    }
    if (index < 0 && !tabs.isEmpty()) {
        qCInfo(lcCtrl).noquote() << "SetCurrentPlaylist: no playlist" << name;
        index = 0;
    }
    OB4MCI_StopPlayback();
    // Custom playlists keep the order, deletions and shuffles made in the list.
    if (c.currentPlaylist && !c.currentPlaylist->isAlbumPlaylist()) {
        c.currentPlaylist->steps.clear();
        for (const TStep &step : std::as_const(c.playlistList))
            c.currentPlaylist->steps.append(copyStep(step));
    }
    c.playlistList.clear();
    c.currentPlaylist = index >= 0 ? tabs.at(index) : nullptr;
    c.currentPlaylistIndex = index;
    if (c.currentPlaylist) {
        for (const TStep &step : std::as_const(c.currentPlaylist->steps))
            c.playlistList.append(copyStep(step));
        c.current.album.currentPlaylist = c.currentPlaylist->title;
    }
    PlaybackScope::listener().playlistSelected(index);
    if (PlaybackScope::option(_GLOB_OPTION_AUTOSHUFFLE))
        ShuffleSteps(c.playlistList, c.random);
    PlaybackScope::listener().playlistListChanged();
    OB4CTRL_Stop();
}

void ShufflePlaylist()
{
    PlaybackContext &c = ctx();
    const bool running = c.state.isRunning();
    const int index = c.state.currentStepIndex;
    OB4MCI_StopPlayback();
    ShuffleSteps(c.playlistList, c.random);
    PlaybackScope::listener().playlistListChanged();
    OB4CTRL_Stop();
    if (running)
        OB4CTRL_PlayStep(index);
}

void RevertPlaylist()
{
    PlaybackContext &c = ctx();
    if (!c.currentPlaylist)
        return;
    OB4MCI_StopPlayback();
    c.playlistList.clear();
    for (const TStep &step : std::as_const(c.currentPlaylist->steps))
        c.playlistList.append(copyStep(step));
    PlaybackScope::listener().playlistListChanged();
    OB4CTRL_Stop();
}

void OB4CTRL_MoveToStep(int index)
{
    PlaybackContext &c = ctx();
    PlayerState &s = c.state;
    PlaybackScope::listener().closePositionWindow();
    if (index >= 0 && index < c.playlistList.size()) {
        const TStep &step = c.playlistList.at(index);
        s.currentStep = step;
        s.currentStepIndex = index;
        s.currentTrack = OB4MCI_GetTrack(step.start);
        s.playedMark = (step.start + step.end) / 2;
        const IntroRange intro = OB4CTRL_ComputeIntro(step);
        s.introStart = intro.start;
        s.introEnd = intro.end;
        s.position = albumFlag(AlbumFlagIntro) ? intro.start : step.start;
        updateTooltips(index);
    } else {
        s.currentStep.reset();
        s.introStart = s.introEnd = s.currentStepIndex = s.currentTrack = s.position = -1;
        s.playedMark = -1;
        PlaybackScope::listener().trayTooltipsChanged({}, {});
    }
    PlaybackScope::listener().currentStepChanged(s.currentStepIndex);
}

void OB4CTRL_PlayStep(int index)
{
    PlaybackContext &c = ctx();
    const int count = int(c.playlistList.size());
    if (index < 0 || count == 0) {
        OB4CTRL_Stop();
        return;
    }
    if (index == PlayerState::RandomStep) {
        reseed();
        index = draw(count);
    } else {
        index %= count;
    }
    // Only a running drive can already be at the step; a stopped one needs the play command.
    const bool near = std::abs(c.playlistList.at(index).start - c.state.position) <= NearFrames;
    if (index == c.state.currentStepIndex || !near || !c.state.isRunning()) {
        OB4MCI_StopPlayback();
        OB4CTRL_MoveToStep(index);
        OB4MCI_StartPlayback();
    } else {
        OB4CTRL_MoveToStep(index);
    }
    if (index < c.playlistList.size())
        PlaybackScope::listener().itemPlay(c.playlistList.at(index));
}

bool OB4CTRL_PlayTrack(int track)
{
    const QList<TStep> &list = ctx().playlistList;
    for (int i = 0; i < list.size(); ++i) {
        if (OB4MCI_GetTrack(list.at(i).start) == track) {
            OB4CTRL_PlayStep(i);
            return true;
        }
    }
    return false;
}

void OB4CTRL_NextStep()
{
    PlaybackContext &c = ctx();
    const bool running = c.state.isRunning();
    reseed();
    if (PlaybackScope::option(_GLOB_OPTION_RANDOMORDER)) {
        nextRandom(running);
        return;
    }
    const int current = c.state.currentStepIndex;
    if (current + 1 < c.playlistList.size()) {
        const TStep &next = c.playlistList.at(current + 1);
        if (std::abs(c.state.position - next.start) > NearFrames) {
            if (running) {
                OB4MCI_StopPlayback();
                OB4CTRL_PlayStep(current + 1);
            } else {
                OB4CTRL_MoveToStep(current + 1);
            }
        } else {
            // The drive crossed into the next step by itself: it plays on untouched.
            OB4CTRL_MoveToStep(current + 1);
            PlaybackScope::listener().itemPlay(c.playlistList.at(current + 1));
        }
        return;
    }
    if (PlaybackScope::option(_GLOB_OPTION_RANDOMDRIVE) && c.state.driveList.size() != 1) {
        relay();
        return;
    }
    if (albumFlag(AlbumFlagRepeat) && !c.playlistList.isEmpty()) {
        if (running) {
            OB4MCI_StopPlayback();
            OB4CTRL_PlayStep(0);
        } else {
            OB4CTRL_MoveToStep(0);
        }
        return;
    }
    OB4CTRL_Stop();
}

void OB4CTRL_PrevStep()
{
    PlaybackContext &c = ctx();
    const PlayerState &s = c.state;
    int target = s.currentStepIndex - 1;
    if (s.currentStep) {
        const int from = albumFlag(AlbumFlagIntro) ? s.introStart : s.currentStep->start;
        if (s.position > from + 150)
            target = s.currentStepIndex;
    }
    target = std::max(target, 0);
    if (s.isRunning()) {
        OB4MCI_StopPlayback();
        OB4CTRL_PlayStep(target);
    } else {
        OB4CTRL_MoveToStep(target);
    }
}

void OB4CTRL_Stop()
{
    OB4MCI_StopPlayback();
    OB4CTRL_MoveToStep(0);
}

} // namespace Orbisong
