// The composition root run in-process: the parts it wires show their windows over the player.

#include "app/PlaylistWindows.h"
#include "app/StartupSequence.h"
#include "CddbPeer.h"
#include "collection/Collection.h"
#include "collection/Conversion.h"
#include "collection/DiscId.h"
#include "collection/SettingsSession.h"
#include "playback/DiscImageWriter.h"
#include "player/PlayerEngine.h"
#include "ScriptedQuestionPort.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "ui/collection/ConversionProgressDialog.h"
#include "ui/lookup/TRemoteInexactMatchForm.h"
#include "ui/player/TPlayerForm.h"
#include "ui/player/TQuestionForm.h"
#include "ui/playlist/TPlaylistForm.h"
#include "ui/playlist/TPlaylistWizard.h"
#include "ui/playlist/TrackPicker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// Answers whatever window a test waits for, from inside the modal loop that shows it.
class WindowWatcher
{
public:
    explicit WindowWatcher(std::function<bool()> answer) : m_answer(std::move(answer))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (m_answer())
                m_timer.stop();
        });
        m_timer.start(20);
    }

private:
    std::function<bool()> m_answer;
    QTimer m_timer;
};

template <typename Window> Window *visibleWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<Window *>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

QString albumsOf(int count)
{
    QString text;
    for (int i = 0; i < count; ++i) {
        const QString id = QStringLiteral("%1").arg(i + 1, 13, 10, QLatin1Char('0'));
        text += QStringLiteral("<%1>\r\n[Album]\r\nID=%1\r\nTL=Album %2\r\n[Media]\r\nMD=65537\r\n")
                    .arg(id)
                    .arg(i + 1);
    }
    return text;
}

} // namespace

// The large-collection question of the first index build is the user's to answer: it opens
// as a box over the player instead of being answered "Yes" unseen.
TEST(Startup, TheFirstIndexBuildAsksTheUser)
{
    TestHome home;
    {
        SettingsSession session;
        session.settings().collectionPath = home.file(QStringLiteral("big.obc"));
        session.settings().peakCount = 0;
        ASSERT_TRUE(session.save());
    }
    writeFile(home.file(QStringLiteral("big.obc")), albumsOf(100).toUtf8());

    QString asked;
    WindowWatcher watcher([&] {
        auto *box = qobject_cast<TQuestionForm *>(QApplication::activeModalWidget());
        if (!box)
            return false;
        asked = box->message().title;
        QTest::mouseClick(box->button(MessageButton::No), Qt::LeftButton);
        return true;
    });
    {
        StartupSequence startup({QStringLiteral("/NODRIVE")});
        ASSERT_TRUE(startup.start());
        // The index is built behind the shown window; the question comes when it is ready.
        QElapsedTimer waited;
        waited.start();
        while (asked.isEmpty() && waited.elapsed() < 15000)
            QTest::qWait(20);
        EXPECT_EQ(asked, QStringLiteral("Your collection is getting large."));
    }
    SettingsSession reread;
    EXPECT_FALSE(reread.settings().GetOptionFlag(_GLOB_OPTION_COLLECTIONALWAYSOPEN));
    EXPECT_EQ(reread.settings().peakCount, 100);
}

// A server's inexact matches open the choice window over the player; the chosen entry names
// the album in the window.
TEST(Startup, InexactMatchesOpenTheChoiceWindow)
{
    TestHome home;
    qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true");
    DiscImageWriter writer;
    writer.addSilentTrack(75 * 20);
    writer.addSilentTrack(75 * 30);
    const QString cue = home.file(QStringLiteral("disc.cue"));
    ASSERT_TRUE(writer.write(cue));
    const QString discId = CddbDiscIdText(CddbDiscId(writer.trackStarts(), writer.leadOut()));
    const QString otherId = QStringLiteral("0a0b0c0d");

    CddbPeer peer;
    peer.addEntry(QStringLiteral("rock"), otherId,
                  "# xmcd\nDISCID=0a0b0c0d\nDTITLE=Test Artist / Test Album\nTTITLE0=one\n"
                  "TTITLE1=two\nEXTD=\nEXTT0=\nEXTT1=\nPLAYORDER=\n");
    peer.addInexact(discId, {QStringLiteral("jazz 11111102 Other / Thing"),
                             QStringLiteral("rock %1 Test Artist / Test Album").arg(otherId)});
    // Without a message of the day, the choice is the only window the lookup opens.
    ASSERT_TRUE(peer.start({QStringLiteral("--motd-status"), QStringLiteral("401")}));
    {
        SettingsSession session;
        Settings &settings = session.settings();
        settings.SetOptionFlag(_GLOB_OPTION_AUTORCDDB, true);
        settings.cddbServer = QStringLiteral("127.0.0.1");
        settings.cddbPort = QString::number(peer.cddbpPort());
        settings.cddbProtocol = QStringLiteral("CDDBP");
        ASSERT_TRUE(session.save());
    }

    QStringList offered;
    WindowWatcher watcher([&] {
        auto *form = visibleWindow<TRemoteInexactMatchForm>();
        if (!form)
            return false;
        auto *list = form->findChild<QListWidget *>();
        for (int row = 0; row < list->count(); ++row)
            offered.append(list->item(row)->text());
        list->setCurrentRow(1);
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("OKButton")),
                          Qt::LeftButton);
        return true;
    });
    StartupSequence startup({cue});
    ASSERT_TRUE(startup.start());
    PlayerEngine *engine = startup.player()->engine();
    ASSERT_NE(engine, nullptr);
    QElapsedTimer waited;
    waited.start();
    while (engine->current().album.title != QStringLiteral("Test Album") &&
           waited.elapsed() < 15000)
        QTest::qWait(20);
    EXPECT_EQ(engine->current().album.title, QStringLiteral("Test Album"));
    EXPECT_EQ(offered.size(), 2);
    EXPECT_EQ(engine->current().album.artist, QStringLiteral("Test Artist"));
}

// The conversion of the previous version's albums shows its progress window while it runs.
TEST(Startup, TheConversionShowsItsProgress)
{
    TestHome home;
    Settings settings = Settings::defaults(home.path(), QStringLiteral("ann"), QString());
    Collection collection(settings, home.file(QStringLiteral("ann.obc")));
    ScriptedQuestionPort questions;
    collection.setQuestionPort(&questions);

    struct Watched : ConversionProgressDialog
    {
        QString title;
        int maximum = -1;
        QList<int> values;
        void advance(int done) override
        {
            ConversionProgressDialog::advance(done);
            title = window()->windowTitle();
            maximum = window()->maximum();
            values.append(window()->value());
            visible = visible && window()->isVisible();
            if (done == 1) {
                const QDir out(TestHome::binaryDir());
                out.mkpath(QStringLiteral("screenshots"));
                window()->grab().save(out.filePath(QStringLiteral("screenshots/conversion.png")));
            }
        }
        bool visible = true;
    } progress;
    const QString old =
        QDir(TestHome::sourceDir()).filePath(QStringLiteral("tests/data/collection/old"));
    const ConversionResult result = ConvertCollection(collection, {old}, &progress);
    ASSERT_TRUE(result.ran);
    EXPECT_EQ(progress.title, QStringLiteral("Converting Collection"));
    EXPECT_EQ(progress.maximum, result.converted + result.failed);
    EXPECT_EQ(progress.values.size(), result.converted + result.failed);
    EXPECT_TRUE(progress.visible);
    EXPECT_EQ(progress.window(), nullptr);
}

// The player's playlist buttons reach the playlist windows that the start-up wires to them.
TEST(Startup, PlaylistButtonsOpenThePlaylistWindows)
{
    TestHome home;
    qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true");
    DiscImageWriter writer;
    writer.addSilentTrack(75 * 20);
    writer.addSilentTrack(75 * 30);
    const QString cue = home.file(QStringLiteral("disc.cue"));
    ASSERT_TRUE(writer.write(cue));
    StartupSequence startup({cue});
    ASSERT_TRUE(startup.start());
    TPlayerForm *player = startup.player();
    PlayerEngine *engine = player->engine();
    QElapsedTimer waited;
    waited.start();
    while (!engine->audioPresent() && waited.elapsed() < 15000)
        QTest::qWait(20);
    ASSERT_TRUE(engine->audioPresent());

    player->findChild<QAbstractButton *>(QStringLiteral("AddButton"))->click();
    auto *wizard = visibleWindow<TPlaylistWizard>();
    ASSERT_NE(wizard, nullptr);
    wizard->titleEdit()->setText(QStringLiteral("Both"));
    wizard->nextButton()->click();
    wizard->nextButton()->click();
    wizard->picker()->insertTracks({2, 1}, -1);
    wizard->nextButton()->click();
    wizard->nextButton()->click();
    wizard->finishButton()->click();
    QApplication::processEvents();
    EXPECT_EQ(engine->currentPlaylist(), QStringLiteral("Both"));
    EXPECT_EQ(engine->list().size(), 2);

    player->findChild<QAbstractButton *>(QStringLiteral("EditButton"))->click();
    auto *form = startup.playlistWindows()->playlistForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->titleEdit()->text(), QStringLiteral("Both"));
    player->findChild<QAbstractButton *>(QStringLiteral("RemoveButton"))->click();
    QApplication::processEvents();
    EXPECT_EQ(engine->currentPlaylist(), QStringLiteral("Album"));
    EXPECT_EQ(startup.playlistWindows()->playlistForm(), nullptr);
}
