#include "app/SetupWindows.h"

#include "app/HelpTopics.h"
#include "base/AppPaths.h"
#include "collection/Settings.h"
#include "collection/TipList.h"
#include "player/DiscRecognizer.h"
#include "player/OtherPlayerStages.h"
#include "ui/player/TPlayerForm.h"
#include "ui/setup/TSetupWizard.h"
#include "ui/setup/TTipOfTheDayForm.h"

#include <QDesktopServices>

namespace Orbisong {

SetupWindows::SetupWindows(TPlayerForm *player, Collection *collection, Settings &settings,
                           QObject *parent)
    : QObject(parent), m_player(player), m_collection(collection), m_settings(settings)
{
    if (m_collection) {
        DiscRecognizer *recognizer = player->recognizer();
        recognizer->setImportStage(
            RecognitionSequence::OtherPlayer,
            OtherPlayerStages::cdPlayer(*m_collection, AppPaths::windowsFolder()));
        recognizer->setImportStage(
            RecognitionSequence::SecondPlayer,
            OtherPlayerStages::easyCd(*m_collection, AppPaths::settingsFile()));
    }
    connect(player, &TPlayerForm::firstTickReached, this, &SetupWindows::onFirstTick);
}

SetupWindows::~SetupWindows()
{
    m_player->recognizer()->setImportStage(RecognitionSequence::OtherPlayer, {});
    m_player->recognizer()->setImportStage(RecognitionSequence::SecondPlayer, {});
    delete m_wizard.data();
    delete m_tip.data();
}

void SetupWindows::onFirstTick()
{
    if (m_settings.startCount != 1) {
        showStartupTip();
        return;
    }
    TSetupWizard *wizard = showSetupWizard();
    connect(wizard, &QDialog::finished, this, &SetupWindows::showStartupTip);
}

void SetupWindows::showStartupTip()
{
    if (m_settings.GetOptionFlag(_GLOB_OPTION_SHOWTOTD))
        showTipOfTheDay(m_settings.startCount);
}

TSetupWizard *SetupWindows::showSetupWizard()
{
    if (m_wizard) {
        m_wizard->raise();
        m_wizard->activateWindow();
        return m_wizard;
    }
    // The browsers of the web links part are not known yet: both are offered.
    m_wizard = new TSetupWizard(m_settings, {}, m_player);
    m_wizard->setAttribute(Qt::WA_DeleteOnClose);
    m_player->suspendStayOnTop();
    TPlayerForm *player = m_player;
    connect(m_wizard, &TSetupWizard::settingsStored, player, [player] {
        player->setupTrayIcons();
        player->refreshAll();
    });
    // Resuming applies the stay-on-top answer.
    connect(m_wizard, &QDialog::finished, player, [player] { player->resumeStayOnTop(); });
    m_wizard->open();
    return m_wizard;
}

TTipOfTheDayForm *SetupWindows::showTipOfTheDay(qint64 startIndex)
{
    if (m_tip) {
        m_tip->raise();
        return m_tip;
    }
    const TipList tips = TipList::load(AppPaths::shippedFile(QStringLiteral("TIPS.TXT")));
    m_tip = new TTipOfTheDayForm(tips, startIndex, m_settings, m_player);
    m_tip->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_tip, &TTipOfTheDayForm::helpRequested, this, [](const QString &topic) {
        QDesktopServices::openUrl(HelpTopics::url(HelpTopics::pageForTip(topic)));
    });
    m_tip->open();
    return m_tip;
}

} // namespace Orbisong
