#include "base/MessageText.h"
#include "base/QuestionPort.h"
#include "base/StringTable.h"

#include <gtest/gtest.h>

using namespace Orbisong;

TEST(MessageText, ErrorWithCancelOnly)
{
    const MessageText m = MessageText::parse(QStringLiteral("X~~C~Title~Body"));
    EXPECT_EQ(m.picture, MessagePicture::Error);
    EXPECT_EQ(m.buttons, QList<MessageButton>({MessageButton::Cancel}));
    EXPECT_EQ(m.defaultButton(), MessageButton::Cancel);
    EXPECT_EQ(m.enterResult(), ResultCancel);
    EXPECT_EQ(m.escapeResult(), ResultNo);
}

TEST(MessageText, YesNoCancelOrderAndKeys)
{
    const MessageText m = MessageText::parse(QStringLiteral("?~~CNY~T~B"));
    EXPECT_EQ(m.picture, MessagePicture::Question);
    EXPECT_EQ(m.buttons, QList<MessageButton>({MessageButton::Yes, MessageButton::No,
                                               MessageButton::Cancel}));
    EXPECT_EQ(m.defaultButton(), MessageButton::Yes);
    EXPECT_EQ(m.enterResult(), ResultYes);
    // Cancel beside No: Escape cancels rather than answering No.
    EXPECT_EQ(m.escapeResult(), ResultCancel);
    EXPECT_EQ(MessageText::parse(QStringLiteral("?~~YN~T~B")).escapeResult(), ResultNo);
}

TEST(MessageText, PicturePrecedenceAndDefaults)
{
    EXPECT_EQ(MessageText::parse("x?~~O~~").picture, MessagePicture::Question);
    EXPECT_EQ(MessageText::parse("iX~~O~~").picture, MessagePicture::Error);
    EXPECT_EQ(MessageText::parse("*i~~O~~").picture, MessagePicture::Information);
    EXPECT_EQ(MessageText::parse("*~~O~~").picture, MessagePicture::Delete);
    EXPECT_EQ(MessageText::parse("!~~O~~").picture, MessagePicture::Exclamation);
    EXPECT_EQ(MessageText::parse("!~~NO~~").defaultButton(), MessageButton::Ok);
    EXPECT_EQ(MessageText::parse("!~~N~~").defaultButton(), MessageButton::No);
}

TEST(MessageText, PlaceholdersAreReplacedInOnePass)
{
    const MessageText m = MessageText::parse(QStringLiteral("X~~C~%1 and %1~%2 %3 %4"),
                                             QStringLiteral("A%2"), QStringLiteral("B"),
                                             QStringLiteral("C"));
    EXPECT_EQ(m.title, "A%2 and A%2");
    EXPECT_EQ(m.body, "B C %4");
}

TEST(MessageText, QuotedTildeAndHelpTopic)
{
    const MessageText m = MessageText::parse(QStringLiteral("X~ 42 ~C~\"a~b\"~body \"x\""));
    EXPECT_EQ(m.helpTopic, "42");
    EXPECT_EQ(m.title, "a~b");
    EXPECT_EQ(m.body, "body x");
}

TEST(MessageText, MissingResourceGivesEmptyBox)
{
    const MessageText m = MessageText::parse(StringTable::text(1));
    EXPECT_EQ(m.picture, MessagePicture::Exclamation);
    EXPECT_TRUE(m.buttons.isEmpty());
    EXPECT_EQ(m.enterResult(), ResultCancel);
    EXPECT_EQ(m.escapeResult(), ResultNo);
}

TEST(StringTable, HoldsTheProgramMessages)
{
    const MessageText closing = MessageText::parse(StringTable::text(12290));
    EXPECT_EQ(closing.title, "Orbisong is still playing.");
    EXPECT_EQ(closing.body, "Do you want to stop playback before Orbisong closes?\n\nIf you click "
                            "'No' playback will continue until the end of the album.");
    const MessageText drive = MessageText::parse(StringTable::text(12293), "E");
    EXPECT_EQ(drive.body, "An error occurred while attempting to open CD-ROM drive 'E'.");
    // The reason, when there is one, follows after a blank line.
    EXPECT_EQ(MessageText::parse(StringTable::text(12293), "E", "no such file").body,
              "An error occurred while attempting to open CD-ROM drive 'E'.\n\nno such file");
    EXPECT_EQ(MessageText::parse(StringTable::text(12309), "T", "B").body, "B ");
    for (int id : {8193, 8208, 12288, 12328, 16384, 16395, 16640, 16642, 16896, 17152, 17158})
        EXPECT_TRUE(StringTable::contains(id)) << id;
}

TEST(QuestionPort, HeadlessDefaultAnswersTheDefaultButton)
{
    DefaultAnswerPort port;
    EXPECT_EQ(port.ask(12290, {}, {}, {}), ResultYes);
    EXPECT_EQ(port.ask(12293, "D", {}, {}), ResultCancel);
    // A part handed no port answers the same way.
    EXPECT_EQ(askOrDefault(nullptr, 12290), ResultYes);
    EXPECT_EQ(askOrDefault(nullptr, 12293, "D"), ResultCancel);
}
