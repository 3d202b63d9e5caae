#include "playback/ScriptedDevice.h"

#include "collection/DiscId.h"

namespace Orbisong {

ScriptedDevice::Disc ScriptedDevice::audioDisc(const QList<int> &trackStarts, int leadOut)
{
    Disc disc;
    disc.trackStarts = trackStarts;
    disc.leadOut = leadOut;
    return disc;
}

void ScriptedDevice::insert(const Disc &disc)
{
    m_disc = disc;
    m_hasDisc = true;
    m_doorOpen = false;
    m_mode = ModeStop;
    m_position = disc.trackStarts.value(0, 0);
}

void ScriptedDevice::remove()
{
    m_hasDisc = false;
    m_mode = m_doorOpen ? ModeOpen : ModeNotReady;
    m_position = 0;
}

void ScriptedDevice::advance(int frames)
{
    if (m_mode != ModePlay)
        return;
    m_position += frames;
    if (m_position >= m_disc.leadOut) {
        m_position = m_disc.leadOut;
        m_mode = ModeStop;
    }
}

void ScriptedDevice::stopByItself()
{
    if (m_mode == ModePlay)
        m_mode = ModeStop;
}

void ScriptedDevice::setFailure(Command command, int code)
{
    if (code == 0)
        m_failures.remove(command);
    else
        m_failures.insert(command, code);
}

int ScriptedDevice::ready(Command command) const
{
    if (const int code = failure(command))
        return code;
    return m_hasDisc ? NoError : ErrorMediaNotPresent;
}

int ScriptedDevice::mediaPresent(bool *present)
{
    if (const int code = failure(MediaPresent))
        return code;
    *present = m_hasDisc;
    return NoError;
}

int ScriptedDevice::trackCount(int *count)
{
    if (const int code = ready(TrackCount))
        return code;
    *count = int(m_disc.trackStarts.size());
    return NoError;
}

int ScriptedDevice::trackStart(int track, int *frames)
{
    if (const int code = ready(TrackStart))
        return code;
    return startInTable(m_disc.trackStarts, m_disc.leadOut, track, frames);
}

int ScriptedDevice::trackLength(int track, int *frames)
{
    if (const int code = ready(TrackLength))
        return code;
    return lengthInTable(m_disc.trackStarts, m_disc.leadOut, track, frames);
}

int ScriptedDevice::position(int *frames)
{
    ++m_positionReadsSincePlay;
    if (const int code = ready(Position))
        return code;
    *frames = m_position;
    return NoError;
}

int ScriptedDevice::mode(int *mode)
{
    if (const int code = failure(GetMode))
        return code;
    *mode = m_doorOpen ? ModeOpen : (m_hasDisc ? m_mode : ModeNotReady);
    return NoError;
}

int ScriptedDevice::play(int from)
{
    m_positionReadsSincePlay = 0;
    if (const int code = ready(Play))
        return code;
    if (from < m_disc.trackStarts.value(0, 0) || from > m_disc.leadOut)
        return ErrorOutOfRange;
    ++m_playCount;
    m_lastPlayFrom = from;
    m_position = m_positionAfterPlay >= 0 ? m_positionAfterPlay : from;
    m_mode = ModePlay;
    return NoError;
}

int ScriptedDevice::stop()
{
    if (const int code = ready(Stop))
        return code;
    ++m_stopCount;
    m_mode = ModeStop;
    return NoError;
}

int ScriptedDevice::openDoor()
{
    if (const int code = failure(OpenDoor))
        return code;
    m_doorOpen = true;
    remove();
    return NoError;
}

int ScriptedDevice::closeDoor()
{
    if (const int code = failure(CloseDoor))
        return code;
    m_doorOpen = false;
    if (m_mode == ModeOpen)
        m_mode = ModeNotReady;
    return NoError;
}

int ScriptedDevice::trackType(int track, int *type)
{
    if (const int code = ready(TrackType))
        return code;
    if (m_disc.trackTypeUnsupported)
        return ErrorUnsupportedFunction;
    if (track < 1 || track > m_disc.trackStarts.size())
        return ErrorOutOfRange;
    *type = m_disc.dataTracks.contains(track) ? TrackOther : TrackAudio;
    return NoError;
}

int ScriptedDevice::mediaIdentity(QString *identity)
{
    if (const int code = ready(MediaIdentity))
        return code;
    *identity = m_disc.identity.isEmpty()
                    ? QString::number(CddbDiscId(m_disc.trackStarts, m_disc.leadOut))
                    : m_disc.identity;
    return NoError;
}

QString ScriptedDevice::volumeLabel()
{
    if (!m_hasDisc)
        return {};
    if (!m_disc.label.isNull())
        return m_disc.label;
    return m_disc.dataTracks.contains(1) || m_disc.trackTypeUnsupported
               ? QString()
               : QStringLiteral("Audio CD");
}

} // namespace Orbisong
