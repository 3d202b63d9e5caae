#include "player/mpris/MprisPlayerAdaptor.h"

#include "collection/AlbumCover.h"
#include "player/mpris/MprisControls.h"
#include "player/PlayerDisplay.h"
#include "player/PlayerEngine.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QUrl>

namespace Orbisong {

namespace {

constexpr qlonglong MicrosecondsPerFrame = 1000000 / 75;
constexpr int FullVolume = 65535;

qlonglong framesToMicroseconds(int frames)
{
    return qlonglong(frames) * 1000000 / 75;
}

} // namespace

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject *parent, PlayerEngine *engine,
                                       const Settings &settings, const MprisControls &controls)
    : QDBusAbstractAdaptor(parent), m_engine(engine), m_settings(settings), m_controls(controls)
{
    m_announced = properties();
}

QDBusObjectPath MprisPlayerAdaptor::trackId(int serial)
{
    return QDBusObjectPath(QStringLiteral("/org/orbisong/step/%1").arg(serial));
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    if (m_engine->playing())
        return QStringLiteral("Playing");
    // Paused is what play resumes: a stop leaves the pause flag but puts the position back at
    // a step's start, from where play starts the step afresh.
    int start = 0;
    int length = 0;
    if (m_engine->paused() && currentStep(&start, &length) && m_engine->position() != start)
        return QStringLiteral("Paused");
    return QStringLiteral("Stopped");
}

bool MprisPlayerAdaptor::currentStep(int *start, int *length) const
{
    if (!m_engine->audioPresent())
        return false;
    const int index = m_engine->currentIndex();
    const QList<TStep> &steps = m_engine->list();
    if (index < 0 || index >= steps.size())
        return false;
    *start = steps.at(index).start;
    *length = steps.at(index).length();
    return true;
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    const int index = m_engine->currentIndex();
    int start = 0;
    int length = 0;
    if (!currentStep(&start, &length))
        return {
            {QStringLiteral("mpris:trackid"),
             QVariant::fromValue(QDBusObjectPath("/org/mpris/MediaPlayer2/TrackList/NoTrack"))}};
    const CurrentAlbum &current = m_engine->current();
    const PlayerDisplay display(m_engine, m_settings);
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"),
               QVariant::fromValue(trackId(m_engine->list().at(index).serial())));
    map.insert(QStringLiteral("mpris:length"), framesToMicroseconds(length));
    map.insert(QStringLiteral("xesam:title"), display.stepTitle(index));
    map.insert(QStringLiteral("xesam:album"), current.album.title);
    map.insert(QStringLiteral("xesam:artist"), QStringList{current.album.artist});
    // The step's place in the playlist, as the player numbers its rows.
    map.insert(QStringLiteral("xesam:trackNumber"), index + 1);
    const QString cover = AlbumCover::path(current.disc.id);
    if (!cover.isEmpty())
        map.insert(QStringLiteral("mpris:artUrl"), QUrl::fromLocalFile(cover).toString());
    return map;
}

double MprisPlayerAdaptor::volume() const
{
    return double(m_engine->volume()) / FullVolume;
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    const int value = qRound(qBound(0.0, volume, 1.0) * FullVolume);
    if (m_controls.setVolume)
        m_controls.setVolume(value);
    announceChanges();
}

qlonglong MprisPlayerAdaptor::position() const
{
    int start = 0;
    int length = 0;
    if (!currentStep(&start, &length))
        return 0;
    return framesToMicroseconds(qBound(0, m_engine->position() - start, length));
}

bool MprisPlayerAdaptor::canGoNext() const
{
    return PlayerDisplay(m_engine, m_settings).enabled().next;
}

bool MprisPlayerAdaptor::canGoPrevious() const
{
    const PlayerDisplay::Enabled enabled = PlayerDisplay(m_engine, m_settings).enabled();
    return enabled.steps && enabled.hasCurrent;
}

bool MprisPlayerAdaptor::canPlay() const
{
    return PlayerDisplay(m_engine, m_settings).enabled().steps;
}

void MprisPlayerAdaptor::Play()
{
    if (!m_engine->playing() && m_controls.playPause)
        m_controls.playPause();
    announceChanges();
}

void MprisPlayerAdaptor::Pause()
{
    if (m_engine->playing() && m_controls.playPause)
        m_controls.playPause();
    announceChanges();
}

void MprisPlayerAdaptor::PlayPause()
{
    if (m_controls.playPause)
        m_controls.playPause();
    announceChanges();
}

void MprisPlayerAdaptor::Stop()
{
    if (m_controls.stop)
        m_controls.stop();
    announceChanges();
}

void MprisPlayerAdaptor::Next()
{
    if (m_controls.next)
        m_controls.next();
    announceChanges();
}

void MprisPlayerAdaptor::Previous()
{
    if (m_controls.previous)
        m_controls.previous();
    announceChanges();
}

void MprisPlayerAdaptor::Seek(qlonglong offset)
{
    moveTo(position() + offset);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath &track, qlonglong position)
{
    const int index = m_engine->currentIndex();
    if (index < 0 || index >= m_engine->list().size() ||
        track != trackId(m_engine->list().at(index).serial()))
        return;
    moveTo(position);
}

void MprisPlayerAdaptor::moveTo(qlonglong microseconds)
{
    int start = 0;
    int length = 0;
    if (!currentStep(&start, &length))
        return;
    if (microseconds >= framesToMicroseconds(length)) {
        Next();
        return;
    }
    const int frames = start + int(qMax(0LL, microseconds) / MicrosecondsPerFrame);
    // The drive moves only while stopped; playback resumes at the new place.
    const bool running = m_engine->playing();
    if (running)
        m_engine->stopPlayback();
    m_engine->setPosition(frames);
    if (running)
        m_engine->startPlayback();
    if (m_controls.refresh)
        m_controls.refresh();
    emit Seeked(position());
    announceChanges();
}

void MprisPlayerAdaptor::OpenUri(const QString &uri)
{
    // Discs are opened by drive, not by address: the interface offers no URI schemes.
    Q_UNUSED(uri)
}

QVariantMap MprisPlayerAdaptor::properties() const
{
    return {{QStringLiteral("PlaybackStatus"), playbackStatus()},
            {QStringLiteral("Metadata"), metadata()},
            {QStringLiteral("Volume"), volume()},
            {QStringLiteral("CanGoNext"), canGoNext()},
            {QStringLiteral("CanGoPrevious"), canGoPrevious()},
            {QStringLiteral("CanPlay"), canPlay()},
            {QStringLiteral("CanPause"), canPlay()},
            {QStringLiteral("CanSeek"), canPlay()}};
}

void MprisPlayerAdaptor::announceChanges()
{
    const QVariantMap now = properties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_announced.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    m_announced = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

} // namespace Orbisong
