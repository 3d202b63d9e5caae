#include "DeviceEngine.h"

#include "AlbumRecord.h"
#include "CdDevice.h"
#include "CdDriveSet.h"
#include "Collection.h"
#include "DiscId.h"
#include "MediaKind.h"
#include "Settings.h"

#include <QLoggingCategory>
#include <QRandomGenerator>

Q_LOGGING_CATEGORY(lcEngine, "orbisong.player.engine")

namespace Orbisong {

DeviceEngine::DeviceEngine(CdDriveSet &drives, Settings &settings, Collection *collection,
                           QObject *parent)
    : PlayerEngine(parent)
    , m_drives(drives)
    , m_settings(settings)
    , m_collection(collection)
{
}

DeviceEngine::~DeviceEngine() = default;

void DeviceEngine::startup(QChar preferred, bool noDrive)
{
    m_noDrive = true;
    if (noDrive)
        return;
    QString order = m_drives.letters();
    if (!preferred.isNull() && order.contains(preferred.toUpper())) {
        order.remove(preferred.toUpper());
        order.prepend(preferred.toUpper());
    }
    for (QChar letter : order) {
        if (openDrive(letter))
            return;
    }
}

void DeviceEngine::shutdown()
{
    if (m_playing && m_device)
        m_playing = false;
    closeDrive();
}

bool DeviceEngine::audioPresent() const
{
    return !m_noDrive && m_current.discPresent && m_current.disc.mediaKind == MediaKindAudioCd;
}

QString DeviceEngine::driveLetters() const
{
    return m_drives.letters();
}

bool DeviceEngine::openDrive(QChar letter)
{
    int error = 0;
    QString text;
    auto device = m_drives.open(letter, &error, &text);
    if (!device) {
        qCInfo(lcEngine) << "Unable to open drive" << letter << text;
        return false;
    }
    m_device = std::move(device);
    m_letter = letter.toUpper();
    m_noDrive = false;
    m_discKnown = false;
    m_device->setVolume(m_volume);
    return true;
}

bool DeviceEngine::closeDrive()
{
    if (!m_device)
        return true;
    if (m_discKnown)
        discGone();
    m_device.reset();
    m_letter = QChar();
    return true;
}

void DeviceEngine::poll()
{
    if (!m_device)
        return;
    bool present = false;
    if (m_device->mediaPresent(&present) != 0)
        present = false;
    if (present && !m_discKnown) {
        readToc();
        return;
    }
    if (!present && m_discKnown) {
        discGone();
        return;
    }
    if (!m_playing)
        return;
    int frames = m_position;
    int mode = CdDevice::ModePlay;
    m_device->position(&frames);
    m_device->mode(&mode);
    m_position = frames;
    const bool stepOver = m_index >= 0 && m_index < m_list.size()
                          && m_position >= m_list.at(m_index).end;
    if (stepOver || mode == CdDevice::ModeStop) {
        if (m_index + 1 < m_list.size() || repeat() || randomOrder()) {
            nextStep();
        } else {
            stop();
        }
        return;
    }
    emit stateChanged();
}

void DeviceEngine::readToc()
{
    DiscInfo disc;
    int count = 0;
    m_device->trackCount(&count);
    count = qBound(0, count, DiscInfo::MaxTracks);
    QList<int> starts;
    for (int t = 1; t <= count + 1; ++t) {
        int start = 0;
        m_device->trackStart(t, &start);
        disc.trackOffsets[t] = start;
        if (t <= count)
            starts.append(start);
    }
    for (int t = 1; t <= count; ++t)
        disc.trackLengths[t] = disc.trackOffsets[t + 1] - disc.trackOffsets[t];
    disc.trackCount = count;
    disc.length = disc.trackOffsets[count + 1] / 75;
    disc.id = AlbumId(starts, disc.trackOffsets[count + 1]);
    m_device->mediaIdentity(&disc.mediaIdentity);
    int type = CdDevice::TrackAudio;
    if (count > 0 && m_device->trackType(1, &type) == 0 && type != CdDevice::TrackAudio)
        disc.mediaKind = MediaKindCdRom;
    else
        disc.mediaKind = MediaKindAudioCd;
    m_current = CurrentAlbum();
    m_current.disc = disc;
    m_current.discPresent = count > 0;
    m_discKnown = true;
    loadAlbum();
    emit discInserted();
    emit stateChanged();
}

void DeviceEngine::loadAlbum()
{
    const bool loaded = m_collection
                        && ReadAlbumInfo(*m_collection, m_current.webLinks, m_current.album,
                                         m_current.playlists, m_current.disc);
    if (!loaded)
        m_current.album.isNew = true;
    if (m_collection)
        m_collection->setCurrentAlbum(&m_current);
    m_list.clear();
    m_index = -1;
    m_position = 0;
    m_playing = false;
    m_paused = false;
    if (!audioPresent())
        return;
    m_current.playlists.prepend(MakeAlbumPlaylist(
        m_current.disc, m_settings.GetOptionFlag(_GLOB_OPTION_NOALBUMBLANKTRACKS)));
    setCurrentPlaylist(m_current.album.currentPlaylist);
}

void DeviceEngine::discGone()
{
    if (m_playing && m_device)
        m_device->stop();
    emit discRemoving();
    if (m_collection && m_current.discPresent)
        WriteAlbumInfo(*m_collection, false, m_current.webLinks, m_current.playlists,
                       m_current.disc, m_current.album);
    if (m_collection)
        m_collection->setCurrentAlbum(nullptr);
    m_current = CurrentAlbum();
    m_list.clear();
    m_playlist.clear();
    m_index = -1;
    m_position = 0;
    m_playing = false;
    m_paused = false;
    m_discKnown = false;
    emit discRemoved();
    emit stateChanged();
}

int DeviceEngine::trackAt(int frames) const
{
    const DiscInfo &disc = m_current.disc;
    for (int t = disc.trackCount; t >= 1; --t) {
        if (frames >= disc.trackOffsets[t])
            return t;
    }
    return disc.trackCount > 0 ? 1 : 0;
}

int DeviceEngine::currentTrack() const
{
    return audioPresent() && !m_list.isEmpty() ? trackAt(m_position) : 0;
}

int DeviceEngine::displayTime(int mode, int position) const
{
    if (!audioPresent() || m_index < 0 || m_index >= m_list.size())
        return 0;
    const DiscInfo &disc = m_current.disc;
    const int track = trackAt(position);
    switch (mode) {
    case 0: return position - disc.trackOffsets[track];
    case 1: return disc.trackOffsets[track + 1] - position;
    default: break;
    }
    int elapsed = 0;
    int total = 0;
    for (int i = 0; i < m_list.size(); ++i) {
        total += m_list.at(i).length();
        if (i < m_index)
            elapsed += m_list.at(i).length();
    }
    elapsed += position - m_list.at(m_index).start;
    return mode == 2 ? elapsed : total - elapsed;
}

bool DeviceEngine::randomOrder() const
{
    return m_settings.GetOptionFlag(_GLOB_OPTION_RANDOMORDER);
}

bool DeviceEngine::repeat() const
{
    return m_current.album.flags & AlbumFlagRepeat;
}

void DeviceEngine::playStep(int index)
{
    if (!m_device || index < 0 || index >= m_list.size())
        return;
    m_index = index;
    m_position = m_list.at(index).start;
    m_playing = m_device->play(m_position) == 0;
    m_paused = false;
    emit stepChanged();
    emit stateChanged();
}

void DeviceEngine::playTrack(int track)
{
    const int start = m_current.disc.trackOffsets[qBound(0, track, DiscInfo::MaxTracks)];
    const int end = m_current.disc.trackOffsets[qBound(0, track + 1, DiscInfo::MaxTracks + 1)];
    for (int i = 0; i < m_list.size(); ++i) {
        if (m_list.at(i).start >= start && m_list.at(i).start < end) {
            playStep(i);
            return;
        }
    }
}

void DeviceEngine::startPlayback()
{
    if (!m_device || m_index < 0)
        return;
    m_playing = m_device->play(m_position) == 0;
    emit stateChanged();
}

void DeviceEngine::stopPlayback()
{
    if (!m_device)
        return;
    int frames = m_position;
    if (m_device->position(&frames) == 0)
        m_position = frames;
    m_device->stop();
    m_playing = false;
    emit stateChanged();
}

void DeviceEngine::stop()
{
    if (m_device && m_playing)
        m_device->stop();
    m_playing = false;
    m_paused = false;
    if (m_index >= m_list.size())
        m_index = m_list.isEmpty() ? -1 : 0;
    m_position = m_index >= 0 ? m_list.at(m_index).start : 0;
    emit stepChanged();
    emit stateChanged();
}

void DeviceEngine::nextStep()
{
    if (m_list.isEmpty())
        return;
    int next = m_index + 1;
    if (randomOrder())
        next = int(QRandomGenerator::global()->bounded(m_list.size()));
    else if (next >= m_list.size())
        next = repeat() ? 0 : m_list.size() - 1;
    if (m_playing)
        playStep(next);
    else
        moveToStep(next);
}

void DeviceEngine::prevStep()
{
    if (m_list.isEmpty())
        return;
    // Within the first seconds of a step "previous" goes back a step, later to its start.
    const bool atStart = m_index < 0 || m_position - m_list.at(m_index).start < 2 * 75;
    const int previous = atStart ? qMax(0, m_index - 1) : m_index;
    if (m_playing)
        playStep(previous);
    else
        moveToStep(previous);
}

void DeviceEngine::moveToStep(int index)
{
    if (index < 0 || index >= m_list.size())
        return;
    m_index = index;
    m_position = m_list.at(index).start;
    emit stepChanged();
    emit stateChanged();
}

void DeviceEngine::ejectOrRetract()
{
    if (!m_device)
        return;
    bool present = false;
    m_device->mediaPresent(&present);
    if (present) {
        if (m_playing)
            m_device->stop();
        m_playing = false;
        m_device->openDoor();
    } else {
        m_device->closeDoor();
    }
}

void DeviceEngine::setCurrentPlaylist(const QString &title)
{
    auto playlist = findPlaylist(m_current.playlists, title);
    if (!playlist && !m_current.playlists.isEmpty())
        playlist = m_current.playlists.first();
    if (!playlist)
        return;
    m_playlist = playlist->title;
    m_current.album.currentPlaylist = playlist->isAlbumPlaylist() ? QString() : playlist->title;
    m_list = playlist->steps;
    m_index = m_list.isEmpty() ? -1 : 0;
    m_position = m_index >= 0 ? m_list.first().start : 0;
    if (m_playing) {
        m_device->stop();
        m_playing = false;
    }
    m_paused = false;
    emit stepChanged();
    emit stateChanged();
}

void DeviceEngine::writeListBack()
{
    auto playlist = findPlaylist(m_current.playlists, m_playlist);
    if (playlist && !playlist->isAlbumPlaylist())
        playlist->steps = m_list;
}

int DeviceEngine::volume() const
{
    return m_volume;
}

void DeviceEngine::setVolume(int volume)
{
    m_volume = qBound(0, volume, 65535);
    if (m_device)
        m_device->setVolume(m_volume);
}

} // namespace Orbisong
