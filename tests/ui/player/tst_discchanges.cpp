#include "collection/Collection.h"
#include "collection/Settings.h"
#include "playback/ScriptedDriveSet.h"
#include "player/ControllerEngine.h"
#include "ScriptedEngineFixture.h"
#include "ScriptedQuestionPort.h"
#include "TestHome.h"
#include "ui/player/TPlayerForm.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QStringList recordedMessages;

void recordMessage(QtMsgType, const QMessageLogContext &, const QString &text)
{
    recordedMessages.append(text);
}

// Records every message logged while it lives.
class MessageRecorder
{
public:
    MessageRecorder()
    {
        recordedMessages.clear();
        m_previous = qInstallMessageHandler(recordMessage);
    }
    ~MessageRecorder() { qInstallMessageHandler(m_previous); }

    int count(const QString &text) const { return int(recordedMessages.filter(text).size()); }

private:
    QtMessageHandler m_previous = nullptr;
};

// The player window on a scripted drive, connected to its engine as the program does: a
// close request of the engine closes the window the way "E&xit" does.
class DiscChangeFixture : public ScriptedEngineFixture
{
protected:
    void SetUp() override
    {
        ScriptedEngineFixture::SetUp();
        player = std::make_unique<TPlayerForm>(settings);
        player->setQuestionPort(&questions);
        player->setEngine(engine.get());
        QObject::connect(engine.get(), &ControllerEngine::closeRequested, player.get(),
                         &QWidget::close, Qt::QueuedConnection);
        player->show();
    }

    void TearDown() override
    {
        player.reset();
        ScriptedEngineFixture::TearDown();
    }

    void insert()
    {
        drive->insert(ScriptedDevice::audioDisc({150, 4650, 9150}, 13650));
        player->driveTick();
        QApplication::processEvents();
    }

    ScriptedQuestionPort questions;
    std::unique_ptr<TPlayerForm> player;
};

} // namespace

TEST_F(DiscChangeFixture, CloseOnEjectEndsThePlayerWhenTheDiscLeaves)
{
    engine->setCloseOnEject(true);
    QSignalSpy closing(player.get(), &TPlayerForm::closing);
    insert();
    ASSERT_TRUE(engine->audioPresent());
    EXPECT_TRUE(player->isVisible()) << "a disc arriving closes nothing";

    player->pressEject();
    player->driveTick();
    QApplication::processEvents();
    EXPECT_FALSE(engine->audioPresent());
    EXPECT_FALSE(player->isVisible());
    EXPECT_EQ(closing.count(), 1);
    EXPECT_TRUE(questions.asked().isEmpty());
}

TEST_F(DiscChangeFixture, WithoutCloseOnEjectThePlayerStays)
{
    QSignalSpy closing(player.get(), &TPlayerForm::closing);
    insert();
    player->pressEject();
    player->driveTick();
    QApplication::processEvents();
    EXPECT_FALSE(engine->audioPresent());
    EXPECT_TRUE(player->isVisible());
    EXPECT_EQ(closing.count(), 0);

    // Ending the engine with a disc in the drive is no eject, even under the switch.
    engine->setCloseOnEject(true);
    insert();
    QSignalSpy requests(engine.get(), &ControllerEngine::closeRequested);
    engine->shutdown();
    QApplication::processEvents();
    EXPECT_EQ(requests.count(), 0);
    EXPECT_TRUE(player->isVisible());
}

TEST_F(DiscChangeFixture, ANewDiscLogsNoRangeError)
{
    const MessageRecorder messages;
    insert();
    ASSERT_TRUE(engine->audioPresent());
    EXPECT_EQ(messages.count(QStringLiteral("Range error")), 0);
    engine->setPosition(-1);
    EXPECT_EQ(engine->currentTrack(), 0) << "no position read yet";
    EXPECT_EQ(messages.count(QStringLiteral("Range error")), 0);

    // A position that is known but before the first track is still reported.
    engine->setPosition(20);
    EXPECT_EQ(engine->currentTrack(), 0);
    EXPECT_EQ(messages.count(QStringLiteral("Range error")), 1);
    engine->setPosition(4700);
    EXPECT_EQ(engine->currentTrack(), 2);
}
