#include "ui/options/TOptionsForm.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "cddb/CddbServerList.h"
#include "collection/Settings.h"
#include "ui/common/TInputForm.h"
#include "ui/options/ServerItemDelegate.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Orbisong {

TOptionsForm::TOptionsForm(Settings &settings, Browsers browsers, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_browsers(browsers)
{
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowTitle(tr("Options"));
    m_pages = new QTabWidget;
    // Every page's tab stays in sight: the window is as wide as its tab row.
    m_pages->setUsesScrollButtons(false);
    m_pages->addTab(buildGeneralPage(), tr("General"));
    m_pages->addTab(buildDisplayPage(), tr("Display"));
    m_pages->addTab(buildAlbumsPage(), tr("Albums"));
    m_pages->addTab(buildReceivingPage(), tr("CDDB Receiving"));
    m_pages->addTab(buildSendingPage(), tr("CDDB Sending"));
    m_pages->addTab(buildMiscPage(), tr("Miscellaneous"));
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                     QDialogButtonBox::Apply);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(m_buttons);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(applyButton(), &QPushButton::clicked, this, &TOptionsForm::applySettings);
    connect(m_addField, &QPushButton::clicked, this, &TOptionsForm::addCustomField);
    connect(m_deleteField, &QPushButton::clicked, this, &TOptionsForm::deleteCustomField);
    connect(m_fieldList, &QListWidget::currentRowChanged, this,
            [this](int row) { m_deleteField->setEnabled(row >= 0); });
    connect(m_serverCombo, &QComboBox::activated, this, &TOptionsForm::onServerChosen);
    connect(m_host, &QLineEdit::textEdited, this, &TOptionsForm::selectMatchingServer);
    connect(m_port, &QLineEdit::textEdited, this, &TOptionsForm::selectMatchingServer);
    connect(m_protocol, &QComboBox::activated, this, &TOptionsForm::selectMatchingServer);
    connect(flagBox(_GLOB_OPTION_USEPROXY), &QCheckBox::toggled, this,
            &TOptionsForm::applyProxySwitch);
    for (int bit : {_GLOB_OPTION_STICKLEFT, _GLOB_OPTION_STICKRIGHT, _GLOB_OPTION_STICKTOP,
                    _GLOB_OPTION_STICKBOTTOM}) {
        connect(flagBox(bit), &QCheckBox::toggled, this,
                [this, bit](bool on) { onStickToggled(bit, on); });
    }
    connect(m_updateList, &QPushButton::clicked, this, &TOptionsForm::startListUpdate);
    connect(&m_update, &ServerListUpdate::statusChanged, m_status, &QLabel::setText);
    connect(&m_update, &ServerListUpdate::finished, this, &TOptionsForm::onListUpdated);
    connectChanges();
    loadSettings();
}

TOptionsForm::~TOptionsForm() = default;

QPushButton *TOptionsForm::applyButton() const
{
    return m_buttons->button(QDialogButtonBox::Apply);
}

void TOptionsForm::showPage(int index)
{
    m_pages->setCurrentIndex(std::clamp(index, 0, m_pages->count() - 1));
}

void TOptionsForm::connectChanges()
{
    for (QCheckBox *box : std::as_const(m_flagBoxes))
        connect(box, &QCheckBox::toggled, this, &TOptionsForm::markChanged);
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        connect(edit, &QLineEdit::textChanged, this, &TOptionsForm::markChanged);
    for (QComboBox *combo : {m_introSpec, m_protocol, m_serverCombo})
        connect(combo, &QComboBox::currentIndexChanged, this, &TOptionsForm::markChanged);
    for (QSpinBox *spin : {m_recentInserts, m_protocolLevel})
        connect(spin, &QSpinBox::valueChanged, this, &TOptionsForm::markChanged);
    for (QAbstractButton *button : std::initializer_list<QAbstractButton *>{
             m_preferMusicBrainz, m_submitByMail, m_submitByHttp, m_firstBrowserRadio,
             m_secondBrowserRadio})
        connect(button, &QAbstractButton::toggled, this, &TOptionsForm::markChanged);
}

void TOptionsForm::markChanged()
{
    if (!m_loading)
        applyButton()->setEnabled(true);
}

void TOptionsForm::loadSettings()
{
    m_loading = true;
    const OptionsDraft d = OptionsDraft::fromSettings(m_settings);
    const bool neither = !m_browsers.first && !m_browsers.second;
    m_firstBrowserRadio->setEnabled(neither || m_browsers.first);
    m_secondBrowserRadio->setEnabled(neither || m_browsers.second);
    const bool second =
        d.defaultBrowser == OptionsDraft::BrowserSecond && m_secondBrowserRadio->isEnabled();
    (second ? m_secondBrowserRadio : m_firstBrowserRadio)->setChecked(true);
    m_firstBrowser->setText(d.firstBrowser);
    m_secondBrowser->setText(d.secondBrowser);

    for (auto it = m_flagBoxes.cbegin(); it != m_flagBoxes.cend(); ++it)
        it.value()->setChecked(d.flag(it.key()));
    m_recentInserts->setValue(OptionsDraft::recentInsertsFrom(d.recentInserts, 10));
    m_fieldList->clear();
    m_fieldList->addItems(d.customFields);
    m_deleteField->setEnabled(false);
    m_introSpec->setCurrentIndex(d.introSpec);
    m_introValue->setText(d.introValue);
    m_localPath->setText(d.cddbLocalPath);
    m_host->setText(d.cddbServer);
    m_port->setText(d.cddbPort);
    m_protocol->setCurrentText(d.cddbProtocol);
    m_protocolLevel->setValue(d.cddbProtocolLevel);
    m_proxyServer->setText(d.cddbProxyServer);
    m_proxyPort->setText(d.cddbProxyPort);
    m_preferMusicBrainz->setChecked(d.preferMusicBrainz);
    m_musicBrainzServer->setText(d.musicBrainzServer);
    m_smtpServer->setText(d.smtpServer);
    m_emailAddress->setText(d.smtpAddress);
    (d.cddbSubmitMethod == Settings::SubmitByHttp ? m_submitByHttp : m_submitByMail)
        ->setChecked(true);
    m_submitUrl->setText(d.cddbSubmitUrl);
    m_captionFormat->setText(d.captionFormat);
    m_infoFormat->setText(d.userFormat);

    m_servers = CddbServerList::sorted(CddbServerList::parse(d.cddbServerList));
    fillServerCombo();
    selectMatchingServer();
    applyProxySwitch();
    m_loading = false;
    applyButton()->setEnabled(false);
}

OptionsDraft TOptionsForm::draftFromControls() const
{
    OptionsDraft d = OptionsDraft::fromSettings(m_settings);
    for (auto it = m_flagBoxes.cbegin(); it != m_flagBoxes.cend(); ++it)
        d.setFlag(it.key(), it.value()->isChecked());
    d.recentInserts = QString::number(m_recentInserts->value());
    d.customFields.clear();
    for (int row = 0; row < m_fieldList->count(); ++row)
        d.customFields.append(m_fieldList->item(row)->text());
    d.introSpec = m_introSpec->currentIndex();
    d.introValue = m_introValue->text();
    d.cddbLocalPath = m_localPath->text();
    d.cddbServerList = CddbServerList::store(m_servers);
    d.cddbServer = m_host->text();
    d.cddbPort = m_port->text();
    d.cddbProtocol = m_protocol->currentText();
    d.cddbProtocolLevel = m_protocolLevel->value();
    d.cddbProxyServer = m_proxyServer->text();
    d.cddbProxyPort = m_proxyPort->text();
    d.preferMusicBrainz = m_preferMusicBrainz->isChecked();
    d.musicBrainzServer = m_musicBrainzServer->text();
    d.smtpServer = m_smtpServer->text();
    d.smtpAddress = m_emailAddress->text();
    d.cddbSubmitMethod =
        m_submitByHttp->isChecked() ? Settings::SubmitByHttp : Settings::SubmitByMail;
    d.cddbSubmitUrl = m_submitUrl->text();
    d.defaultBrowser = m_secondBrowserRadio->isChecked() ? OptionsDraft::BrowserSecond
                                                         : OptionsDraft::BrowserFirst;
    d.firstBrowser = m_firstBrowser->text();
    d.secondBrowser = m_secondBrowser->text();
    d.captionFormat = m_captionFormat->text();
    d.userFormat = m_infoFormat->text();
    return d;
}

void TOptionsForm::applySettings()
{
    const bool introValid = draftFromControls().applyTo(m_settings);
    if (!introValid && m_questions)
        m_questions->ask(Msg::InvalidIntroValue, {}, {}, {});
    // The controls show what was stored: a split "host:port", the replaced intro value.
    loadSettings();
    emit settingsApplied();
}

void TOptionsForm::done(int result)
{
    if (result == Accepted && applyButton()->isEnabled())
        applySettings();
    // The server list belongs to the window's session, whether or not the rest is kept.
    m_settings.cddbServerList = CddbServerList::store(m_servers);
    QDialog::done(result);
}

void TOptionsForm::fillServerCombo()
{
    const bool loading = m_loading;
    m_loading = true;
    m_serverCombo->clear();
    for (const TServerItem &item : std::as_const(m_servers)) {
        m_serverCombo->addItem(item.hostName());
        const int row = m_serverCombo->count() - 1;
        m_serverCombo->setItemData(row, item.host, ServerItemDelegate::HostRole);
        m_serverCombo->setItemData(row, item.protocol, ServerItemDelegate::ProtocolRole);
        m_serverCombo->setItemData(row, item.description, ServerItemDelegate::DescriptionRole);
    }
    m_loading = loading;
}

void TOptionsForm::selectMatchingServer()
{
    const QSignalBlocker block(m_serverCombo);
    m_serverCombo->setCurrentIndex(CddbServerList::indexOf(
        m_servers, m_host->text(), m_port->text(), m_protocol->currentText()));
}

void TOptionsForm::onServerChosen(int index)
{
    if (index < 0 || index >= m_servers.size())
        return;
    const TServerItem &item = m_servers.at(index);
    m_host->setText(item.host);
    m_port->setText(item.port);
    m_protocol->setCurrentText(item.usesHttp() ? QStringLiteral("HTTP") : QStringLiteral("CDDBP"));
}

void TOptionsForm::applyProxySwitch()
{
    const bool on = flagBox(_GLOB_OPTION_USEPROXY)->isChecked();
    for (QLineEdit *edit : {m_proxyServer, m_proxyPort}) {
        edit->setReadOnly(!on);
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, on ? QApplication::palette().color(QPalette::Base)
                                            : QApplication::palette().color(QPalette::Window));
        edit->setPalette(palette);
    }
}

void TOptionsForm::onStickToggled(int bit, bool on)
{
    if (!on)
        return;
    const QMap<int, int> opposite = {{_GLOB_OPTION_STICKLEFT, _GLOB_OPTION_STICKRIGHT},
                                     {_GLOB_OPTION_STICKRIGHT, _GLOB_OPTION_STICKLEFT},
                                     {_GLOB_OPTION_STICKTOP, _GLOB_OPTION_STICKBOTTOM},
                                     {_GLOB_OPTION_STICKBOTTOM, _GLOB_OPTION_STICKTOP}};
    flagBox(opposite.value(bit))->setChecked(false);
}

void TOptionsForm::browseLocalPath()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this,
        tr("Please locate the main CDDB folder. It must contain category sub-folders "
           "\"Rock\", \"Country\", etc."),
        m_localPath->text());
    if (!folder.isEmpty())
        m_localPath->setText(folder);
}

void TOptionsForm::addCustomField()
{
    QString name;
    if (!TInputForm::ask(this, tr("Add Custom Data Field"),
                         tr("Please enter a name for the custom data field. Try to use only one "
                            "word for the name since it must fit into a small space."),
                         &name) ||
        name.trimmed().isEmpty())
        return;
    m_fieldList->addItem(name.trimmed());
    markChanged();
}

void TOptionsForm::deleteCustomField()
{
    const int row = m_fieldList->currentRow();
    if (row < 0)
        return;
    delete m_fieldList->takeItem(row);
    m_fieldList->setCurrentRow(std::min(row, m_fieldList->count() - 1));
    markChanged();
}

void TOptionsForm::startListUpdate()
{
    if (!m_update.start(m_settings.cddbListServer, m_settings.cddbListPort))
        return;
    m_status->setText(tr("Connecting"));
    m_updateList->hide();
}

void TOptionsForm::onListUpdated(const ServerListUpdate::Result &result)
{
    if (result.items) {
        m_servers = CddbServerList::sorted(*result.items);
        fillServerCombo();
        selectMatchingServer();
    }
    m_status->clear();
    m_updateList->show();
    if (!result.errorText.isEmpty() && m_questions)
        m_questions->ask(Msg::Notice, tr("Update List"), result.errorText, {});
}

} // namespace Orbisong
