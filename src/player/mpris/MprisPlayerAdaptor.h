#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QVariantMap>

namespace Orbisong {

class PlayerEngine;
struct MprisControls;
struct Settings;

// org.mpris.MediaPlayer2.Player over the player's engine: the desktop's media keys, panel
// widgets and playerctl see the current step as the track, and its transport acts through the
// window's controls. Times are microseconds within the current step.
class MprisPlayerAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPlay)
    Q_PROPERTY(bool CanSeek READ canPlay)
    Q_PROPERTY(bool CanControl READ canControl)

public:
    MprisPlayerAdaptor(QObject *parent, PlayerEngine *engine, const Settings &settings,
                       const MprisControls &controls);

    QString playbackStatus() const;
    double rate() const { return 1.0; }
    // Playing at another speed is not offered; the property is writable only as required.
    void setRate(double) {}
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    qlonglong position() const;
    bool canGoNext() const;
    bool canGoPrevious() const;
    bool canPlay() const;
    bool canControl() const { return true; }

    // The object path that names a step in "mpris:trackid".
    static QDBusObjectPath trackId(int serial);
    // Tells the bus which properties changed since the last call.
    void announceChanges();

public slots:
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath &trackId, qlonglong position);
    void OpenUri(const QString &uri);

signals:
    void Seeked(qlonglong position);

private:
    QVariantMap properties() const;
    // The current step's start and length in frames; false without a current step.
    bool currentStep(int *start, int *length) const;
    void moveTo(qlonglong microseconds);

    PlayerEngine *m_engine;
    const Settings &m_settings;
    const MprisControls &m_controls;
    QVariantMap m_announced;
};

} // namespace Orbisong
