// The Options window over a settings record: every control round-trips its setting, the
// interactions between controls, Apply/OK/Cancel, and "Update List" against the test server.

#include "CddbPeer.h"
#include "ScriptedQuestionPort.h"
#include "TestFiles.h"
#include "TestHome.h"

#include "base/MessageIds.h"
#include "collection/Settings.h"
#include "ui/options/TOptionsForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

Settings defaults()
{
    return Settings::defaults(QStringLiteral("/tmp"), QStringLiteral("ann"), {});
}

template <typename T> T *child(const TOptionsForm &form, const char *name)
{
    T *widget = form.findChild<T *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void type(const TOptionsForm &form, const char *name, const QString &text)
{
    child<QLineEdit>(form, name)->setText(text);
}

QString shown(const TOptionsForm &form, const char *name)
{
    return child<QLineEdit>(form, name)->text();
}

// The edges are two exclusive pairs, so the changed state takes one edge of each.
bool changedFlag(const Settings &before, int bit)
{
    if (bit == _GLOB_OPTION_STICKLEFT || bit == _GLOB_OPTION_STICKTOP)
        return true;
    if (bit == _GLOB_OPTION_STICKRIGHT || bit == _GLOB_OPTION_STICKBOTTOM)
        return false;
    return !before.GetOptionFlag(bit);
}

} // namespace

TEST(OptionsForm, EverySettingRoundTripsThroughItsControl)
{
    Settings settings = defaults();
    const Settings before = settings;
    {
        TOptionsForm form(settings, {});
        form.show();
        EXPECT_FALSE(form.applyButton()->isEnabled());
        for (int bit : OptionsDraft::editedFlags())
            form.flagBox(bit)->setChecked(changedFlag(before, bit));
        child<QSpinBox>(form, "RecentInsertsEdit")->setValue(321);
        child<QListWidget>(form, "FieldList")
            ->addItems({QStringLiteral("Mood"), QStringLiteral("Shelf")});
        child<QComboBox>(form, "IntroSpecCombo")->setCurrentIndex(2);
        type(form, "IntroValueEdit", QStringLiteral("1/3"));
        type(form, "CDDBPathEdit", QStringLiteral("/data/cddb"));
        type(form, "CDDBDomainEdit", QStringLiteral("cddb.example"));
        type(form, "CDDBPortEdit", QStringLiteral("8000"));
        child<QComboBox>(form, "CDDBProtocolCombo")->setCurrentText(QStringLiteral("HTTP"));
        child<QSpinBox>(form, "ProtocolLevelSpin")->setValue(5);
        type(form, "CDDBProxyServerEdit", QStringLiteral("socks.example"));
        type(form, "CDDBProxyPortEdit", QStringLiteral("1081"));
        child<QCheckBox>(form, "PreferMusicBrainzCheck")->setChecked(true);
        type(form, "MusicBrainzServerEdit", QStringLiteral("https://mb.example"));
        type(form, "SMTPServerEdit", QStringLiteral("mail.example"));
        type(form, "EmailAddressEdit", QStringLiteral("ann@example.org"));
        child<QRadioButton>(form, "SubmitByHttpRadio")->setChecked(true);
        type(form, "SubmitUrlEdit", QStringLiteral("http://cddb.example/submit.cgi"));
        child<QRadioButton>(form, "SecondBrowserRadio")->setChecked(true);
        type(form, "FirstBrowserEdit", QStringLiteral("firefox"));
        type(form, "SecondBrowserEdit", QStringLiteral("/usr/bin/chromium"));
        type(form, "CaptionFormatEdit", QStringLiteral("%P"));
        type(form, "InfoFormatEdit", QStringLiteral("[A%a]"));
        EXPECT_TRUE(form.applyButton()->isEnabled());
        form.applyButton()->click();
        EXPECT_FALSE(form.applyButton()->isEnabled());
    }
    for (int bit : OptionsDraft::editedFlags())
        EXPECT_EQ(settings.GetOptionFlag(bit), changedFlag(before, bit)) << "bit " << bit;
    EXPECT_EQ(settings.maxRecentInserts, 321);
    EXPECT_EQ(settings.customFields,
              (QStringList{QStringLiteral("Mood"), QStringLiteral("Shelf")}));
    EXPECT_EQ(settings.introSpec, 2);
    EXPECT_EQ(settings.introValue, QStringLiteral("1/3"));
    EXPECT_EQ(settings.cddbLocalPath, QStringLiteral("/data/cddb"));
    EXPECT_EQ(settings.cddbServer, QStringLiteral("cddb.example"));
    EXPECT_EQ(settings.cddbPort, QStringLiteral("8000"));
    EXPECT_EQ(settings.cddbProtocol, QStringLiteral("HTTP"));
    EXPECT_EQ(settings.cddbProtocolLevel, 5);
    EXPECT_EQ(settings.cddbProxyServer, QStringLiteral("socks.example"));
    EXPECT_EQ(settings.cddbProxyPort, QStringLiteral("1081"));
    EXPECT_EQ(settings.preferMusicBrainz, 1);
    EXPECT_EQ(settings.musicBrainzServer, QStringLiteral("https://mb.example"));
    EXPECT_EQ(settings.smtpServer, QStringLiteral("mail.example"));
    EXPECT_EQ(settings.smtpAddress, QStringLiteral("ann@example.org"));
    EXPECT_EQ(settings.cddbSubmitMethod, Settings::SubmitByHttp);
    EXPECT_EQ(settings.cddbSubmitUrl, QStringLiteral("http://cddb.example/submit.cgi"));
    EXPECT_EQ(settings.defaultBrowser, 4);
    EXPECT_EQ(settings.firstBrowser, QStringLiteral("firefox"));
    EXPECT_EQ(settings.secondBrowser, QStringLiteral("/usr/bin/chromium"));
    EXPECT_EQ(settings.captionFormat, QStringLiteral("%P"));
    EXPECT_EQ(settings.userFormat, QStringLiteral("[A%a]"));
    EXPECT_EQ(settings.cddbServerList, before.cddbServerList);

    // A second window shows what the first stored.
    TOptionsForm again(settings, {});
    for (int bit : OptionsDraft::editedFlags())
        EXPECT_EQ(again.flagBox(bit)->isChecked(), changedFlag(before, bit)) << "bit " << bit;
    EXPECT_EQ(child<QSpinBox>(again, "RecentInsertsEdit")->value(), 321);
    EXPECT_EQ(child<QListWidget>(again, "FieldList")->count(), 2);
    EXPECT_EQ(child<QComboBox>(again, "IntroSpecCombo")->currentIndex(), 2);
    EXPECT_EQ(shown(again, "IntroValueEdit"), QStringLiteral("1/3"));
    EXPECT_EQ(child<QComboBox>(again, "CDDBProtocolCombo")->currentText(), QStringLiteral("HTTP"));
    EXPECT_EQ(child<QSpinBox>(again, "ProtocolLevelSpin")->value(), 5);
    EXPECT_TRUE(child<QCheckBox>(again, "PreferMusicBrainzCheck")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(again, "SubmitByHttpRadio")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(again, "SecondBrowserRadio")->isChecked());
    EXPECT_EQ(shown(again, "SecondBrowserEdit"), QStringLiteral("/usr/bin/chromium"));
    EXPECT_EQ(shown(again, "InfoFormatEdit"), QStringLiteral("[A%a]"));
    EXPECT_FALSE(again.applyButton()->isEnabled());
}

TEST(OptionsForm, ScreenshotsOfEveryPage)
{
    Settings settings = defaults();
    settings.customFields = {QStringLiteral("Mood"), QStringLiteral("Shelf")};
    TOptionsForm form(settings, {});
    form.show();
    const QString out = QDir(TestHome::binaryDir()).filePath(QStringLiteral("screenshots"));
    QDir().mkpath(out);
    const QStringList names = {QStringLiteral("general"),      QStringLiteral("display"),
                               QStringLiteral("albums"),       QStringLiteral("cddb-receiving"),
                               QStringLiteral("cddb-sending"), QStringLiteral("miscellaneous")};
    ASSERT_EQ(form.pages()->count(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        form.showPage(i);
        EXPECT_EQ(form.pages()->currentIndex(), i);
        EXPECT_TRUE(form.grab().save(out + QStringLiteral("/options-%1.png").arg(names.at(i))));
    }
    // The server list drawn open.
    form.showPage(TOptionsForm::ReceivingPage);
    form.serverCombo()->showPopup();
    QWidget *popup = form.serverCombo()->view()->window();
    EXPECT_TRUE(popup->grab().save(out + QStringLiteral("/options-server-list.png")));
    form.serverCombo()->hidePopup();
}

TEST(OptionsForm, ControlsFollowEachOther)
{
    Settings settings = defaults();
    settings.cddbServerList = QStringLiteral(
        "b.example`888`CDDBP`Plain|web.example/~cddb/cddb.cgi`80`HTTP`Web|a.example`8880`CDDBP`A");
    settings.cddbServer = QStringLiteral("b.example");
    settings.cddbPort = QStringLiteral("888");
    settings.cddbProtocol = QStringLiteral("http");
    TOptionsForm form(settings, {});
    QComboBox *servers = form.serverCombo();
    QComboBox *protocol = child<QComboBox>(form, "CDDBProtocolCombo");
    // Port 888 always talks CDDBP, so the stored "http" reads as CDDBP and the item matches.
    EXPECT_EQ(protocol->currentText(), QStringLiteral("CDDBP"));
    ASSERT_EQ(servers->count(), 3);
    EXPECT_EQ(servers->itemText(0), QStringLiteral("a.example"));
    EXPECT_EQ(servers->currentIndex(), 1);

    emit servers->activated(2);
    EXPECT_EQ(shown(form, "CDDBDomainEdit"), QStringLiteral("web.example/~cddb/cddb.cgi"));
    EXPECT_EQ(shown(form, "CDDBPortEdit"), QStringLiteral("80"));
    EXPECT_EQ(protocol->currentText(), QStringLiteral("HTTP"));
    QLineEdit *port = child<QLineEdit>(form, "CDDBPortEdit");
    port->setText(QStringLiteral("81"));
    emit port->textEdited(port->text());
    EXPECT_EQ(servers->currentIndex(), -1);

    QCheckBox *left = form.flagBox(_GLOB_OPTION_STICKLEFT);
    QCheckBox *right = form.flagBox(_GLOB_OPTION_STICKRIGHT);
    left->setChecked(true);
    right->setChecked(true);
    EXPECT_FALSE(left->isChecked());
    form.flagBox(_GLOB_OPTION_STICKBOTTOM)->setChecked(true);
    form.flagBox(_GLOB_OPTION_STICKTOP)->setChecked(true);
    EXPECT_FALSE(form.flagBox(_GLOB_OPTION_STICKBOTTOM)->isChecked());
    EXPECT_TRUE(right->isChecked());

    QLineEdit *proxy = child<QLineEdit>(form, "CDDBProxyServerEdit");
    form.flagBox(_GLOB_OPTION_USEPROXY)->setChecked(false);
    EXPECT_TRUE(proxy->isReadOnly());
    form.flagBox(_GLOB_OPTION_USEPROXY)->setChecked(true);
    EXPECT_FALSE(proxy->isReadOnly());

    QListWidget *fields = child<QListWidget>(form, "FieldList");
    QPushButton *remove = child<QPushButton>(form, "DeleteFieldButton");
    fields->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    EXPECT_FALSE(remove->isEnabled());
    fields->setCurrentRow(1);
    remove->click();
    EXPECT_EQ(fields->currentItem()->text(), QStringLiteral("c"));
    remove->click();
    EXPECT_EQ(fields->currentItem()->text(), QStringLiteral("a"));
}

TEST(OptionsForm, RefusedIntroIsReportedAndCancelKeepsTheSettings)
{
    Settings settings = defaults();
    ScriptedQuestionPort questions;
    {
        TOptionsForm form(settings, {});
        form.setQuestionPort(&questions);
        type(form, "IntroValueEdit", QStringLiteral("4/4"));
        type(form, "CDDBDomainEdit", QStringLiteral("cddb.example:8880"));
        form.applyButton()->click();
        ASSERT_EQ(questions.asked().size(), 1);
        EXPECT_EQ(questions.asked().at(0).id, Msg::InvalidIntroValue);
        EXPECT_EQ(shown(form, "IntroValueEdit"), QStringLiteral("0:20"));
        EXPECT_EQ(shown(form, "CDDBDomainEdit"), QStringLiteral("cddb.example"));
        EXPECT_EQ(shown(form, "CDDBPortEdit"), QStringLiteral("8880"));
    }
    EXPECT_EQ(settings.introValue, QStringLiteral("0:20"));

    {
        TOptionsForm form(settings, {});
        type(form, "SMTPServerEdit", QStringLiteral("cancelled.example"));
        form.reject();
    }
    EXPECT_TRUE(settings.smtpServer.isEmpty());
    {
        TOptionsForm form(settings, {});
        QSignalSpy applied(&form, &TOptionsForm::settingsApplied);
        type(form, "SMTPServerEdit", QStringLiteral("kept.example"));
        form.accept();
        EXPECT_EQ(applied.size(), 1);
    }
    EXPECT_EQ(settings.smtpServer, QStringLiteral("kept.example"));
}

TEST(OptionsForm, UpdateListFillsTheListAndARefusalKeepsIt)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("sites.txt")),
              "new.example cddbp 888 - N0 W0 From the peer\n"
              "www.example http 80 /~cddb/cddb.cgi N0 W0 Web one\n");
    CddbPeer peer;
    ASSERT_TRUE(
        peer.start({QStringLiteral("--sites-file"), dir.filePath(QStringLiteral("sites.txt"))}));
    Settings settings = defaults();
    settings.cddbListServer = QStringLiteral("127.0.0.1");
    settings.cddbListPort = QString::number(peer.cddbpPort());
    settings.cddbServer = QStringLiteral("www.example/~cddb/cddb.cgi");
    settings.cddbPort = QStringLiteral("80");
    settings.cddbProtocol = QStringLiteral("HTTP");
    ScriptedQuestionPort questions;
    {
        TOptionsForm form(settings, {});
        form.setQuestionPort(&questions);
        form.show();
        QPushButton *update = child<QPushButton>(form, "UpdateListButton");
        QSignalSpy finished(form.listUpdate(), &ServerListUpdate::finished);
        update->click();
        EXPECT_TRUE(update->isHidden());
        ASSERT_TRUE(finished.wait(30000));
        EXPECT_FALSE(update->isHidden());
        ASSERT_EQ(form.servers().size(), 2);
        EXPECT_EQ(form.serverCombo()->currentIndex(), 1);
        EXPECT_TRUE(questions.asked().isEmpty());
        form.reject();
    }
    // The list is kept even when the rest of the window is cancelled.
    EXPECT_TRUE(settings.cddbServerList.startsWith(QStringLiteral("new.example`888`CDDBP`")));
    const QString updated = settings.cddbServerList;

    CddbPeer refusing;
    ASSERT_TRUE(refusing.start({QStringLiteral("--sites-status"), QStringLiteral("401")}));
    settings.cddbListPort = QString::number(refusing.cddbpPort());
    TOptionsForm form(settings, {});
    form.setQuestionPort(&questions);
    QSignalSpy finished(form.listUpdate(), &ServerListUpdate::finished);
    child<QPushButton>(form, "UpdateListButton")->click();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(form.servers().size(), 2);
    ASSERT_EQ(questions.asked().size(), 1);
    EXPECT_EQ(questions.asked().at(0).id, Msg::Notice);
    form.reject();
    EXPECT_EQ(settings.cddbServerList, updated);
}
