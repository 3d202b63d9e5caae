#pragma once

#include "cddb/ServerListUpdate.h"
#include "cddb/TServerItem.h"
#include "collection/OptionsDraft.h"

#include <QDialog>
#include <QMap>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QVBoxLayout;

namespace Orbisong {

class QuestionPort;
struct Settings;

// The Options window: every page of the program's settings, the CDDB server list and its
// update from a server. Values reach the settings record on "Apply" or "OK".
class TOptionsForm : public QDialog
{
    Q_OBJECT

public:
    enum Page { GeneralPage, DisplayPage, AlbumsPage, ReceivingPage, SendingPage, MiscPage };

    // Which of the two browser programs can be chosen.
    struct Browsers
    {
        bool first = true;
        bool second = true;
    };

    TOptionsForm(Settings &settings, Browsers browsers, QWidget *parent = nullptr);
    ~TOptionsForm() override;

    void setQuestionPort(QuestionPort *port) { m_questions = port; }
    void showPage(int index);
    // Fills every control from the settings; "Apply" is disabled afterwards.
    void loadSettings();
    // Stores every control; the refused intro value is reported and replaced.
    void applySettings();

    QTabWidget *pages() const { return m_pages; }
    QPushButton *applyButton() const;
    QCheckBox *flagBox(int bit) const { return m_flagBoxes.value(bit); }
    const QList<TServerItem> &servers() const { return m_servers; }
    QComboBox *serverCombo() const { return m_serverCombo; }
    ServerListUpdate *listUpdate() { return &m_update; }

signals:
    // After the settings took the window's values.
    void settingsApplied();

protected:
    void done(int result) override;

private:
    QWidget *buildGeneralPage();
    QWidget *buildDisplayPage();
    QWidget *buildAlbumsPage();
    QWidget *buildReceivingPage();
    QWidget *buildSendingPage();
    QWidget *buildMiscPage();
    QCheckBox *addFlag(QVBoxLayout *layout, int bit, const QString &text, const char *name);
    QLineEdit *addEdit(const char *name);
    void connectChanges();

    void fillServerCombo();
    void selectMatchingServer();
    void onServerChosen(int index);
    void applyProxySwitch();
    void onStickToggled(int bit, bool on);
    void browseLocalPath();
    void addCustomField();
    void deleteCustomField();
    void startListUpdate();
    void onListUpdated(const ServerListUpdate::Result &result);
    void markChanged();
    OptionsDraft draftFromControls() const;

    Settings &m_settings;
    Browsers m_browsers;
    QuestionPort *m_questions = nullptr;
    bool m_loading = false;
    QList<TServerItem> m_servers;
    ServerListUpdate m_update;

    QTabWidget *m_pages = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QMap<int, QCheckBox *> m_flagBoxes;
    QSpinBox *m_recentInserts = nullptr;
    QListWidget *m_fieldList = nullptr;
    QPushButton *m_addField = nullptr;
    QPushButton *m_deleteField = nullptr;
    QComboBox *m_introSpec = nullptr;
    QLineEdit *m_introValue = nullptr;
    QLineEdit *m_localPath = nullptr;
    QComboBox *m_serverCombo = nullptr;
    QLineEdit *m_host = nullptr;
    QLineEdit *m_port = nullptr;
    QComboBox *m_protocol = nullptr;
    QSpinBox *m_protocolLevel = nullptr;
    QLineEdit *m_proxyServer = nullptr;
    QLineEdit *m_proxyPort = nullptr;
    QPushButton *m_updateList = nullptr;
    QLabel *m_status = nullptr;
    QCheckBox *m_preferMusicBrainz = nullptr;
    QLineEdit *m_musicBrainzServer = nullptr;
    QLineEdit *m_smtpServer = nullptr;
    QLineEdit *m_emailAddress = nullptr;
    QRadioButton *m_submitByMail = nullptr;
    QRadioButton *m_submitByHttp = nullptr;
    QLineEdit *m_submitUrl = nullptr;
    QRadioButton *m_firstBrowserRadio = nullptr;
    QRadioButton *m_secondBrowserRadio = nullptr;
    QLineEdit *m_firstBrowser = nullptr;
    QLineEdit *m_secondBrowser = nullptr;
    QLineEdit *m_captionFormat = nullptr;
    QLineEdit *m_infoFormat = nullptr;
};

} // namespace Orbisong
