#pragma once

#include <QList>
#include <QObject>

class QMenu;

namespace Orbisong {

class TTrayIcon;
struct Settings;

// The player's icons in the notification area: the program's own, and stop, play, previous
// and next as the settings ask. All of them open the same menu.
class PlayerTray : public QObject
{
    Q_OBJECT

public:
    enum Icon { Main, Stop, Play, Prev, Next, IconCount };

    PlayerTray(QMenu *menu, QObject *parent = nullptr);

    TTrayIcon *icon(int index) const;
    // Shows the main icon and the ones the settings ask for.
    void setup(const Settings &settings);
    void hideAll();
    // The main icon's tooltip, and those of the previous and next icons: the steps they go to.
    void showMainTip(const QString &tip);
    void showStepTips(const QString &previous, const QString &next);

private:
    QList<TTrayIcon *> m_icons;
};

} // namespace Orbisong
