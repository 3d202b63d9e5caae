#pragma once

#include "ui/setup/TSetupWizard.h"
#include "ui/setup/TTipOfTheDayForm.h"

#include <QObject>
#include <QPointer>

namespace Orbisong {

class Collection;
class TPlayerForm;
struct Settings;

// The player's start-up windows and its link to other CD players: the first-run setup wizard,
// the tip of the day, and the recognition stages that copy a new disc's titles from the
// other players' data on the machine.
class SetupWindows : public QObject
{
    Q_OBJECT

public:
    // Without a collection the import stages are left out.
    SetupWindows(TPlayerForm *player, Collection *collection, Settings &settings,
                 QObject *parent = nullptr);
    ~SetupWindows() override;

    // The one setup wizard, brought to the front when it is open already.
    TSetupWizard *showSetupWizard();
    // The tip window, opening on tip `startIndex` counted round the list.
    TTipOfTheDayForm *showTipOfTheDay(qint64 startIndex);
    TSetupWizard *setupWizard() const { return m_wizard; }
    TTipOfTheDayForm *tipOfTheDay() const { return m_tip; }

private:
    // The wizard at the first start, then the tip of the day when the user wants it.
    void onFirstTick();
    void showStartupTip();

    TPlayerForm *m_player;
    Collection *m_collection;
    Settings &m_settings;
    QPointer<TSetupWizard> m_wizard;
    QPointer<TTipOfTheDayForm> m_tip;
};

} // namespace Orbisong
