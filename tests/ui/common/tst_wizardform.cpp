#include "ui/common/TInputForm.h"
#include "ui/common/TWizardForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// Three panes; the middle one refuses to be left while `blocked` is set.
class ThreeStepWizard : public TWizardForm
{
public:
    ThreeStepWizard() : TWizardForm(QStringLiteral("Add New Thing"))
    {
        for (int step = 1; step <= 3; ++step) {
            auto *pane = new QWidget;
            new QLineEdit(pane);
            addPane(pane, step, 3);
        }
        start();
    }
    bool blocked = false;
    int finished = 0;

protected:
    bool leavePane(QWidget *pane) override { return !(blocked && pane == panes().at(1)); }
    void finish() override { ++finished; }
};

} // namespace

TEST(WizardForm, ButtonsAndCaptionFollowThePanes)
{
    ThreeStepWizard wizard;
    wizard.show();
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Add New Thing - Step 1 of 3"));
    EXPECT_FALSE(wizard.backButton()->isEnabled());
    EXPECT_TRUE(wizard.nextButton()->isVisible());
    EXPECT_FALSE(wizard.finishButton()->isVisible());

    wizard.nextButton()->click();
    EXPECT_EQ(wizard.currentPane(), wizard.panes().at(1));
    EXPECT_TRUE(wizard.backButton()->isEnabled());
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Add New Thing - Step 2 of 3"));

    wizard.blocked = true;
    wizard.nextButton()->click();
    EXPECT_EQ(wizard.currentPane(), wizard.panes().at(1)) << "a refused pane keeps the wizard";

    wizard.blocked = false;
    wizard.nextButton()->click();
    EXPECT_FALSE(wizard.nextButton()->isVisible());
    EXPECT_TRUE(wizard.finishButton()->isVisible());
    EXPECT_TRUE(wizard.finishButton()->isEnabled());
    wizard.finishButton()->click();
    EXPECT_EQ(wizard.finished, 1);

    wizard.backButton()->click();
    EXPECT_EQ(wizard.currentPane(), wizard.panes().at(1));
    EXPECT_FALSE(wizard.finishButton()->isVisible());
}

TEST(WizardForm, UntaggedPaneKeepsThePlainCaption)
{
    TWizardForm wizard(QStringLiteral("Plain"));
    wizard.addPane(new QWidget);
    wizard.start();
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Plain"));
    EXPECT_EQ(TWizardForm::paneTag(wizard.panes().at(0)), 0);
}

TEST(InputForm, ReturnsTheEditedTextOnlyOnOk)
{
    QString text = QStringLiteral("New Artist");
    QTimer::singleShot(0, [] {
        auto *form = qobject_cast<TInputForm *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Add New Artist"));
        EXPECT_EQ(form->edit()->text(), QStringLiteral("New Artist"));
        form->edit()->setText(QStringLiteral("  The Band  "));
        form->accept();
    });
    ASSERT_TRUE(TInputForm::ask(nullptr, QStringLiteral("Add New Artist"),
                                QStringLiteral("Please enter the text."), &text));
    EXPECT_EQ(text, QStringLiteral("  The Band  "));

    QTimer::singleShot(0, [] {
        auto *form = qobject_cast<TInputForm *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        form->edit()->setText(QStringLiteral("ignored"));
        form->reject();
    });
    EXPECT_FALSE(TInputForm::ask(nullptr, QStringLiteral("Add New Artist"),
                                 QStringLiteral("Please enter the text."), &text));
    EXPECT_EQ(text, QStringLiteral("  The Band  "));
}
