#pragma once

#include "ThreadWindow.h"

class QWidget;

namespace Orbisong {

struct Settings;

// Shows the lookup threads' windows for the player: install it on the thread window.
class LookupWindows : public ThreadRequestHandler
{
public:
    LookupWindows(QWidget *player, Settings &settings);

    void showGreeting(const QString &greeting) override;
    bool chooseMatch(const QString &candidates, QString *category, QString *discId) override;

private:
    QWidget *m_player;
    Settings &m_settings;
};

} // namespace Orbisong
