#pragma once

#include "base/ThreadWindow.h"

#include <functional>

class QWidget;

namespace Orbisong {

struct Settings;

// Shows the lookup threads' windows for the player: install it on the thread window.
class LookupWindows : public ThreadRequestHandler
{
public:
    LookupWindows(QWidget *player, Settings &settings);

    // Called around every window shown, so the player can suspend floating above other
    // windows while one is open.
    void setModalHooks(std::function<void()> enter, std::function<void()> leave);

    void showGreeting(const QString &greeting) override;
    bool chooseMatch(const QString &candidates, QString *category, QString *discId) override;

private:
    QWidget *m_player;
    Settings &m_settings;
    std::function<void()> m_enter;
    std::function<void()> m_leave;
};

} // namespace Orbisong
