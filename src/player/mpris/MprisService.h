#pragma once

#include "player/mpris/MprisControls.h"

#include <QObject>

namespace Orbisong {

class MprisPlayerAdaptor;
class PlayerEngine;
struct Settings;

// The player on the session bus as an MPRIS media player, so that the desktop's media keys,
// panel widgets and playerctl drive it. Without a session bus it stays off the bus and the
// player runs as before.
class MprisService : public QObject
{
    Q_OBJECT

public:
    MprisService(PlayerEngine *engine, const Settings &settings, MprisControls controls,
                 QObject *parent = nullptr);
    ~MprisService() override;

    // Registers "org.mpris.MediaPlayer2.orbisong" (with the process id when another player
    // holds that name); false, with one logged line, when there is no session bus.
    bool registerOnSessionBus();
    QString serviceName() const { return m_serviceName; }
    // Tells listeners what changed outside the engine's signals (a cover stored later).
    void announceChanges();

private:
    MprisControls m_controls;
    PlayerEngine *m_engine = nullptr;
    MprisPlayerAdaptor *m_player = nullptr;
    QString m_serviceName;
};

} // namespace Orbisong
