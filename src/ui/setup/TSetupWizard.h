#pragma once

#include "collection/SetupAnswers.h"
#include "ui/common/TWizardForm.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace Orbisong {

struct Settings;

// "Welcome To Orbisong": the first-run wizard over a handful of settings. "Finish" stores the
// answers into the settings and emits settingsStored; panes skipped by answering that the
// computer is not on the Internet leave their settings as they were.
class TSetupWizard : public TWizardForm
{
    Q_OBJECT

public:
    // Which of the two browsers the system has; with neither both are offered.
    struct Browsers
    {
        bool explorer = false;
        bool navigator = false;
    };

    TSetupWizard(Settings &settings, Browsers browsers, QWidget *parent = nullptr);

    // The answers as the panes show them now.
    SetupAnswers answers() const;

signals:
    void settingsStored();

protected:
    QWidget *nextPane(QWidget *pane) override;
    QWidget *previousPane(QWidget *pane) override;
    void finish() override;

private:
    QWidget *addTextPane(const QString &heading, const QString &text, int step);
    void buildPanes(const SetupAnswers &answers, Browsers browsers);
    void onBorderToggled(QCheckBox *box, bool on);
    void updateBordersText();

    Settings &m_settings;
    QList<SetupAnswers::Server> m_servers;
    QWidget *m_networkPane = nullptr;
    QWidget *m_confirmPane = nullptr;
    QRadioButton *m_floatYes = nullptr;
    QCheckBox *m_left = nullptr;
    QCheckBox *m_top = nullptr;
    QCheckBox *m_right = nullptr;
    QCheckBox *m_bottom = nullptr;
    QLabel *m_bordersText = nullptr;
    QCheckBox *m_trayNext = nullptr;
    QCheckBox *m_trayStop = nullptr;
    QCheckBox *m_trayPlay = nullptr;
    QCheckBox *m_trayPrevious = nullptr;
    QButtonGroup *m_timeFormat = nullptr;
    QRadioButton *m_internetYes = nullptr;
    QRadioButton *m_explorer = nullptr;
    QRadioButton *m_navigator = nullptr;
    QLineEdit *m_smtpServer = nullptr;
    QLineEdit *m_smtpAddress = nullptr;
    QRadioButton *m_proxyYes = nullptr;
    QLineEdit *m_proxyHost = nullptr;
    QLineEdit *m_proxyPort = nullptr;
    QListWidget *m_serverList = nullptr;
    QCheckBox *m_autoQuery = nullptr;
};

} // namespace Orbisong
