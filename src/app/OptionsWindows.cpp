#include "app/OptionsWindows.h"

#include "collection/Settings.h"
#include "ui/options/TOptionsForm.h"
#include "ui/player/TPlayerForm.h"

namespace Orbisong {

OptionsWindows::OptionsWindows(TPlayerForm *player, Settings &settings, QuestionPort *questions,
                               QObject *parent)
    : QObject(parent), m_player(player), m_settings(settings), m_questions(questions)
{
    connect(player, &TPlayerForm::optionsRequested, this, [this] { showOptions(0); });
}

OptionsWindows::~OptionsWindows()
{
    delete m_form.data();
}

TOptionsForm *OptionsWindows::showOptions(int page)
{
    if (!m_form) {
        m_form = new TOptionsForm(m_settings, {}, m_player);
        m_form->setAttribute(Qt::WA_DeleteOnClose);
        m_form->setQuestionPort(m_questions);
        connect(m_form, &TOptionsForm::settingsApplied, this, &OptionsWindows::onSettingsApplied);
    }
    m_form->showPage(page);
    m_form->show();
    m_form->raise();
    m_form->activateWindow();
    return m_form;
}

void OptionsWindows::onSettingsApplied()
{
    // A suspension and its end make the player take the stay-on-top setting afresh.
    m_player->suspendStayOnTop();
    m_player->resumeStayOnTop();
    m_player->setupTrayIcons();
    QStringList folders = m_fixedCddbFolders;
    if (!m_settings.cddbLocalPath.isEmpty())
        folders.prepend(m_settings.cddbLocalPath);
    m_player->setLocalCddbFolders(folders);
    m_player->refreshAll();
}

} // namespace Orbisong
