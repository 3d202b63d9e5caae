#include "collection/Settings.h"
#include "base/StringTable.h"
#include "ui/player/TPlayerForm.h"
#include "ui/player/TQuestionForm.h"

#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// Shows the box for `id` and presses `key` once it is up; returns the result.
int answerWithKey(int id, Qt::Key key, QWidget *owner = nullptr)
{
    QTimer::singleShot(0, [key] {
        QWidget *box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, key);
    });
    WidgetQuestionPort port(owner);
    return port.ask(id, QStringLiteral("E"), {}, {});
}

} // namespace

TEST(TQuestionForm, ButtonsArePackedFromTheRight)
{
    const MessageText message = MessageText::parse(StringTable::text(12290));
    TQuestionForm box(message, nullptr);
    QPushButton *yes = box.button(MessageButton::Yes);
    QPushButton *no = box.button(MessageButton::No);
    QPushButton *cancel = box.button(MessageButton::Cancel);
    ASSERT_TRUE(yes && no && cancel);
    EXPECT_EQ(box.button(MessageButton::Ok), nullptr);
    EXPECT_EQ(cancel->x(), 352);
    EXPECT_EQ(no->x(), 352 - 71);
    EXPECT_EQ(yes->x(), 352 - 142);
    EXPECT_TRUE(yes->font().bold());
    EXPECT_FALSE(no->font().bold());
    EXPECT_EQ(box.size(), QSize(425, 172));
    EXPECT_EQ(box.findChild<QPushButton *>("HelpButton"), nullptr);
}

TEST(TQuestionForm, KeysAnswerAsTheMessageSays)
{
    EXPECT_EQ(answerWithKey(12293, Qt::Key_Return), ResultCancel);
    EXPECT_EQ(answerWithKey(12293, Qt::Key_Escape), ResultNo);
    EXPECT_EQ(answerWithKey(12290, Qt::Key_Return), ResultYes);
    EXPECT_EQ(answerWithKey(12290, Qt::Key_Escape), ResultCancel);
    EXPECT_EQ(answerWithKey(12288, Qt::Key_Escape), ResultNo);
    EXPECT_EQ(answerWithKey(12307, Qt::Key_Enter), ResultOk);
}

TEST(TQuestionForm, ClickingAButtonReturnsItsResult)
{
    QTimer::singleShot(0, [] {
        auto *box = qobject_cast<TQuestionForm *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->message().body,
                  "An error occurred while attempting to open CD-ROM drive 'E'.");
        QTest::mouseClick(box->button(MessageButton::Cancel), Qt::LeftButton);
    });
    WidgetQuestionPort port(nullptr);
    EXPECT_EQ(port.ask(12293, "E", {}, {}), ResultCancel);
}

TEST(TQuestionForm, SuspendsAndRestoresStayOnTop)
{
    Settings settings = Settings::defaults("/tmp", "ann", {});
    settings.SetOptionFlag(_GLOB_OPTION_STAYONTOP, true);
    TPlayerForm player(settings);
    player.show();
    EXPECT_TRUE(player.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    bool onTopWhileShown = true;
    QTimer::singleShot(0, [&] {
        onTopWhileShown = player.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
    });
    WidgetQuestionPort port(&player, [&player](bool suspend) {
        suspend ? player.suspendStayOnTop() : player.resumeStayOnTop();
    });
    port.ask(12290, {}, {}, {});
    EXPECT_FALSE(onTopWhileShown);
    EXPECT_TRUE(player.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(TPlayerForm, CaptionAndMenus)
{
    EXPECT_EQ(TPlayerForm::formatCaption("%P %V"), "Orbisong 4.0.3");
    Settings settings = Settings::defaults("/tmp", "ann", {});
    TPlayerForm player(settings);
    EXPECT_EQ(player.windowTitle(), "Orbisong 4.0");
    settings.SetOptionFlag(_GLOB_OPTION_USEFORMATSTRINGS, true);
    TPlayerForm formatted(settings);
    EXPECT_EQ(formatted.windowTitle(), "Orbisong 4.0.3");
    QStringList menus;
    for (QAction *action : player.menuBar()->actions())
        menus.append(action->text());
    EXPECT_EQ(menus, QStringList({"&File", "&Control", "&Playlist", "&Help"}));
}
