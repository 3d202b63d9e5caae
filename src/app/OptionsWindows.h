#pragma once

#include "ui/options/TOptionsForm.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

namespace Orbisong {

class QuestionPort;
class TPlayerForm;
struct Settings;

// The one Options window: opened from the player's "&Options" or with a page to show first,
// and what the running player does when the window's settings are applied.
class OptionsWindows : public QObject
{
    Q_OBJECT

public:
    OptionsWindows(TPlayerForm *player, Settings &settings, QuestionPort *questions,
                   QObject *parent = nullptr);
    ~OptionsWindows() override;

    // Shows the window without blocking the others, on page `page` (0 the first).
    TOptionsForm *showOptions(int page = 0);
    TOptionsForm *optionsForm() const { return m_form; }
    // Local CDDB folders the player searches besides the one in the settings.
    void setFixedCddbFolders(const QStringList &folders) { m_fixedCddbFolders = folders; }

private:
    void onSettingsApplied();

    TPlayerForm *m_player;
    Settings &m_settings;
    QuestionPort *m_questions;
    QPointer<TOptionsForm> m_form;
    QStringList m_fixedCddbFolders;
};

} // namespace Orbisong
