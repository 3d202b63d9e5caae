// Submissions started from the program's windows: the category choice over the player, the
// exchange off the window thread, and the messages that end it.

#include "app/SubmitWindows.h"
#include "base/MessageIds.h"
#include "cddb/TSubmitThread.h"
#include "collection/Collection.h"
#include "collection/Settings.h"
#include "MailPeers.h"
#include "ScriptedQuestionPort.h"
#include "SubmitAlbums.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "ui/lookup/TCategoryForm.h"
#include "ui/player/TPlayerForm.h"
#include "ui/player/TStatusBox.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace Orbisong;

namespace {

class SubmitWindowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeFile(m_path, submitAlbums());
        m_settings.smtpAddress = QStringLiteral("ann@example.org");
        m_collection = std::make_unique<Collection>(m_settings, m_path);
        m_collection->setQuestionPort(&m_port);
        m_collection->BuildAlbumIndex();
        m_player = std::make_unique<TPlayerForm>(m_settings);
        m_player->setQuestionPort(&m_port);
        m_player->show();
        m_windows = std::make_unique<SubmitWindows>(m_player.get(), nullptr, m_collection.get(),
                                                    m_settings, &m_port);
    }

    TestHome m_home;
    QString m_path = m_home.file(QStringLiteral("c.obc"));
    Settings m_settings = Settings::defaults(m_home.path(), QStringLiteral("ann"), QString());
    ScriptedQuestionPort m_port;
    std::unique_ptr<Collection> m_collection;
    std::unique_ptr<TPlayerForm> m_player;
    std::unique_ptr<SubmitWindows> m_windows;
};

} // namespace

TEST_F(SubmitWindowsTest, CategoryChoiceThenMailOffTheWindowThread)
{
    SmtpSink sink;
    ASSERT_TRUE(sink.start());
    m_settings.smtpServer = QStringLiteral("127.0.0.1:%1").arg(sink.port());
    bool offered = false;
    QTimer::singleShot(0, [&] {
        auto *form = qobject_cast<TCategoryForm *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        offered = true;
        QDir(TestHome::binaryDir()).mkpath(QStringLiteral("screenshots"));
        EXPECT_TRUE(form->grab().save(
            QDir(TestHome::binaryDir()).filePath(QStringLiteral("screenshots/cddb-category.png"))));
        form->categoryCombo()->setCurrentText(QStringLiteral("Rock"));
        form->accept();
    });
    QSignalSpy finished(m_windows.get(), &SubmitWindows::submitFinished);
    ASSERT_TRUE(m_windows->submit(QStringLiteral("04018E0203A98")));
    EXPECT_TRUE(offered);
    // The window thread is back before the exchange ends: the worker sends.
    ASSERT_NE(m_windows->running(), nullptr);
    EXPECT_EQ(finished.count(), 0);
    // One at a time.
    EXPECT_FALSE(m_windows->submit(QStringLiteral("04018E0603A98")));
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), 0);
    EXPECT_EQ(m_windows->running(), nullptr);
    EXPECT_TRUE(m_port.asked().isEmpty());
    EXPECT_TRUE(m_player->statusBox()->shownText().isEmpty());
    EXPECT_TRUE(sink.nextMessage().contains(QStringLiteral("Subject:  cddb rock 04018e02")));
}

TEST_F(SubmitWindowsTest, TimeOutShowsItsMessageAndCancelEndsQuietly)
{
    SmtpPeer silent;
    ASSERT_TRUE(silent.start(QStringLiteral("silence")));
    m_settings.smtpServer = QStringLiteral("127.0.0.1:%1").arg(silent.port());
    m_windows->setTimeOut(1);
    QSignalSpy finished(m_windows.get(), &SubmitWindows::submitFinished);
    ASSERT_TRUE(m_windows->submit(QStringLiteral("04018E0603A98")));
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), 1);
    ASSERT_EQ(m_port.asked().size(), 1);
    EXPECT_EQ(m_port.asked().at(0).id, Msg::SmtpTimedOut);

    m_windows->setTimeOut(600);
    ASSERT_TRUE(m_windows->submit(QStringLiteral("04018E0603A98")));
    m_windows->cancel();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(finished.at(1).at(0).toInt(), 3);
    EXPECT_EQ(m_port.asked().size(), 1);
}
