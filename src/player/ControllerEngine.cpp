#include "player/ControllerEngine.h"

#include "collection/AlbumIndexNode.h"
#include "collection/AlbumRecord.h"
#include "playback/CdDriveSet.h"
#include "collection/Collection.h"
#include "playback/Ob4Ctrl.h"
#include "playback/Ob4Mci.h"
#include "playback/PlaybackScope.h"
#include "collection/Settings.h"

#include <QCoreApplication>

namespace Orbisong {

ControllerEngine::ControllerEngine(CdDriveSet &drives, Settings &settings, Collection *collection,
                                   QObject *parent)
    : PlayerEngine(parent), m_collection(collection)
{
    m_context.drives = &drives;
    m_context.settings = &settings;
    m_context.collection = collection;
    m_context.listener = this;
    if (collection)
        collection->setCurrentAlbum(&m_context.current);
}

ControllerEngine::~ControllerEngine()
{
    if (m_collection && m_collection->currentAlbum() == &m_context.current)
        m_collection->setCurrentAlbum(nullptr);
}

void ControllerEngine::startup(QChar preferred, bool noDrive)
{
    const PlaybackScope scope(m_context);
    PlayerState &s = m_context.state;
    s.noDrive = noDrive;
    s.startDrive = preferred;
    OB4MCI_Startup();
}

void ControllerEngine::addDrive(QChar letter)
{
    const PlaybackScope scope(m_context);
    if (m_context.drives)
        m_context.state.driveList = m_context.drives->letters();
    if (m_context.device)
        return;
    m_context.state.noDrive = false;
    OB4MCI_Open(letter);
}

void ControllerEngine::shutdown()
{
    const PlaybackScope scope(m_context);
    m_closing = true;
    OB4MCI_Shutdown();
}

bool ControllerEngine::noDrive() const
{
    return m_context.state.noDrive;
}

bool ControllerEngine::audioPresent() const
{
    const PlayerState &s = m_context.state;
    return !s.noDrive && s.discPresent && !s.discIgnored;
}

bool ControllerEngine::playing() const
{
    return m_context.state.isRunning();
}

bool ControllerEngine::paused() const
{
    return m_context.state.paused;
}

void ControllerEngine::setPaused(bool paused)
{
    m_context.state.paused = paused;
}

CurrentAlbum &ControllerEngine::current()
{
    return m_context.current;
}

QList<TStep> &ControllerEngine::list()
{
    return m_context.playlistList;
}

QString ControllerEngine::currentPlaylist() const
{
    const auto &playlist = m_context.currentPlaylist;
    return playlist ? playlist->title : QString();
}

int ControllerEngine::currentIndex() const
{
    return m_context.state.currentStepIndex;
}

void ControllerEngine::setCurrentIndex(int index)
{
    m_context.state.currentStepIndex = index;
    if (index >= 0 && index < m_context.playlistList.size())
        m_context.state.currentStep = m_context.playlistList.at(index);
}

int ControllerEngine::position() const
{
    return m_context.state.position;
}

void ControllerEngine::setPosition(int frames)
{
    m_context.state.position = frames;
}

int ControllerEngine::currentTrack() const
{
    // Right after a disc arrives no position has been read yet (-1): no track, and nothing
    // for the device layer to report as out of range.
    const int position = m_context.state.position;
    if (!audioPresent() || position < 0)
        return 0;
    const PlaybackScope scope(m_context);
    return qMax(0, OB4MCI_GetTrack(position));
}

int ControllerEngine::displayTime(int mode, int position) const
{
    const PlaybackScope scope(m_context);
    return OB4MCI_GetDisplayTime(mode, position);
}

QString ControllerEngine::driveLetters() const
{
    return m_context.drives ? m_context.drives->letters() : QString();
}

QChar ControllerEngine::currentDrive() const
{
    const QString letter = m_context.state.currentDrive;
    return letter.isEmpty() ? QChar() : letter.at(0);
}

DriveDiscLabel ControllerEngine::driveLabel(QChar letter)
{
    const PlaybackScope scope(m_context);
    QString id;
    const int result = OB4MCI_GetCachedDriveDiscID(QString(letter), &id);
    if (result < 0)
        return {DriveDiscLabel::Unreadable, {}, {}};
    if (result == 0)
        return {DriveDiscLabel::Empty, {}, {}};
    const CurrentAlbum &current = m_context.current;
    if (current.discPresent && current.disc.id.compare(id, Qt::CaseInsensitive) == 0 &&
        !current.album.isNew) {
        if (m_context.state.discIgnored)
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
    const PlaybackScope scope(m_context);
    OB4MCI_RefreshDriveIDs();
}

int ControllerEngine::trackFromFile(const QString &path)
{
    return OB4MCI_GetTrackFromFile(path, m_context.current.disc.mediaIdentity);
}

bool ControllerEngine::closeDrive()
{
    const PlaybackScope scope(m_context);
    return OB4MCI_CloseDrive();
}

bool ControllerEngine::openDrive(QChar letter)
{
    const PlaybackScope scope(m_context);
    return OB4MCI_Open(letter) == 0;
}

void ControllerEngine::playStep(int index)
{
    const PlaybackScope scope(m_context);
    OB4CTRL_PlayStep(index);
}

void ControllerEngine::playTrack(int track)
{
    const PlaybackScope scope(m_context);
    OB4CTRL_PlayTrack(track);
}

void ControllerEngine::startPlayback()
{
    const PlaybackScope scope(m_context);
    OB4MCI_StartPlayback();
    emit stateChanged();
}

void ControllerEngine::stopPlayback()
{
    const PlaybackScope scope(m_context);
    OB4MCI_StopPlayback();
    emit stateChanged();
}

void ControllerEngine::stop()
{
    const PlaybackScope scope(m_context);
    OB4CTRL_Stop();
}

void ControllerEngine::nextStep()
{
    const PlaybackScope scope(m_context);
    OB4CTRL_NextStep();
}

void ControllerEngine::prevStep()
{
    const PlaybackScope scope(m_context);
    OB4CTRL_PrevStep();
}

void ControllerEngine::moveToStep(int index)
{
    const PlaybackScope scope(m_context);
    OB4CTRL_MoveToStep(index);
}

void ControllerEngine::ejectOrRetract()
{
    const PlaybackScope scope(m_context);
    OB4MCI_EjectOrRetract();
}

void ControllerEngine::setCurrentPlaylist(const QString &title)
{
    const PlaybackScope scope(m_context);
    SetCurrentPlaylist(title);
}

void ControllerEngine::writeListBack()
{
    PlaybackContext &c = m_context;
    if (!c.currentPlaylist || c.currentPlaylist->isAlbumPlaylist())
        return;
    c.currentPlaylist->steps.clear();
    for (const TStep &step : std::as_const(c.playlistList))
        c.currentPlaylist->steps.append(copyStep(step));
}

void ControllerEngine::poll()
{
    const PlaybackScope scope(m_context);
    OB4MCI_Poll();
}

int ControllerEngine::volume() const
{
    return m_context.volume;
}

void ControllerEngine::setVolume(int volume)
{
    const PlaybackScope scope(m_context);
    OB4MCI_SetVolume(volume);
}

void ControllerEngine::discInserted()
{
    const PlaybackScope scope(m_context);
    PlaybackContext &c = m_context;
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
    PlaybackContext &c = m_context;
    if (m_collection)
        WriteAlbumInfo(*m_collection, false, c.current.webLinks, c.current.playlists,
                       c.current.disc, c.current.album);
    // The device layer clears the album after this notice; the window refreshes then.
    QMetaObject::invokeMethod(this, &PlayerEngine::discLeft, Qt::QueuedConnection);
}

void ControllerEngine::itemPlay(const TStep &step)
{
    emit itemPlaying(step.script);
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

void ControllerEngine::closePlaylistEditors()
{
    emit playlistEditorsClosing();
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

void ControllerEngine::closeWindow()
{
    emit closeRequested();
}

} // namespace Orbisong
