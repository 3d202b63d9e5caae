#include "player/ControllerEngine.h"

#include "collection/AlbumIndexNode.h"
#include "collection/AlbumRecord.h"
#include "playback/CdDriveSet.h"
#include "collection/Collection.h"
#include "playback/Ob4Ctrl.h"
#include "playback/Ob4Mci.h"
#include "playback/PlaybackContext.h"
#include "collection/Settings.h"

#include <QCoreApplication>

namespace Orbisong {

ControllerEngine::ControllerEngine(CdDriveSet &drives, Settings &settings, Collection *collection,
                                   QObject *parent)
    : PlayerEngine(parent), m_collection(collection)
{
    resetPlayback();
    PlaybackContext &c = playback();
    c.drives = &drives;
    c.settings = &settings;
    c.collection = collection;
    c.listener = this;
    if (collection)
        collection->setCurrentAlbum(&c.current);
}

ControllerEngine::~ControllerEngine()
{
    PlaybackContext &c = playback();
    if (c.listener == this)
        c.listener = nullptr;
    if (m_collection && m_collection->currentAlbum() == &c.current)
        m_collection->setCurrentAlbum(nullptr);
}

void ControllerEngine::startup(QChar preferred, bool noDrive)
{
    PlayerState &s = playback().state;
    s.noDrive = noDrive;
    s.startDrive = preferred;
    OB4MCI_Startup();
}

void ControllerEngine::addDrive(QChar letter)
{
    PlaybackContext &c = playback();
    if (c.drives)
        c.state.driveList = c.drives->letters();
    if (c.device)
        return;
    c.state.noDrive = false;
    OB4MCI_Open(letter);
}

void ControllerEngine::shutdown()
{
    m_closing = true;
    OB4MCI_Shutdown();
}

bool ControllerEngine::noDrive() const
{
    return playback().state.noDrive;
}

bool ControllerEngine::audioPresent() const
{
    const PlayerState &s = playback().state;
    return !s.noDrive && s.discPresent && !s.discIgnored;
}

bool ControllerEngine::playing() const
{
    return playback().state.isRunning();
}

bool ControllerEngine::paused() const
{
    return playback().state.paused;
}

void ControllerEngine::setPaused(bool paused)
{
    playback().state.paused = paused;
}

CurrentAlbum &ControllerEngine::current()
{
    return playback().current;
}

QList<TStep> &ControllerEngine::list()
{
    return playback().playlistList;
}

QString ControllerEngine::currentPlaylist() const
{
    const auto &playlist = playback().currentPlaylist;
    return playlist ? playlist->title : QString();
}

int ControllerEngine::currentIndex() const
{
    return playback().state.currentStepIndex;
}

void ControllerEngine::setCurrentIndex(int index)
{
    PlaybackContext &c = playback();
    c.state.currentStepIndex = index;
    if (index >= 0 && index < c.playlistList.size())
        c.state.currentStep = c.playlistList.at(index);
}

int ControllerEngine::position() const
{
    return playback().state.position;
}

void ControllerEngine::setPosition(int frames)
{
    playback().state.position = frames;
}

int ControllerEngine::currentTrack() const
{
    return audioPresent() ? qMax(0, OB4MCI_GetTrack(playback().state.position)) : 0;
}

int ControllerEngine::displayTime(int mode, int position) const
{
    return OB4MCI_GetDisplayTime(mode, position);
}

QString ControllerEngine::driveLetters() const
{
    const PlaybackContext &c = playback();
    return c.drives ? c.drives->letters() : QString();
}

QChar ControllerEngine::currentDrive() const
{
    const QString letter = playback().state.currentDrive;
    return letter.isEmpty() ? QChar() : letter.at(0);
}

DriveDiscLabel ControllerEngine::driveLabel(QChar letter)
{
    QString id;
    const int result = OB4MCI_GetCachedDriveDiscID(QString(letter), &id);
    if (result < 0)
        return {DriveDiscLabel::Unreadable, {}, {}};
    if (result == 0)
        return {DriveDiscLabel::Empty, {}, {}};
    const CurrentAlbum &current = playback().current;
    if (current.discPresent && current.disc.id.compare(id, Qt::CaseInsensitive) == 0 &&
        !current.album.isNew) {
        if (playback().state.discIgnored)
            return {DriveDiscLabel::CdRom, {}, {}};
        return {DriveDiscLabel::Audio, current.album.title, current.album.artist};
    }
    const AlbumIndexNode *node = m_collection ? m_collection->FindAlbum(id) : nullptr;
    if (!node)
        return {DriveDiscLabel::NotInCollection, {}, {}};
    if ((node->mediaKind & DiscKindCdRom) == DiscKindCdRom)
        return {DriveDiscLabel::CdRom, {}, {}};
    return {DriveDiscLabel::Audio, node->title, node->artist};
}

void ControllerEngine::refreshDriveIds()
{
    OB4MCI_RefreshDriveIDs();
}

int ControllerEngine::trackFromFile(const QString &path)
{
    return OB4MCI_GetTrackFromFile(path, playback().current.disc.mediaIdentity);
}

bool ControllerEngine::closeDrive()
{
    return OB4MCI_CloseDrive();
}

bool ControllerEngine::openDrive(QChar letter)
{
    return OB4MCI_Open(letter) == 0;
}

void ControllerEngine::playStep(int index)
{
    OB4CTRL_PlayStep(index);
}

void ControllerEngine::playTrack(int track)
{
    OB4CTRL_PlayTrack(track);
}

void ControllerEngine::startPlayback()
{
    OB4MCI_StartPlayback();
    emit stateChanged();
}

void ControllerEngine::stopPlayback()
{
    OB4MCI_StopPlayback();
    emit stateChanged();
}

void ControllerEngine::stop()
{
    OB4CTRL_Stop();
}

void ControllerEngine::nextStep()
{
    OB4CTRL_NextStep();
}

void ControllerEngine::prevStep()
{
    OB4CTRL_PrevStep();
}

void ControllerEngine::moveToStep(int index)
{
    OB4CTRL_MoveToStep(index);
}

void ControllerEngine::ejectOrRetract()
{
    OB4MCI_EjectOrRetract();
}

void ControllerEngine::setCurrentPlaylist(const QString &title)
{
    SetCurrentPlaylist(title);
}

void ControllerEngine::writeListBack()
{
    PlaybackContext &c = playback();
    if (!c.currentPlaylist || c.currentPlaylist->isAlbumPlaylist())
        return;
    c.currentPlaylist->steps.clear();
    for (const TStep &step : std::as_const(c.playlistList))
        c.currentPlaylist->steps.append(copyStep(step));
}

void ControllerEngine::poll()
{
    OB4MCI_Poll();
}

int ControllerEngine::volume() const
{
    return OB4MCI_GetVolume();
}

void ControllerEngine::setVolume(int volume)
{
    OB4MCI_SetVolume(volume);
}

void ControllerEngine::discInserted()
{
    PlaybackContext &c = playback();
    CurrentAlbum &current = c.current;
    const bool loaded =
        m_collection && ReadAlbumInfo(*m_collection, current.webLinks, current.album,
                                      current.playlists, current.disc);
    if (!loaded)
        current.album.isNew = true;
    if (audioPresent()) {
        const QString stored = current.album.currentPlaylist;
        OB4CTRL_BuildAlbumPlaylist();
        SetCurrentPlaylist(stored.isEmpty() ? QStringLiteral("Album") : stored);
    }
    emit discArrived();
    emit stateChanged();
}

void ControllerEngine::discRemoved(bool audioDisc)
{
    Q_UNUSED(audioDisc);
    emit discLeaving();
    PlaybackContext &c = playback();
    if (m_collection)
        WriteAlbumInfo(*m_collection, false, c.current.webLinks, c.current.playlists,
                       c.current.disc, c.current.album);
    // The device layer clears the album after this notice; the window refreshes then.
    QMetaObject::invokeMethod(this, &PlayerEngine::discLeft, Qt::QueuedConnection);
}

void ControllerEngine::currentStepChanged(int index)
{
    Q_UNUSED(index);
    emit stepChanged();
    emit stateChanged();
}

void ControllerEngine::timeDisplayChanged()
{
    emit stateChanged();
}

void ControllerEngine::playlistListChanged()
{
    emit stepChanged();
}

void ControllerEngine::playAnimation(bool running)
{
    Q_UNUSED(running);
    emit stateChanged();
}

void ControllerEngine::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace Orbisong
