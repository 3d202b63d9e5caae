#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>

class QMenu;
class QSystemTrayIcon;

namespace Orbisong {

// One notification-area icon. Without a system tray it keeps its state and shows nothing,
// so the player works the same on desktops that have none.
class TTrayIcon : public QObject
{
    Q_OBJECT

public:
    explicit TTrayIcon(const QIcon &icon, QObject *parent = nullptr);

    void setActive(bool active);
    bool isActive() const { return m_active; }
    // Cut to the tray's 62 characters.
    void setToolTip(const QString &text);
    QString toolTip() const { return m_toolTip; }
    void setPopupMenu(QMenu *menu);

signals:
    void clicked();
    void doubleClicked();

private:
    QIcon m_icon;
    QString m_toolTip;
    QPointer<QMenu> m_menu;
    QSystemTrayIcon *m_tray = nullptr;
    bool m_active = false;
};

} // namespace Orbisong
