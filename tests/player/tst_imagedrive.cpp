// A disc image added as a drive: one that cannot be opened is reported in the player's words.

#include "base/MessageIds.h"
#include "base/MessageText.h"
#include "base/StringTable.h"
#include "collection/Settings.h"
#include "playback/CdioDriveSet.h"
#include "playback/DiscImageWriter.h"
#include "player/ControllerEngine.h"
#include "ScriptedQuestionPort.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <gtest/gtest.h>

using namespace Orbisong;

TEST(ImageDrive, AnImageThatCannotBeOpenedNamesTheDriveAndTheReason)
{
    TestHome home;
    const QString damaged = home.file(QStringLiteral("damaged.cue"));
    writeFile(damaged, "FILE \"missing.bin\" BINARY\r\n  TRACK 01 AUDIO\r\n"
                       "    INDEX 01 00:00:00\r\n");
    DiscImageWriter writer;
    writer.addSilentTrack(75 * 10);
    const QString good = home.file(QStringLiteral("good.cue"));
    ASSERT_TRUE(writer.write(good));

    CdioDriveSet drives;
    Settings settings = Settings::defaults(home.path(), QStringLiteral("ann"), QString());
    ScriptedQuestionPort questions;
    ControllerEngine engine(drives, settings, nullptr);
    engine.setQuestionPort(&questions);
    engine.startup(QChar(), true);
    ASSERT_TRUE(questions.asked().isEmpty());

    const QChar letter = drives.addImage(damaged);
    ASSERT_FALSE(letter.isNull());
    engine.addDrive(letter);
    ASSERT_EQ(questions.asked().size(), 1);
    const ScriptedQuestionPort::Asked &asked = questions.asked().first();
    EXPECT_EQ(asked.id, Msg::UnableToOpenDrive);
    ASSERT_GE(asked.texts.size(), 2);
    EXPECT_EQ(asked.texts.at(0), QString(letter));
    EXPECT_FALSE(asked.texts.at(1).isEmpty());
    EXPECT_FALSE(asked.texts.join(QString()).contains(QStringLiteral("OB4MCI")));
    const MessageText box =
        MessageText::parse(StringTable::text(asked.id), asked.texts.at(0), asked.texts.at(1));
    EXPECT_EQ(box.title, QStringLiteral("Unable to open the CD-ROM drive."));
    EXPECT_TRUE(box.body.contains(QStringLiteral("drive '%1'").arg(letter)));
    EXPECT_TRUE(box.body.endsWith(asked.texts.at(1)));
    EXPECT_NE(engine.currentDrive(), letter);

    // The player goes on: a sound image added next opens without a further question.
    const QChar next = drives.addImage(good);
    engine.addDrive(next);
    EXPECT_EQ(questions.asked().size(), 1);
    EXPECT_EQ(engine.currentDrive(), next);
    engine.shutdown();
}
