#include "playback/Ob4Mci.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "collection/AlbumRecord.h"
#include "collection/Collection.h"
#include "collection/DiscId.h"
#include "collection/Settings.h"
#include "playback/CdDriveSet.h"
#include "playback/Ob4Ctrl.h"
#include "playback/PlaybackScope.h"
#include "playback/PlayerListener.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QThread>

#include <cstdlib>

Q_LOGGING_CATEGORY(lcMci, "orbisong.playback.mci")

namespace Orbisong {

namespace {

// The catch-up wait gives the drive this long to reach the start position.
constexpr int CatchUpMs = 10000;
constexpr int CatchUpPollMs = 5;

PlaybackContext &ctx()
{
    return PlaybackScope::current();
}

CdDevice *device()
{
    return ctx().device.get();
}

DiscInfo &disc()
{
    return ctx().current.disc;
}

int offset(int track)
{
    const DiscInfo &d = disc();
    return track >= 0 && track <= d.trackCount + 1 && track < int(d.trackOffsets.size())
               ? d.trackOffsets[std::size_t(track)]
               : 0;
}

int leadOut()
{
    return offset(disc().trackCount + 1);
}

void clearDisc()
{
    disc() = DiscInfo{};
}

void clearAlbum()
{
    PlaybackContext &c = ctx();
    c.current.album = AlbumInfo{};
    c.current.playlists.clear();
    c.current.webLinks.clear();
    c.currentPlaylist.reset();
    c.currentPlaylistIndex = -1;
    c.playlistList.clear();
}

// HandleEject's resetting of the player's disc fields, shared with start-up.
void resetDiscState()
{
    PlayerState &s = ctx().state;
    s.playing = false;
    s.paused = false;
    s.currentStep.reset();
    s.introStart = -1;
    s.introEnd = -1;
    s.currentStepIndex = -1;
    s.position = -1;
    s.currentTrack = -1;
    s.playedMark = -1;
    s.discPresent = false;
    s.discIgnored = false;
}

void stopAnimation()
{
    if (ctx().animating) {
        ctx().animating = false;
        PlaybackScope::listener().playAnimation(false);
    }
}

int trackCountOf(CdDevice &drive, int *count)
{
    *count = 0;
    return drive.trackCount(count);
}

} // namespace

int OB4MCI_CheckError(const QString &label, int code)
{
    if (code == 0)
        return 0;
    const QString text = device() ? device()->errorText(code) : CdDevice::standardErrorText(code);
    qCWarning(lcMci).noquote() << label << text;
    askOrDefault(ctx().questions, Msg::Notice, label, text);
    return code;
}

int OB4MCI_Open(QChar letter)
{
    PlaybackContext &c = ctx();
    if (c.device || !letter.isLetter() || letter.unicode() < 'A' || letter.unicode() > 'z')
        return -1;
    letter = letter.toUpper();
    if (!c.drives || !c.drives->isCdDrive(letter))
        return -1;
    int error = 0;
    QString text;
    c.device = c.drives->open(letter, &error, &text);
    if (!c.device) {
        qCWarning(lcMci).noquote() << "OB4MCI_Open()" << letter << text;
        askOrDefault(ctx().questions, Msg::UnableToOpenDrive, QString(letter), text);
        return error ? error : -1;
    }
    c.device->setVolume(c.volume);
    c.cachedTrack = -1;
    c.state.currentDrive = QString(letter);
    if (c.settings)
        c.settings->driveLetter = QString(letter);
    PlaybackScope::listener().driveOpened(letter);
    return 0;
}

bool OB4MCI_OpenDrive(const QString &text)
{
    return !text.isEmpty() && OB4MCI_Open(text.at(0)) == 0;
}

bool OB4MCI_CloseDrive()
{
    PlaybackContext &c = ctx();
    if (!c.device)
        return false;
    // Playback is ours (digital), so closing the drive must not leave it running.
    if (OB4MCI_GetMode() == CdDevice::ModePlay)
        c.device->stop();
    if (c.state.discPresent)
        HandleEject();
    c.device.reset();
    c.cachedTrack = -1;
    return true;
}

bool OB4MCI_SwitchDrive(QChar letter)
{
    if (device() && !OB4MCI_CloseDrive())
        return false;
    return OB4MCI_OpenDrive(QString(letter));
}

bool OB4MCI_GetMediaPresent()
{
    if (!device()) {
        qCDebug(lcMci) << "OB4MCI_GetMediaPresent: Device not open.";
        return false;
    }
    bool present = false;
    if (OB4MCI_CheckError(QStringLiteral("OB4MCI_GetMediaPresent():"),
                          device()->mediaPresent(&present)))
        return false;
    return present;
}

int OB4MCI_GetTrackCount()
{
    if (!device())
        return 0;
    int count = 0;
    if (OB4MCI_CheckError(QStringLiteral("OB4MCI_GetTrackCount():"),
                          trackCountOf(*device(), &count)))
        return 0;
    return count;
}

int OB4MCI_GetMode()
{
    int mode = -1;
    if (!device() || device()->mode(&mode) != 0)
        return -1;
    return mode;
}

int OB4MCI_GetTrackLength(int track)
{
    int frames = 0;
    if (!device() || device()->trackLength(track, &frames) != 0)
        return 0;
    return frames;
}

int OB4MCI_GetTrackPosition(int track)
{
    int frames = 0;
    if (!device() || device()->trackStart(track, &frames) != 0)
        return 0;
    return frames;
}

int OB4MCI_GetPosition()
{
    int frames = -1;
    if (!device() || device()->position(&frames) != 0)
        return -1;
    if (disc().trackCount < 1 || frames < offset(1) || frames >= leadOut() - 1)
        return -1;
    return frames;
}

QString OB4MCI_GetMediaIdentity()
{
    QString identity;
    if (!device() || device()->mediaIdentity(&identity) != 0)
        return {};
    bool ok = false;
    const qulonglong value = identity.trimmed().toULongLong(&ok);
    return ok ? QString::number(value, 16).toUpper() : identity.trimmed().toUpper();
}

void OB4MCI_Eject()
{
    if (device())
        OB4MCI_CheckError(QStringLiteral("OB4MCI_Eject()"), device()->openDoor());
}

void OB4MCI_Retract()
{
    if (device())
        OB4MCI_CheckError(QStringLiteral("OB4MCI_Retract()"), device()->closeDoor());
}

void OB4MCI_EjectOrRetract()
{
    if (OB4MCI_GetMode() == CdDevice::ModeOpen)
        OB4MCI_Retract();
    else
        OB4MCI_Eject();
}

void OB4MCI_SetVolume(int volume)
{
    ctx().volume = std::clamp(volume, 0, 65535);
    if (device())
        device()->setVolume(ctx().volume);
}

int OB4MCI_GetVolume()
{
    return ctx().volume;
}

QString OB4MCI_GetDiscID()
{
    QList<int> starts;
    for (int t = 1; t <= disc().trackCount; ++t)
        starts.append(offset(t));
    return AlbumId(starts, leadOut());
}

int OB4MCI_GetDiscType()
{
    if (!device() || !ctx().state.discPresent)
        return 0;
    if (device()->volumeLabel().left(8).compare(QLatin1String("Audio CD"), Qt::CaseInsensitive) ==
        0)
        return DiscKindAudio;
    int type = 0;
    const int error = device()->trackType(1, &type);
    if (error == 0)
        return type == CdDevice::TrackAudio ? DiscKindAudio : DiscKindCdRom;
    if (error == CdDevice::ErrorUnsupportedFunction) {
        if (disc().trackCount >= 2)
            return DiscKindAudio;
        if (PlaybackScope::option(_GLOB_OPTION_NOSINGLETRACK))
            return DiscKindCdRom;
        return askOrDefault(ctx().questions, Msg::SingleTrackDisc) == 7 ? DiscKindAudio
                                                                        : DiscKindCdRom;
    }
    return 0;
}

void OB4MCI_ReadTOC()
{
    PlaybackContext &c = ctx();
    Collection *collection = c.collection;
    const bool opened = collection && collection->OpenCollectionFile();

    const int position = OB4MCI_GetPosition();
    c.seed = std::random_device{}() ^ unsigned((std::abs(position) + 61440) % 65536);
    c.random.seed(c.seed);

    DiscInfo &d = disc();
    d = DiscInfo{};
    d.trackCount = std::min(OB4MCI_GetTrackCount(), DiscInfo::MaxTracks);
    for (int t = 1; t <= d.trackCount; ++t) {
        d.trackOffsets[std::size_t(t)] = OB4MCI_GetTrackPosition(t);
        d.trackLengths[std::size_t(t)] = OB4MCI_GetTrackLength(t);
    }
    d.trackOffsets[std::size_t(d.trackCount + 1)] = OB4MCI_GetTrackPosition(d.trackCount + 1);
    d.length = leadOut() / 75;
    d.mediaIdentity = OB4MCI_GetMediaIdentity();
    d.id = OB4MCI_GetDiscID();
    c.cachedTrack = -1;
    c.state.discPresent = true;

    int kind = opened ? collection->GetMediaKind(d.id) : 0;
    if (kind == 0)
        kind = OB4MCI_GetDiscType();
    c.state.discIgnored = (kind & DiscKindCdRom) == DiscKindCdRom;
    d.mediaKind = kind;
    c.current.discPresent = true;
    qCInfo(lcMci).noquote() << "disc" << d.id << "tracks" << d.trackCount << "kind" << kind;

    if (PlaybackScope::option(_GLOB_OPTION_SHOWALBUMTITLES))
        OB4MCI_RefreshDriveIDs();
    PlaybackScope::listener().discInserted();
    if (opened)
        collection->CloseCollection();
}

int OB4MCI_GetTrack(int position)
{
    PlaybackContext &c = ctx();
    if (!c.device)
        return -1;
    const int count = disc().trackCount;
    const int cached = c.cachedTrack;
    if (cached >= 1 && cached <= count && position >= offset(cached) &&
        position < offset(cached + 1))
        return cached;
    if (count < 1 || position < offset(1)) {
        qCDebug(lcMci) << "OB4MCI_GetTrack(): Range error.";
        return 0;
    }
    int track = count;
    for (int i = 1; i <= count; ++i) {
        if (position < offset(i + 1)) {
            track = i;
            break;
        }
    }
    c.cachedTrack = track;
    return track;
}

int OB4MCI_GetTimeBeforeCurrentStepStart()
{
    const PlaybackContext &c = ctx();
    int sum = 0;
    for (int i = 0; i < c.state.currentStepIndex && i < c.playlistList.size(); ++i)
        sum += c.playlistList.at(i).end - c.playlistList.at(i).start;
    return sum;
}

int OB4MCI_GetTimeAfterCurrentStepStart()
{
    const PlaybackContext &c = ctx();
    int sum = 0;
    for (int i = std::max(0, c.state.currentStepIndex); i < c.playlistList.size(); ++i)
        sum += c.playlistList.at(i).end - c.playlistList.at(i).start;
    return sum;
}

int OB4MCI_GetDisplayTime(int mode, int position)
{
    const PlayerState &s = ctx().state;
    const int track = s.currentTrack;
    const bool hasTrack = track >= 1 && track <= disc().trackCount;
    const bool hasStep = s.currentStep.has_value() && s.currentStepIndex >= 0;
    switch (mode) {
    case 0:
        return hasTrack ? position - offset(track) : -1;
    case 1:
        return hasTrack ? disc().trackLengths[std::size_t(track)] - (position - offset(track)) : -1;
    case 2:
        return hasStep ? OB4MCI_GetTimeBeforeCurrentStepStart() + (position - s.currentStep->start)
                       : -1;
    case 3:
        if (!hasStep)
            return -1;
        if (position < s.currentStep->start)
            return OB4MCI_GetTimeAfterCurrentStepStart();
        return OB4MCI_GetTimeAfterCurrentStepStart() - (position - s.currentStep->start);
    default:
        return -1;
    }
}

bool OB4MCI_IsAudioCDVolume(QChar letter)
{
    PlaybackContext &c = ctx();
    std::shared_ptr<CdDevice> drive;
    if (c.device && QString(letter.toUpper()) == c.state.currentDrive) {
        drive = c.device;
    } else if (c.drives) {
        int error = 0;
        QString text;
        drive = c.drives->open(letter, &error, &text);
    }
    if (!drive)
        return false;
    return drive->volumeLabel().left(8).compare(QLatin1String("Audio CD"), Qt::CaseInsensitive) ==
           0;
}

int OB4MCI_GetDriveDiscID(QChar letter, QString *id)
{
    PlaybackContext &c = ctx();
    id->clear();
    letter = letter.toUpper();
    if (c.device && QString(letter) == c.state.currentDrive) {
        if (!c.state.discPresent)
            return 0;
        *id = disc().id;
        return 1;
    }
    if (!c.drives || !c.drives->isCdDrive(letter))
        return -1;
    int error = 0;
    QString text;
    const std::shared_ptr<CdDevice> drive = c.drives->open(letter, &error, &text);
    if (!drive)
        return -1;
    bool present = false;
    if (drive->mediaPresent(&present) != 0)
        return -1;
    if (!present)
        return 0;
    int count = 0;
    trackCountOf(*drive, &count);
    QList<int> starts;
    for (int t = 1; t <= count; ++t) {
        int start = 0;
        drive->trackStart(t, &start);
        starts.append(start);
    }
    // The drive reports the lead-out itself, so no arithmetic on the last track's length.
    int end = 0;
    drive->trackStart(count + 1, &end);
    *id = AlbumId(starts, end);
    return 1;
}

void OB4MCI_RefreshDriveIDs()
{
    PlaybackContext &c = ctx();
    for (QChar letter : std::as_const(c.state.driveList)) {
        PlaybackContext::DriveId entry;
        entry.result = OB4MCI_GetDriveDiscID(letter, &entry.id);
        c.driveIds.insert(letter, entry);
    }
}

int OB4MCI_GetCachedDriveDiscID(const QString &letter, QString *id)
{
    id->clear();
    if (letter.isEmpty())
        return -1;
    const QChar drive = letter.at(0).toUpper();
    if (!PlaybackScope::option(_GLOB_OPTION_CHANGERCOMPAT) ||
        QString(drive) == ctx().state.currentDrive)
        return OB4MCI_GetDriveDiscID(drive, id);
    const PlaybackContext::DriveId entry = ctx().driveIds.value(drive);
    *id = entry.id;
    return entry.result;
}

int OB4MCI_GetTrackFromFile(const QString &path, const QString &identity)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    // Only the header matters; a large file dropped by mistake is not read whole.
    const QByteArray bytes = file.read(64);
    if (bytes.size() < 28 || bytes.left(4).toUpper() != "RIFF" ||
        bytes.mid(8, 7).toUpper() != "CDDAFMT")
        return 0;
    const int track = quint8(bytes.at(22));
    bool ok = false;
    const qulonglong wanted = identity.trimmed().toULongLong(&ok, 16);
    if (identity.trimmed().isEmpty() || (ok && wanted == 0))
        return track;
    const quint32 serial = quint32(quint8(bytes.at(24))) | quint32(quint8(bytes.at(25))) << 8 |
                           quint32(quint8(bytes.at(26))) << 16 |
                           quint32(quint8(bytes.at(27))) << 24;
    return ok && wanted == serial ? track : 0;
}

void OB4MCI_StartPlayback()
{
    PlaybackContext &c = ctx();
    PlaybackScope::listener().processEvents();
    if (!c.device || !c.state.discPresent || c.state.discIgnored || c.playlistList.isEmpty())
        return;
    const int start = c.state.position;
    // The position reads -1 from the last frame on, so a start there could never be caught up.
    if (start < offset(1) || start >= leadOut() - 1) {
        qCDebug(lcMci) << "OB4MCI_StartPlayback(): Range error.";
        return;
    }
    // A play command that failed never reaches the position, so there is nothing to wait for.
    if (OB4MCI_CheckError(QStringLiteral("OB4MCI_BeginPlayback"), c.device->play(start)))
        return;
    QElapsedTimer waited;
    waited.start();
    int position = OB4MCI_GetPosition();
    while (position < start && waited.elapsed() < CatchUpMs) {
        QThread::msleep(CatchUpPollMs);
        position = OB4MCI_GetPosition();
    }
    if (position < start) {
        qCDebug(lcMci) << "OB4MCI_StartPlayback(): Catch-up error.";
        return;
    }
    c.state.playing = true;
    c.state.paused = false;
    if (!c.animating) {
        c.animating = true;
        PlaybackScope::listener().playAnimation(true);
    }
}

void OB4MCI_StopPlayback()
{
    PlaybackContext &c = ctx();
    if (c.device) {
        if (OB4MCI_GetMode() == CdDevice::ModePlay) {
            c.state.position = OB4MCI_GetPosition();
            c.device->stop();
        }
        c.state.playing = false;
    }
    stopAnimation();
}

void HandleEject()
{
    PlaybackContext &c = ctx();
    qCDebug(lcMci) << "HandleEject";
    c.cachedTrack = -1;
    const bool closing = PlaybackScope::listener().isClosing();
    if (!closing)
        OB4MCI_StopPlayback();
    const bool audioDisc = c.state.discPresent && !c.state.discIgnored;
    resetDiscState();
    c.current.discPresent = false;
    PlaybackScope::listener().discRemoved(audioDisc);
    clearAlbum();
    clearDisc();
    PlaybackScope::listener().currentStepChanged(-1);
    if (!closing && c.state.closeOnEject)
        PlaybackScope::listener().closeWindow();
}

int OB4MCI_Poll()
{
    PlaybackContext &c = ctx();
    if (!c.device)
        return 0;
    const bool present = OB4MCI_GetMediaPresent();
    if (!present && c.state.discPresent) {
        HandleEject();
        return -1;
    }
    if (present && !c.state.discPresent) {
        OB4MCI_ReadTOC();
        return c.state.discIgnored ? 2 : 1;
    }
    if (!c.state.isRunning())
        return 0;

    const int position = OB4MCI_GetPosition();
    c.state.position = position;
    // At the lead-out the position reads -1; a drive that stopped there still ends the step.
    if (position == -1) {
        if (OB4MCI_GetMode() != CdDevice::ModePlay)
            OB4CTRL_NextStep();
        return 0;
    }
    c.state.currentTrack = OB4MCI_GetTrack(position);
    const PlayerState &s = c.state;
    const bool intro = c.current.album.flags & AlbumFlagIntro;
    if ((s.currentStep && position > s.currentStep->end - 25) ||
        OB4MCI_GetMode() != CdDevice::ModePlay || (intro && position > s.introEnd - 25)) {
        OB4CTRL_NextStep();
    }
    PlaybackScope::listener().timeDisplayChanged();

    if (c.state.playedMark >= 0 && c.state.position >= c.state.playedMark) {
        const int track = c.state.currentTrack;
        if (track >= 1 && track <= AlbumInfo::MaxTracks)
            CountTrackPlay(c.current.album, track, QDateTime::currentDateTime());
        c.state.playedMark = -1;
        PlaybackScope::listener().statisticsChanged();
    }
    return 0;
}

bool OB4MCI_OpenFirstDrive()
{
    PlaybackContext &c = ctx();
    QString candidates;
    auto consider = [&](QChar letter) {
        letter = letter.toUpper();
        if (!letter.isNull() && c.state.driveList.contains(letter) && !candidates.contains(letter))
            candidates += letter;
    };
    consider(c.state.startDrive);
    if (c.settings && !c.settings->driveLetter.isEmpty())
        consider(c.settings->driveLetter.at(0));
    for (QChar letter : std::as_const(c.state.driveList))
        consider(letter);
    for (QChar letter : std::as_const(candidates)) {
        if (OB4MCI_Open(letter) == 0)
            return true;
    }
    return false;
}

void OB4MCI_Startup()
{
    PlaybackContext &c = ctx();
    c.cachedTrack = -1;
    c.driveIds.clear();
    resetDiscState();
    clearAlbum();
    clearDisc();
    if (c.state.driveList.isEmpty() && c.drives)
        c.state.driveList = c.drives->letters();
    if (c.state.noDrive)
        return;
    if (!OB4MCI_OpenFirstDrive()) {
        const QString saved = c.settings ? c.settings->driveLetter : QString();
        askOrDefault(ctx().questions, Msg::UnableToOpenDrive, saved);
    }
}

void OB4MCI_Shutdown()
{
    if (ctx().state.discPresent)
        HandleEject();
    OB4MCI_CloseDrive();
}

} // namespace Orbisong
