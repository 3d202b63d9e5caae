#include "ui/player/PlayerTray.h"

#include "collection/Settings.h"
#include "ui/player/PlayerHints.h"
#include "ui/player/TTrayIcon.h"

namespace Orbisong {

PlayerTray::PlayerTray(QMenu *menu, QObject *parent) : QObject(parent)
{
    const char *icons[IconCount] = {"orbisong", "stop", "play", "prev", "next"};
    const QString tips[IconCount] = {QString(), tr("Stop playback"), tr("Start or pause playback"),
                                     tr("Jump to previous track"), tr("Jump to next track")};
    for (int i = 0; i < IconCount; ++i) {
        auto *icon = new TTrayIcon(PlayerHints::icon(QString::fromLatin1(icons[i])), this);
        icon->setToolTip(tips[i]);
        icon->setPopupMenu(menu);
        m_icons.append(icon);
    }
}

TTrayIcon *PlayerTray::icon(int index) const
{
    return index >= 0 && index < m_icons.size() ? m_icons.at(index) : nullptr;
}

void PlayerTray::setup(const Settings &settings)
{
    hideAll();
    m_icons[Main]->setActive(true);
    m_icons[Stop]->setActive(settings.GetOptionFlag(_GLOB_OPTION_TRAYSTOP));
    m_icons[Play]->setActive(settings.GetOptionFlag(_GLOB_OPTION_TRAYPLAY));
    m_icons[Prev]->setActive(settings.GetOptionFlag(_GLOB_OPTION_TRAYPREV));
    m_icons[Next]->setActive(settings.GetOptionFlag(_GLOB_OPTION_TRAYNEXT));
}

void PlayerTray::hideAll()
{
    for (TTrayIcon *icon : std::as_const(m_icons))
        icon->setActive(false);
}

void PlayerTray::showMainTip(const QString &tip)
{
    m_icons[Main]->setToolTip(tip);
}

void PlayerTray::showStepTips(const QString &previous, const QString &next)
{
    m_icons[Prev]->setToolTip(previous);
    m_icons[Next]->setToolTip(next);
}

} // namespace Orbisong
