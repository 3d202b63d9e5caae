#pragma once

#include "player/EventScriptRunner.h"
#include "ui/script/WindowDialogs.h"
#include "ui/script/WindowHostPort.h"

#include <QObject>

namespace Orbisong {

class Collection;
class ControllerEngine;
class QuestionPort;
class TPlayerForm;
struct Settings;

// Runs the scripts of the player's events: the album's on insert and eject, the step's when
// it begins to play, the settings' on timer play and stop. Host procedures answer with the
// player's status box, the album's web links and the desktop.
class EventScripts : public QObject
{
    Q_OBJECT

public:
    EventScripts(TPlayerForm *player, ControllerEngine *engine, Collection *collection,
                 Settings &settings, QuestionPort *questions);

    EventScriptRunner &runner() { return m_runner; }

private:
    void fire(const QString &event, const QString &script, bool albumScript);

    TPlayerForm *m_player;
    ControllerEngine *m_engine;
    Collection *m_collection;
    Settings &m_settings;
    WindowHostPort m_host;
    WindowDialogs m_dialogs;
    EventScriptRunner m_runner;
};

} // namespace Orbisong
