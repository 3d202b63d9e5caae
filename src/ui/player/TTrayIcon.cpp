#include "ui/player/TTrayIcon.h"

#include "player/PlayerText.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace Orbisong {

TTrayIcon::TTrayIcon(const QIcon &icon, QObject *parent) : QObject(parent), m_icon(icon)
{
}

void TTrayIcon::setActive(bool active)
{
    m_active = active;
    if (!active) {
        delete m_tray;
        m_tray = nullptr;
        return;
    }
    if (m_tray || !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_tray = new QSystemTrayIcon(m_icon, this);
    m_tray->setToolTip(m_toolTip);
    if (m_menu)
        m_tray->setContextMenu(m_menu);
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    emit clicked();
                else if (reason == QSystemTrayIcon::DoubleClick)
                    emit doubleClicked();
            });
    m_tray->show();
}

void TTrayIcon::setToolTip(const QString &text)
{
    const QString cut = TrayTip(text);
    if (cut == m_toolTip)
        return;
    m_toolTip = cut;
    if (m_tray)
        m_tray->setToolTip(m_toolTip);
}

void TTrayIcon::setPopupMenu(QMenu *menu)
{
    m_menu = menu;
    if (m_tray)
        m_tray->setContextMenu(menu);
}

} // namespace Orbisong
