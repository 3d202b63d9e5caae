#include "ui/setup/TSetupWizard.h"

#include "collection/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFont>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

constexpr int PaneCount = 11;

QLabel *headingLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    label->setFont(font);
    return label;
}

QRadioButton *radio(const QString &text, const char *name, QWidget *parent)
{
    auto *button = new QRadioButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

QCheckBox *checkBox(const QString &text, const char *name, bool on, QWidget *parent)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(on);
    return box;
}

// A pane with its heading; the caller fills the returned layout.
QVBoxLayout *paneLayout(QWidget *pane, const QString &heading)
{
    auto *layout = new QVBoxLayout(pane);
    layout->addWidget(headingLabel(heading, pane));
    layout->addSpacing(8);
    return layout;
}

} // namespace

TSetupWizard::TSetupWizard(Settings &settings, Browsers browsers, QWidget *parent)
    : TWizardForm(tr("Welcome To Orbisong"), parent), m_settings(settings),
      m_servers(SetupAnswers::servers(settings.cddbServerList))
{
    setObjectName(QStringLiteral("SetupWizard"));
    buildPanes(SetupAnswers::fromSettings(settings), browsers);
    resize(520, 360);
    start();
}

QWidget *TSetupWizard::addTextPane(const QString &heading, const QString &text, int step)
{
    auto *pane = new QWidget(this);
    QVBoxLayout *layout = paneLayout(pane, heading);
    auto *label = new QLabel(text, pane);
    label->setWordWrap(true);
    layout->addWidget(label);
    layout->addStretch(1);
    addPane(pane, step, PaneCount);
    return pane;
}

void TSetupWizard::buildPanes(const SetupAnswers &answers, Browsers browsers)
{
    addTextPane(tr("Orbisong Setup"), tr("Click the 'Next' button to begin."), 1);

    auto *window = new QWidget(this);
    QVBoxLayout *layout = paneLayout(window, tr("Window Position"));
    layout->addWidget(new QLabel(tr("Do you want Orbisong's window to float?"), window));
    m_floatYes = radio(tr("Yes."), "FloatYesRadio", window);
    QRadioButton *floatNo = radio(tr("No."), "FloatNoRadio", window);
    (answers.floating ? m_floatYes : floatNo)->setChecked(true);
    layout->addWidget(m_floatYes);
    layout->addWidget(floatNo);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(tr("Which border(s) should Orbisong 'stick' to?"), window));
    m_left = checkBox(tr("Left."), "StickLeftCheck", answers.stickLeft, window);
    m_top = checkBox(tr("Top."), "StickTopCheck", answers.stickTop, window);
    m_right = checkBox(tr("Right."), "StickRightCheck", answers.stickRight, window);
    m_bottom = checkBox(tr("Bottom."), "StickBottomCheck", answers.stickBottom, window);
    auto *borders = new QHBoxLayout;
    for (QCheckBox *box : {m_left, m_top, m_right, m_bottom}) {
        borders->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this, box](bool on) { onBorderToggled(box, on); });
    }
    borders->addStretch(1);
    layout->addLayout(borders);
    m_bordersText = new QLabel(window);
    m_bordersText->setObjectName(QStringLiteral("BordersLabel"));
    m_bordersText->setWordWrap(true);
    layout->addWidget(m_bordersText);
    layout->addStretch(1);
    addPane(window, 2, PaneCount);
    updateBordersText();

    auto *tray = new QWidget(this);
    layout = paneLayout(tray, tr("Notification Tray Buttons"));
    m_trayNext = checkBox(tr("Next track."), "TrayNextCheck", answers.trayNext, tray);
    m_trayStop =
        checkBox(tr("Stop (double-click to eject.)"), "TrayStopCheck", answers.trayStop, tray);
    m_trayPlay = checkBox(tr("Play/pause."), "TrayPlayCheck", answers.trayPlay, tray);
    m_trayPrevious =
        checkBox(tr("Previous track."), "TrayPreviousCheck", answers.trayPrevious, tray);
    for (QCheckBox *box : {m_trayNext, m_trayStop, m_trayPlay, m_trayPrevious})
        layout->addWidget(box);
    layout->addStretch(1);
    addPane(tray, 3, PaneCount);

    auto *timer = new QWidget(this);
    layout = paneLayout(timer, tr("Timer Display Mode"));
    m_timeFormat = new QButtonGroup(timer);
    const QStringList modes{tr("Show the time &elapsed in the current track."),
                            tr("Show the time &remaining in the current track."),
                            tr("Show the time e&lapsed in the current playlist."),
                            tr("Show the time re&maining in the current playlist.")};
    for (int mode = 0; mode < modes.size(); ++mode) {
        auto *button = new QRadioButton(modes.at(mode), timer);
        button->setObjectName(QStringLiteral("TimeFormatRadio%1").arg(mode));
        button->setChecked(mode == answers.timeFormat);
        m_timeFormat->addButton(button, mode);
        layout->addWidget(button);
    }
    layout->addStretch(1);
    addPane(timer, 4, PaneCount);

    m_networkPane = new QWidget(this);
    layout = paneLayout(m_networkPane, tr("Networking Setup"));
    layout->addWidget(new QLabel(tr("Is your computer connected to the Internet?"), m_networkPane));
    m_internetYes = radio(tr("&Yes."), "InternetYesRadio", m_networkPane);
    QRadioButton *internetNo = radio(tr("&No."), "InternetNoRadio", m_networkPane);
    m_internetYes->setChecked(true);
    layout->addWidget(m_internetYes);
    layout->addWidget(internetNo);
    layout->addStretch(1);
    addPane(m_networkPane, 5, PaneCount);

    auto *browser = new QWidget(this);
    layout = paneLayout(browser, tr("Default Browser"));
    m_explorer =
        radio(tr("Microsoft Internet &Explorer (3.0 or later)."), "ExplorerRadio", browser);
    m_navigator = radio(tr("Netscape &Navigator (2.0 or later)."), "NavigatorRadio", browser);
    const bool neither = !browsers.explorer && !browsers.navigator;
    m_explorer->setEnabled(neither || browsers.explorer);
    m_navigator->setEnabled(neither || browsers.navigator);
    (browsers.navigator || neither ? m_navigator : m_explorer)->setChecked(true);
    layout->addWidget(m_explorer);
    layout->addWidget(m_navigator);
    layout->addStretch(1);
    addPane(browser, 6, PaneCount);

    auto *mail = new QWidget(this);
    layout = paneLayout(mail, tr("Outgoing Mail Server"));
    layout->addWidget(new QLabel(tr("What is your outgoing mail server's name?"), mail));
    m_smtpServer = new QLineEdit(answers.smtpServer, mail);
    m_smtpServer->setObjectName(QStringLiteral("SmtpServerEdit"));
    layout->addWidget(m_smtpServer);
    layout->addStretch(1);
    addPane(mail, 7, PaneCount);

    auto *address = new QWidget(this);
    layout = paneLayout(address, tr("Email Address"));
    layout->addWidget(new QLabel(tr("What is your full Internet e-mail address?"), address));
    m_smtpAddress = new QLineEdit(answers.smtpAddress, address);
    m_smtpAddress->setObjectName(QStringLiteral("SmtpAddressEdit"));
    layout->addWidget(m_smtpAddress);
    layout->addStretch(1);
    addPane(address, 8, PaneCount);

    auto *firewall = new QWidget(this);
    layout = paneLayout(firewall, tr("Firewall Support"));
    QRadioButton *proxyNo = radio(tr("No."), "ProxyNoRadio", firewall);
    m_proxyYes = radio(tr("Yes. Connect through this Socks proxy:"), "ProxyYesRadio", firewall);
    (answers.useProxy ? m_proxyYes : proxyNo)->setChecked(true);
    layout->addWidget(proxyNo);
    layout->addWidget(m_proxyYes);
    m_proxyHost = new QLineEdit(answers.proxyHost, firewall);
    m_proxyHost->setObjectName(QStringLiteral("ProxyHostEdit"));
    m_proxyPort = new QLineEdit(answers.proxyPort, firewall);
    m_proxyPort->setObjectName(QStringLiteral("ProxyPortEdit"));
    auto *proxyForm = new QFormLayout;
    proxyForm->addRow(tr("&Host:"), m_proxyHost);
    proxyForm->addRow(tr("&Port:"), m_proxyPort);
    layout->addLayout(proxyForm);
    layout->addStretch(1);
    addPane(firewall, 9, PaneCount);

    auto *database = new QWidget(this);
    layout = paneLayout(database, tr("Database Server"));
    layout->addWidget(new QLabel(tr("Which CDDB server is closest to you?"), database));
    m_serverList = new QListWidget(database);
    m_serverList->setObjectName(QStringLiteral("ServerList"));
    for (const SetupAnswers::Server &server : std::as_const(m_servers))
        m_serverList->addItem(server.host.toUpper());
    m_serverList->setCurrentRow(answers.server);
    layout->addWidget(m_serverList, 1);
    m_autoQuery = checkBox(tr("&Query the server automatically when I insert a new CD."),
                           "AutoQueryCheck", answers.autoQuery, database);
    layout->addWidget(m_autoQuery);
    addPane(database, 10, PaneCount);

    m_confirmPane = addTextPane(tr("Confirm"),
                                tr("Orbisong is ready to use. Click 'Finish' to keep your "
                                   "choices, or '< Back' to change them."),
                                11);
}

QWidget *TSetupWizard::nextPane(QWidget *pane)
{
    if (pane == m_networkPane && !m_internetYes->isChecked())
        return m_confirmPane;
    return TWizardForm::nextPane(pane);
}

QWidget *TSetupWizard::previousPane(QWidget *pane)
{
    if (pane == m_confirmPane && !m_internetYes->isChecked())
        return m_networkPane;
    return TWizardForm::previousPane(pane);
}

void TSetupWizard::onBorderToggled(QCheckBox *box, bool on)
{
    // A window sticks to one border of each pair at most.
    if (on) {
        QCheckBox *opposite = box == m_left    ? m_right
                              : box == m_right ? m_left
                              : box == m_top   ? m_bottom
                                               : m_top;
        opposite->setChecked(false);
    }
    updateBordersText();
}

void TSetupWizard::updateBordersText()
{
    m_bordersText->setText(SetupAnswers::bordersText(m_left->isChecked(), m_top->isChecked(),
                                                     m_right->isChecked(), m_bottom->isChecked()));
}

SetupAnswers TSetupWizard::answers() const
{
    SetupAnswers answers;
    answers.floating = m_floatYes->isChecked();
    answers.stickLeft = m_left->isChecked();
    answers.stickTop = m_top->isChecked();
    answers.stickRight = m_right->isChecked();
    answers.stickBottom = m_bottom->isChecked();
    answers.trayNext = m_trayNext->isChecked();
    answers.trayStop = m_trayStop->isChecked();
    answers.trayPlay = m_trayPlay->isChecked();
    answers.trayPrevious = m_trayPrevious->isChecked();
    answers.timeFormat = qMax(0, m_timeFormat->checkedId());
    answers.internet = m_internetYes->isChecked();
    answers.explorer = m_explorer->isChecked();
    answers.smtpServer = m_smtpServer->text().trimmed();
    answers.smtpAddress = m_smtpAddress->text().trimmed();
    answers.useProxy = m_proxyYes->isChecked();
    answers.proxyHost = m_proxyHost->text().trimmed();
    answers.proxyPort = m_proxyPort->text().trimmed();
    answers.server = m_serverList->currentRow();
    answers.autoQuery = m_autoQuery->isChecked();
    return answers;
}

void TSetupWizard::finish()
{
    answers().store(m_settings);
    emit settingsStored();
    accept();
}

} // namespace Orbisong
