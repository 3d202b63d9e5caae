// The collection is written in the background while the program runs; quitting waits for the
// last write, so what was changed a moment before is on disk when the window has closed.

#include "app/StartupSequence.h"
#include "playback/DiscImageWriter.h"
#include "player/PlayerEngine.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "ui/player/TPlayerForm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QByteArray collectionText(const TestHome &home)
{
    const QStringList files =
        QDir(home.path()).entryList({QStringLiteral("*.obc"), QStringLiteral("*.OBC")});
    return files.isEmpty() ? QByteArray() : readFile(home.file(files.first()));
}

} // namespace

TEST(QuitSaves, AnEditJustBeforeQuittingIsOnDisk)
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
    ASSERT_NE(engine, nullptr);
    QElapsedTimer waited;
    waited.start();
    while (!engine->audioPresent() && waited.elapsed() < 15000)
        QTest::qWait(20);
    ASSERT_TRUE(engine->audioPresent());

    engine->current().album.title = QStringLiteral("Changed at the last moment");
    engine->current().album.artist = QStringLiteral("Quitter");
    player->close();
    // No event loop turned since the change: the close itself waited for the disk.
    const QByteArray stored = collectionText(home);
    EXPECT_TRUE(stored.contains("  TL=Changed at the last moment\r\n")) << stored.constData();
    EXPECT_TRUE(stored.contains("  AR=Quitter\r\n"));
}
