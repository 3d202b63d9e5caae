#include "app/EventScripts.h"

#include "collection/Collection.h"
#include "collection/Settings.h"
#include "player/AlbumScriptConsent.h"
#include "player/ControllerEngine.h"
#include "player/PlayerMciCommands.h"
#include "ui/player/TPlayerForm.h"
#include "ui/player/TStatusBox.h"

namespace Orbisong {

EventScripts::EventScripts(TPlayerForm *player, ControllerEngine *engine, Collection *collection,
                           Settings &settings, QuestionPort *questions)
    : m_player(player), m_engine(engine), m_collection(collection), m_settings(settings),
      m_host(player), m_dialogs(player), m_runner(m_host)
{
    m_runner.setQuestionPort(questions);
    m_runner.setInteractivePort(&m_dialogs);
    m_runner.setMediaCommands([engine](const QString &command, QString *answer) {
        return PlayerMciCommands(*engine).run(command, answer);
    });
    m_host.setStatusSink(
        [player](const QString &text, int seconds) { player->statusBox()->add(text, seconds); });
    m_host.setWebLinks([engine] {
        QStringList addresses;
        for (const WebLinkItem &link : engine->current().webLinks)
            addresses << link.address;
        return addresses;
    });
    m_host.setIconSink([player](const QPixmap &picture) {
        player->setWindowIcon(picture.isNull() ? QIcon() : QIcon(picture));
    });
    connect(player, &TPlayerForm::scriptEvent, this,
            [this](const QString &event, const QString &script) {
                const bool timer = event.startsWith(QLatin1String("On_Timer"));
                fire(event, script, !timer);
            });
    // The step's notice comes from inside the device layer's call.
    connect(
        engine, &ControllerEngine::itemPlaying, this,
        [this](const QString &script) { fire(QStringLiteral("On_ItemPlay"), script, true); },
        Qt::QueuedConnection);
}

void EventScripts::fire(const QString &event, const QString &script, bool albumScript)
{
    if (albumScript) {
        AlbumInfo &album = m_engine->current().album;
        bool allowed = false;
        if (!mayRunAlbumScript(album, script, m_host, &allowed))
            return;
        if (allowed && m_collection)
            m_collection->SetAlbumFlags(m_engine->current().disc.id, album.flags);
    }
    m_runner.setTimeBudget(qMax(1, m_settings.scriptTimeLimit) * 1000);
    m_runner.fire(event, script, EventScriptRunner::defaultScript());
}

} // namespace Orbisong
