#include "LookupWindows.h"

#include "TCDDBMOTDForm.h"
#include "TRemoteInexactMatchForm.h"

namespace Orbisong {

LookupWindows::LookupWindows(QWidget *player, Settings &settings)
    : m_player(player)
    , m_settings(settings)
{
}

void LookupWindows::showGreeting(const QString &greeting)
{
    TCDDBMOTDForm::showWelcome(m_player, greeting, m_settings);
}

bool LookupWindows::chooseMatch(const QString &candidates, QString *category, QString *discId)
{
    return TRemoteInexactMatchForm::chooseMatch(m_player, candidates, category, discId);
}

} // namespace Orbisong
