#include "player/mpris/MprisService.h"

#include "player/mpris/MprisPlayerAdaptor.h"
#include "player/mpris/MprisRootAdaptor.h"
#include "player/PlayerEngine.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcMpris, "orbisong.mpris")

namespace Orbisong {

MprisService::MprisService(PlayerEngine *engine, const Settings &settings, MprisControls controls,
                           QObject *parent)
    : QObject(parent), m_controls(std::move(controls)), m_engine(engine)
{
    new MprisRootAdaptor(this, m_controls);
    m_player = new MprisPlayerAdaptor(this, engine, settings, m_controls);
}

MprisService::~MprisService()
{
    if (m_serviceName.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QStringLiteral("/org/mpris/MediaPlayer2"));
    bus.unregisterService(m_serviceName);
}

bool MprisService::registerOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCInfo(lcMpris) << "no session bus, media keys and desktop widgets stay off:"
                        << bus.lastError().message();
        return false;
    }
    if (!bus.registerObject(QStringLiteral("/org/mpris/MediaPlayer2"), this,
                            QDBusConnection::ExportAdaptors)) {
        qCInfo(lcMpris) << "the media player object could not be registered";
        return false;
    }
    QString name = QStringLiteral("org.mpris.MediaPlayer2.orbisong");
    if (!bus.registerService(name)) {
        name += QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
        if (!bus.registerService(name)) {
            qCInfo(lcMpris) << "no media player name on the session bus";
            bus.unregisterObject(QStringLiteral("/org/mpris/MediaPlayer2"));
            return false;
        }
    }
    m_serviceName = name;
    // Only a player on the bus has listeners to tell of its changes.
    for (auto signal : {&PlayerEngine::stateChanged, &PlayerEngine::stepChanged,
                        &PlayerEngine::discArrived, &PlayerEngine::discLeft})
        connect(m_engine, signal, m_player, &MprisPlayerAdaptor::announceChanges);
    return true;
}

void MprisService::announceChanges()
{
    if (!m_serviceName.isEmpty())
        m_player->announceChanges();
}

} // namespace Orbisong
