// The setup wizard's way through its panes and the tip of the day window.

#include "collection/Settings.h"
#include "TestHome.h"
#include "ui/setup/TSetupWizard.h"
#include "ui/setup/TTipOfTheDayForm.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

Settings defaults()
{
    return Settings::defaults(QStringLiteral("/tmp"), QStringLiteral("ann"), {});
}

TipList numberedTips(int count, bool topics)
{
    QString text;
    for (int n = 1; n <= count; ++n)
        text += QStringLiteral("%1~Heading %2~Text %2\r\n")
                    .arg(topics ? QStringLiteral("topic%1").arg(n) : QString())
                    .arg(n);
    return TipList::parse(text);
}

QString shownHeading(const TTipOfTheDayForm &form)
{
    return form.findChild<QLabel *>(QStringLiteral("TipHeadingLabel"))->text();
}

} // namespace

TEST(SetupWizard, NoInternetSkipsToConfirmAndKeepsTheNetworkSettings)
{
    Settings settings = defaults();
    settings.smtpServer = QStringLiteral("mail.example");
    const QString server = settings.cddbServer;
    TSetupWizard wizard(settings, {});
    wizard.show();
    for (int i = 0; i < 4; ++i)
        wizard.nextButton()->click();
    wizard.findChild<QRadioButton *>(QStringLiteral("InternetYesRadio"))->setChecked(true);
    wizard.nextButton()->click();
    // Both browsers are offered when neither is known to be there.
    EXPECT_TRUE(wizard.findChild<QRadioButton *>(QStringLiteral("ExplorerRadio"))->isEnabled());
    EXPECT_TRUE(wizard.findChild<QRadioButton *>(QStringLiteral("NavigatorRadio"))->isChecked());
    wizard.nextButton()->click();
    wizard.findChild<QLineEdit *>(QStringLiteral("SmtpServerEdit"))
        ->setText(QStringLiteral("typed.example"));
    wizard.backButton()->click();
    wizard.backButton()->click();
    wizard.findChild<QRadioButton *>(QStringLiteral("InternetNoRadio"))->setChecked(true);
    wizard.nextButton()->click();
    EXPECT_TRUE(wizard.finishButton()->isVisible());
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Welcome To Orbisong - Step 11 of 11"));
    wizard.backButton()->click();
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Welcome To Orbisong - Step 5 of 11"));
    wizard.nextButton()->click();
    wizard.finishButton()->click();
    EXPECT_EQ(settings.smtpServer, QStringLiteral("mail.example"));
    EXPECT_EQ(settings.cddbServer, server);
}

TEST(SetupWizard, ServerChoiceAndBrowserFoundOnTheSystemAreStored)
{
    Settings settings = defaults();
    settings.cddbServerList =
        QStringLiteral("www.example`80`HTTP`Web|near.example`888`CDDBP`Near|far.example`8880`"
                       "cddbp`Far");
    settings.cddbServer = QStringLiteral("far.example");
    TSetupWizard wizard(settings, {true, false});
    auto *servers = wizard.findChild<QListWidget *>(QStringLiteral("ServerList"));
    ASSERT_EQ(servers->count(), 2);
    EXPECT_EQ(servers->item(0)->text(), QStringLiteral("NEAR.EXAMPLE"));
    EXPECT_EQ(servers->currentRow(), 1);
    EXPECT_FALSE(wizard.findChild<QRadioButton *>(QStringLiteral("NavigatorRadio"))->isEnabled());
    EXPECT_TRUE(wizard.findChild<QRadioButton *>(QStringLiteral("ExplorerRadio"))->isChecked());
    servers->setCurrentRow(0);
    wizard.findChild<QRadioButton *>(QStringLiteral("ProxyYesRadio"))->setChecked(true);
    wizard.findChild<QLineEdit *>(QStringLiteral("ProxyHostEdit"))->setText(QStringLiteral("gw"));
    wizard.findChild<QCheckBox *>(QStringLiteral("AutoQueryCheck"))->setChecked(true);
    for (int i = 0; i < 10; ++i)
        wizard.nextButton()->click();
    wizard.finishButton()->click();
    EXPECT_EQ(settings.cddbServer, QStringLiteral("near.example"));
    EXPECT_EQ(settings.cddbPort, QStringLiteral("888"));
    EXPECT_EQ(settings.cddbProtocol, QStringLiteral("CDDBP"));
    EXPECT_EQ(settings.defaultBrowser, 4);
    EXPECT_TRUE(settings.GetOptionFlag(_GLOB_OPTION_USEPROXY));
    EXPECT_EQ(settings.cddbProxyServer, QStringLiteral("gw"));
    EXPECT_EQ(settings.cddbProxyPort, QStringLiteral("1080"));
    EXPECT_TRUE(settings.GetOptionFlag(_GLOB_OPTION_AUTORCDDB));
}

TEST(TipOfTheDay, OpensOnTheStartCountAndWraps)
{
    Settings settings = defaults();
    TTipOfTheDayForm form(numberedTips(22, true), 25, settings);
    form.show();
    EXPECT_EQ(shownHeading(form), QStringLiteral("Heading 4"));
    auto *next = form.findChild<QPushButton *>(QStringLiteral("NextTipButton"));
    for (int i = 0; i < 18; ++i)
        next->click();
    EXPECT_EQ(shownHeading(form), QStringLiteral("Heading 22"));
    next->click();
    EXPECT_EQ(shownHeading(form), QStringLiteral("Heading 1"));
    EXPECT_TRUE(form.findChild<QPushButton *>(QStringLiteral("MoreButton"))->isVisible());
}

TEST(TipOfTheDay, TipWithoutTopicHasNoMoreAndCloseStoresTheBox)
{
    Settings settings = defaults();
    TTipOfTheDayForm form(numberedTips(3, false), 0, settings);
    form.show();
    EXPECT_FALSE(form.findChild<QPushButton *>(QStringLiteral("MoreButton"))->isVisible());
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(form.isHeadingAt(QPoint(10, 5)));
    EXPECT_FALSE(form.isHeadingAt(QPoint(10, TTipOfTheDayForm::HeadingHeight + 5)));
    auto *box = form.findChild<QCheckBox *>(QStringLiteral("ShowTipsCheck"));
    EXPECT_TRUE(box->isChecked());
    box->setChecked(false);
    form.findChild<QPushButton *>(QStringLiteral("CloseButton"))->click();
    EXPECT_FALSE(settings.GetOptionFlag(_GLOB_OPTION_SHOWTOTD));
    EXPECT_FALSE(form.isVisible());
}

TEST(TipOfTheDay, BuiltInTipScreenshot)
{
    Settings settings = defaults();
    TTipOfTheDayForm form(TipList::builtin(), 4, settings);
    form.show();
    QTest::qWait(10);
    const QString out = QDir(TestHome::binaryDir()).filePath(QStringLiteral("screenshots"));
    QDir().mkpath(out);
    EXPECT_TRUE(form.grab().save(QDir(out).filePath(QStringLiteral("tip-of-the-day.png"))));
}
