#include "ui/lookup/LookupWindows.h"

#include "ui/lookup/TCDDBMOTDForm.h"
#include "ui/lookup/TRemoteInexactMatchForm.h"

namespace Orbisong {

LookupWindows::LookupWindows(QWidget *player, Settings &settings)
    : m_player(player), m_settings(settings)
{
}

void LookupWindows::setModalHooks(std::function<void()> enter, std::function<void()> leave)
{
    m_enter = std::move(enter);
    m_leave = std::move(leave);
}

void LookupWindows::showGreeting(const QString &greeting)
{
    if (m_enter)
        m_enter();
    TCDDBMOTDForm::showWelcome(m_player, greeting, m_settings);
    if (m_leave)
        m_leave();
}

bool LookupWindows::chooseMatch(const QString &candidates, QString *category, QString *discId)
{
    if (m_enter)
        m_enter();
    const bool chosen =
        TRemoteInexactMatchForm::chooseMatch(m_player, candidates, category, discId);
    if (m_leave)
        m_leave();
    return chosen;
}

} // namespace Orbisong
