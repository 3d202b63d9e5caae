#include "cddb/CddbMatches.h"
#include "collection/Settings.h"
#include "ui/lookup/TCategoryForm.h"
#include "ui/lookup/TCDDBMOTDForm.h"
#include "ui/lookup/TRemoteInexactMatchForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

const QString Matches =
    QStringLiteral("211 Found inexact matches, list follows (until terminating `.')\r\n"
                   "rock 11111111 The Band / Same Title\r\n"
                   "jazz 22222222 Other Band / same title\r\n"
                   "rock 33333333 the band / SAME TITLE\r\n"
                   "misc 44444444 No Slash Here\r\n"
                   ".\r\n");

// Runs `act` on the modal window once it is up.
template <typename Form> void whenShown(const std::function<void(Form *)> &act)
{
    QTimer::singleShot(0, [act] {
        auto *form = qobject_cast<Form *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        act(form);
    });
}

QString welcome(const QString &date, const QString &text)
{
    return QStringLiteral(
               "210 Last modified: %1 MOTD follows (until terminating `.')\r\n%2\r\n.\r\n")
        .arg(date, text);
}

} // namespace

TEST(LookupWindows, MatchesKeepOneRowPerArtistAndTitle)
{
    const QList<CddbMatch> m = ParseCddbMatches(Matches);
    ASSERT_EQ(m.size(), 3);
    EXPECT_EQ(m.at(0).discId, QStringLiteral("11111111"));
    EXPECT_EQ(m.at(1).artist, QStringLiteral("Other Band"));
    EXPECT_EQ(m.at(2).title, QStringLiteral("No Slash Here"));
    EXPECT_EQ(m.at(2).artist, QStringLiteral("No Slash Here"));
}

TEST(LookupWindows, MatchWindowNeedsASelection)
{
    TRemoteInexactMatchForm form(Matches);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Possible Matches"));
    EXPECT_EQ(form.MatchList()->count(), 3);
    EXPECT_FALSE(form.OKButton()->isEnabled());
    form.MatchList()->setCurrentRow(1);
    EXPECT_TRUE(form.OKButton()->isEnabled());
    EXPECT_EQ(form.chosen()->category, QStringLiteral("jazz"));

    QString category, discId;
    whenShown<TRemoteInexactMatchForm>([](TRemoteInexactMatchForm *f) {
        f->MatchList()->setCurrentRow(1);
        emit f->MatchList()->itemDoubleClicked(f->MatchList()->item(1));
    });
    EXPECT_TRUE(TRemoteInexactMatchForm::chooseMatch(nullptr, Matches, &category, &discId));
    EXPECT_EQ(category, QStringLiteral("jazz"));
    EXPECT_EQ(discId, QStringLiteral("22222222"));

    whenShown<TRemoteInexactMatchForm>(
        [](TRemoteInexactMatchForm *f) { f->CancelButton()->click(); });
    EXPECT_FALSE(TRemoteInexactMatchForm::chooseMatch(nullptr, Matches, &category, &discId));
}

TEST(LookupWindows, WelcomeShownOncePerStampAsPlainText)
{
    Settings settings;
    const QString text =
        QStringLiteral("<b>Welcome</b> to the server, please behave <i>nicely</i>.");
    EXPECT_FALSE(TCDDBMOTDForm::showWelcome(
        nullptr, welcome(QStringLiteral("05/31/96 06:31:14"), QStringLiteral("Too short.")),
        settings));
    QString shown;
    whenShown<TCDDBMOTDForm>([&shown](TCDDBMOTDForm *f) {
        shown = f->MessageText()->toPlainText();
        f->optionBox()->setChecked(true);
        f->continueButton()->click();
    });
    EXPECT_TRUE(TCDDBMOTDForm::showWelcome(
        nullptr, welcome(QStringLiteral("05/31/96 06:31:14"), text), settings));
    EXPECT_EQ(shown, text);
    EXPECT_EQ(settings.cddbMessageDate, QStringLiteral("modified: 05/31/96"));
    EXPECT_TRUE(settings.GetOptionFlag(_GLOB_OPTION_SHOWCDDBMOTD));
    EXPECT_FALSE(TCDDBMOTDForm::showWelcome(
        nullptr, welcome(QStringLiteral("05/31/96 06:31:14"), text), settings));
    whenShown<TCDDBMOTDForm>([](TCDDBMOTDForm *f) { f->continueButton()->click(); });
    EXPECT_TRUE(TCDDBMOTDForm::showWelcome(
        nullptr, welcome(QStringLiteral("06/01/96 07:00:00"), text), settings));
}

TEST(LookupWindows, CategoryChoiceReplacesUnknownCategory)
{
    QString category = QStringLiteral("Classical ");
    EXPECT_TRUE(TCategoryForm::ValidateCategory(nullptr, &category));
    EXPECT_EQ(category, QStringLiteral("classical"));
    category = QStringLiteral("Polka");
    whenShown<TCategoryForm>([](TCategoryForm *f) {
        EXPECT_EQ(f->categoryCombo()->objectName(), QStringLiteral("CategoryCombo"));
        EXPECT_EQ(f->categoryCombo()->currentText(), QStringLiteral("Blues"));
        EXPECT_EQ(f->categoryCombo()->count(), 11);
        EXPECT_TRUE(f->findChild<QLabel *>()->text().contains(QStringLiteral("'Polka'")));
        f->categoryCombo()->setCurrentIndex(5);
        f->accept();
    });
    EXPECT_TRUE(TCategoryForm::ValidateCategory(nullptr, &category));
    EXPECT_EQ(category, QStringLiteral("jazz"));
    category = QStringLiteral("Polka");
    whenShown<TCategoryForm>([](TCategoryForm *f) { f->reject(); });
    EXPECT_FALSE(TCategoryForm::ValidateCategory(nullptr, &category));
    EXPECT_EQ(category, QStringLiteral("Polka"));
}
