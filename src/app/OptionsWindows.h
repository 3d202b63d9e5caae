#pragma once

#include "ui/options/TOptionsForm.h"

#include <QObject>
#include <QPointer>

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

private:
    void onSettingsApplied();

    TPlayerForm *m_player;
    Settings &m_settings;
    QuestionPort *m_questions;
    QPointer<TOptionsForm> m_form;
};

} // namespace Orbisong
