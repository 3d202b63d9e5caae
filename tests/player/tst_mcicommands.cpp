#include "ScriptedEngineFixture.h"
#include "SilentScriptHost.h"

#include "player/EventScriptRunner.h"
#include "player/PlayerMciCommands.h"
#include "player/ScriptHostPort.h"

using namespace Orbisong;

namespace {

class MciCommands : public ScriptedEngineFixture
{
protected:
    // Runs the statements as an event script whose mciString reaches the engine.
    EventRun run(const QString &body)
    {
        runner.setMediaCommands([this](const QString &command, QString *answer) {
            return PlayerMciCommands(*engine).run(command, answer);
        });
        runner.setOutput([this](const QString &text) { output += text; });
        return runner.fire(QStringLiteral("On_TimerPlay"),
                           QStringLiteral("procedure Main\n%1\nendproc\n").arg(body), {});
    }

    SilentScriptHost host;
    EventScriptRunner runner{host};
    QString output;
};

} // namespace

TEST_F(MciCommands, StatusPlayAndStopReachThePlayer)
{
    const QString status = QStringLiteral("writeln(mciString('status cdaudio mode'), '|', "
                                          "mciString('status cdaudio length'))\n");
    EXPECT_EQ(run(status).outcome, EventRun::Ran);
    EXPECT_EQ(output, QStringLiteral("not ready|\n"));

    drive->insert(fourTracks());
    engine->poll();
    output.clear();
    EXPECT_EQ(run(status + QStringLiteral("mciString('Play  CDAudio')\n") + status +
                  QStringLiteral("writeln(mciString('status cdaudio position'))\n"
                                 "mciString('stop cdaudio')\n") +
                  status)
                  .outcome,
              EventRun::Ran);
    EXPECT_EQ(output, QStringLiteral("stopped|04:00:00\nplaying|04:00:00\n00:02:00\n"
                                     "stopped|04:00:00\n"));
    EXPECT_FALSE(engine->playing());
}

TEST_F(MciCommands, OtherCommandsStopTheScriptWithTheReason)
{
    const EventRun refused = run(QStringLiteral("writeln(mciString('open cdaudio'))"));
    EXPECT_EQ(refused.outcome, EventRun::Failed);
    EXPECT_TRUE(refused.text.contains(QStringLiteral("\"open cdaudio\" is not supported")))
        << refused.text.toStdString();
    EXPECT_EQ(output, QString());
    QString answer;
    EXPECT_FALSE(PlayerMciCommands(*engine).run(QStringLiteral("status cdaudio volume"), &answer));
    EXPECT_FALSE(PlayerMciCommands(*engine).run(QStringLiteral("play"), &answer));
}
