#include "player/PlayerTransport.h"

#include "player/PlayerEngine.h"

#include <QRandomGenerator>

namespace Orbisong {

void PlayerTransport::togglePlay()
{
    if (m_engine.playing()) {
        m_engine.stopPlayback();
        m_engine.setPaused(true);
        return;
    }
    const int index = m_engine.currentIndex();
    const QList<TStep> &list = m_engine.list();
    if (index >= 0 && index < list.size() && m_engine.position() == list.at(index).start)
        m_engine.playStep(index);
    else
        m_engine.startPlayback();
    m_engine.setPaused(false);
}

bool PlayerTransport::setIntro(bool on)
{
    if (!m_engine.audioPresent())
        return false;
    int &flags = m_engine.current().album.flags;
    flags = on ? (flags | AlbumFlagIntro) : (flags & ~AlbumFlagIntro);
    if (on) {
        const bool running = m_engine.playing();
        m_engine.stopPlayback();
        if (running)
            m_engine.playStep(m_engine.currentIndex());
        else
            m_engine.moveToStep(m_engine.currentIndex());
    }
    return true;
}

bool PlayerTransport::setRepeat(bool on)
{
    if (!m_engine.audioPresent())
        return false;
    int &flags = m_engine.current().album.flags;
    flags = on ? (flags | AlbumFlagRepeat) : (flags & ~AlbumFlagRepeat);
    return true;
}

bool PlayerTransport::playRequest(QChar drive, int track)
{
    if (m_engine.noDrive())
        return false;
    const QChar letter = drive.toUpper();
    if (!letter.isNull() && letter != m_engine.currentDrive()) {
        if (!m_engine.closeDrive() || !m_engine.openDrive(letter))
            return false;
    }
    if (track > 0)
        m_engine.playTrack(track);
    else
        m_engine.playStep(0);
    return true;
}

void PlayerTransport::startRequested(int step, int track, bool firstStep)
{
    const int count = int(m_engine.list().size());
    if (step >= 0 && count > 0)
        m_engine.playStep(step == RandomStep ? int(QRandomGenerator::global()->bounded(count))
                                             : qMin(step, count - 1));
    else if (track > 0)
        m_engine.playTrack(track);
    else if (firstStep && count > 0)
        m_engine.playStep(0);
}

} // namespace Orbisong
