#include "ScriptedQuestionPort.h"
#include "TestHome.h"

#include "base/MessageIds.h"
#include "collection/AlbumInfo.h"
#include "player/AlbumScriptConsent.h"
#include "player/EventScriptRunner.h"
#include "player/ScriptHostPort.h"
#include "script/ScriptedResponder.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// Records every host call as "NAME arg | arg"; answers InputBox and OutputBox from a list.
class RecordingHost : public ScriptHostPort
{
public:
    QStringList calls;
    QStringList errors;
    QStringList inputs;   // one per InputBox; none left: cancelled
    QList<bool> confirms; // one per OutputBox; none left: cancelled
    QList<bool> consents; // one per AllowScript question
    int asked = 0;

    void execute(const QString &program, const QStringList &arguments) override
    {
        record(QStringLiteral("Execute"), QStringList{program} + arguments);
    }
    void openUrl(const QString &url) override { record(QStringLiteral("OpenUrl"), {url}); }
    void weblink(int index) override
    {
        record(QStringLiteral("Weblink"), {QString::number(index)});
    }
    void setIcon(const QString &path, int index) override
    {
        record(QStringLiteral("SetIcon"), {path, QString::number(index)});
    }
    void statusMessage(const QString &text, int seconds) override
    {
        record(QStringLiteral("StatusMessage"), {text, QString::number(seconds)});
    }
    bool inputBox(const QString &prompt, const QString &defaultText, QString *text) override
    {
        record(QStringLiteral("InputBox"), {prompt, defaultText});
        if (inputs.isEmpty())
            return false;
        *text = inputs.takeFirst();
        return true;
    }
    bool outputBox(const QString &prompt) override
    {
        record(QStringLiteral("OutputBox"), {prompt});
        return !confirms.isEmpty() && confirms.takeFirst();
    }
    void setWallpaper(const QString &path) override
    {
        record(QStringLiteral("SetWallpaper"), {path});
    }
    void scriptError(const QString &text) override { errors << text; }
    bool allowAlbumScript(const QString &album, const QString &) override
    {
        ++asked;
        record(QStringLiteral("AllowScript"), {album});
        return !consents.isEmpty() && consents.takeFirst();
    }

private:
    void record(const QString &name, const QStringList &arguments)
    {
        calls << name + QLatin1Char(' ') + arguments.join(QStringLiteral(" | "));
    }
};

struct Fixture
{
    RecordingHost host;
    ScriptedQuestionPort questions;
    EventScriptRunner runner{host};

    Fixture() { runner.setQuestionPort(&questions); }

    EventRun fire(const QString &event, const QString &script)
    {
        return runner.fire(event, script, EventScriptRunner::defaultScript());
    }
};

} // namespace

TEST(EventScripts, TheDefaultScriptRunsForAnEmptyScriptAndDoesNothing)
{
    EXPECT_EQ(EventScriptRunner::expandEscapes(EventScriptRunner::defaultScript()),
              QStringLiteral("procedure Main;\n  // Enter code for this event here.\n\nendproc;"));
    EXPECT_EQ(EventScriptRunner::expandEscapes(QStringLiteral("a\\tb\\\\c\\qd\\")),
              QStringLiteral("a\tb\\cd"));
    Fixture f;
    const EventRun run = f.fire(QStringLiteral("On_AlbumInsert"), QStringLiteral("  \n\t\n"));
    EXPECT_EQ(run.outcome, EventRun::Ran);
    EXPECT_TRUE(f.host.calls.isEmpty());
    EXPECT_TRUE(f.host.errors.isEmpty());
    EXPECT_TRUE(f.questions.asked().isEmpty());
}

TEST(EventScripts, MainComesFirstThenTheRoutineNamedLikeTheEvent)
{
    Fixture f;
    const QString both = QStringLiteral("procedure On_ItemPlay\n  StatusMessage('item', 0)\n"
                                        "endproc\nprocedure main\n  StatusMessage('main', 2)\n"
                                        "endproc\n");
    EXPECT_EQ(f.fire(QStringLiteral("On_ItemPlay"), both).outcome, EventRun::Ran);
    EXPECT_EQ(f.host.calls, QStringList{QStringLiteral("StatusMessage main | 2")});

    f.host.calls.clear();
    const QString only =
        QStringLiteral("procedure On_ItemPlay\n  StatusMessage('item', 0)\nendproc\n");
    EXPECT_EQ(f.fire(QStringLiteral("On_ItemPlay"), only).outcome, EventRun::Ran);
    EXPECT_EQ(f.host.calls, QStringList{QStringLiteral("StatusMessage item | 0")});

    f.host.calls.clear();
    EXPECT_EQ(f.fire(QStringLiteral("On_AlbumEject"), only).outcome, EventRun::NoMain);
    EXPECT_TRUE(f.host.calls.isEmpty());
    ASSERT_EQ(f.questions.asked().size(), 1);
    EXPECT_EQ(f.questions.asked().at(0).id, Msg::ScriptHasNoMain);
    EXPECT_EQ(f.questions.asked().at(0).texts.value(0), QStringLiteral("On_AlbumEject"));
}

// Blank lines before the first routine count: the line is the one the user sees.
TEST(EventScripts, AnErrorNamesTheFailingRoutineLineAndEvent)
{
    Fixture f;
    const QString script = QStringLiteral("\n\nprocedure Main\n  Helper()\n  StatusMessage('after',"
                                          " 0)\nendproc\n\nprocedure Helper\n  var\n    n : "
                                          "integer;\n  endvar\n  n := 2\n  n := n + Nowhere\n"
                                          "endproc\n");
    const EventRun run = f.fire(QStringLiteral("On_TimerPlay"), script);
    ASSERT_EQ(run.outcome, EventRun::Failed);
    EXPECT_EQ(run.line, 13);
    ASSERT_EQ(f.host.errors.size(), 1);
    EXPECT_EQ(f.host.errors.at(0), run.text);
    EXPECT_TRUE(run.text.endsWith(
        QStringLiteral(" on line 13 of procedure \"HELPER\" for event \"On_TimerPlay\".")))
        << run.text.toStdString();
    EXPECT_FALSE(run.text.startsWith(QStringLiteral(" on line")));
    EXPECT_TRUE(f.host.calls.isEmpty());
}

TEST(EventScripts, ARunawayLoopIsStoppedWhileTheFiringThreadKeepsAnswering)
{
    Fixture f;
    f.runner.setTimeBudget(300);
    int ticks = 0;
    QTimer window;
    QObject::connect(&window, &QTimer::timeout, [&] { ++ticks; });
    window.start(0);
    const EventRun run = f.fire(QStringLiteral("On_TimerStop"),
                                QStringLiteral("procedure Main\n  while true do\n  endwhile\n"
                                               "endproc\n"));
    window.stop();
    EXPECT_EQ(run.outcome, EventRun::Stopped);
    EXPECT_GT(ticks, 0);
    ASSERT_EQ(f.host.errors.size(), 1);
    EXPECT_TRUE(f.host.errors.at(0).contains(QStringLiteral("\"On_TimerStop\"")));
    EXPECT_TRUE(f.host.errors.at(0).contains(QStringLiteral("stopped")));
    EXPECT_FALSE(f.runner.isRunning());
}

// Time spent in a host call is the user's, not the script's.
TEST(EventScripts, TimeInHostCallsIsNotChargedToTheBudget)
{
    struct SlowHost : RecordingHost
    {
        void statusMessage(const QString &, int) override
        {
            QEventLoop loop;
            QTimer::singleShot(700, &loop, &QEventLoop::quit);
            loop.exec();
        }
    };
    SlowHost slow;
    EventScriptRunner runner(slow);
    runner.setTimeBudget(1000);
    const EventRun run = runner.fire(
        QStringLiteral("On_TimerPlay"),
        QStringLiteral("procedure Main\n  StatusMessage('a', 0)\n  StatusMessage('b', 0)\n"
                       "  OutputBox('done')\nendproc\n"),
        {});
    EXPECT_EQ(run.outcome, EventRun::Ran);
    EXPECT_EQ(slow.calls, QStringList{QStringLiteral("OutputBox done")});
}

TEST(EventScripts, DeepRecursionFitsTheScriptThreadsStack)
{
    Fixture f;
    const QString script = QStringLiteral(
        "function Depth(n : integer) : integer\n  if n = 0 then\n    return 0\n  endif\n"
        "  return Depth(n - 1) + 1\nendfunc\nprocedure Main\n"
        "  StatusMessage(IntToStr(Depth(1990)), 0)\nendproc\n");
    const EventRun run = f.fire(QStringLiteral("On_TimerPlay"), script);
    EXPECT_EQ(run.outcome, EventRun::Ran) << run.text.toStdString();
    EXPECT_EQ(f.host.calls, QStringList{QStringLiteral("StatusMessage 1990 | 0")});
}

TEST(EventScripts, ExecuteSplitsWithoutAShellAndOpensUrlsInTheBrowser)
{
    Fixture f;
    const QString script =
        QStringLiteral("procedure Main\n"
                       "  Execute('player --volume 3 \"My Song.ogg\"; rm -rf x')\n"
                       "  Execute('https://example.org/a b')\n"
                       "  Execute('://nothing')\n"
                       "  Execute('')\n"
                       "  Weblink(2)\n"
                       "  SetIcon('/tmp/none.ico', 1)\n"
                       "endproc\n");
    EXPECT_EQ(f.fire(QStringLiteral("On_ItemPlay"), script).outcome, EventRun::Ran);
    EXPECT_EQ(f.host.calls,
              QStringList({QStringLiteral("Execute player | --volume | 3 | My Song.ogg; | rm | "
                                          "-rf | x"),
                           QStringLiteral("OpenUrl https://example.org/a"),
                           QStringLiteral("Execute ://nothing"), QStringLiteral("Weblink 2"),
                           QStringLiteral("SetIcon /tmp/none.ico | 1")}));
}

TEST(EventScripts, SetWallpaperLooksForBareNamesInTheDataFolder)
{
    TestHome home;
    QFile picture(home.file(QStringLiteral("sky.png")));
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.write("png");
    picture.close();
    QFile text(home.file(QStringLiteral("notes.txt")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.close();

    Fixture f;
    f.runner.setDataFolder(home.path());
    const QString script = QStringLiteral("procedure Main\n  SetWallpaper('sky.png')\n"
                                          "  SetWallpaper('%1')\n  SetWallpaper('notes.txt')\n"
                                          "  SetWallpaper('gone.bmp')\nendproc\n")
                               .arg(home.file(QStringLiteral("sky.png")));
    EXPECT_EQ(f.fire(QStringLiteral("On_TimerPlay"), script).outcome, EventRun::Ran);
    const QString wallpaper =
        QStringLiteral("SetWallpaper ") + home.file(QStringLiteral("sky.png"));
    EXPECT_EQ(f.host.calls, QStringList({wallpaper, wallpaper}));
    ASSERT_EQ(f.host.errors.size(), 2);
    EXPECT_EQ(f.host.errors.at(1),
              QStringLiteral("SetWallpaper(): The wallpaper file\n\n") +
                  home.file(QStringLiteral("gone.bmp")) +
                  QStringLiteral("\n\nwas not found, or was not a picture file "
                                 "(.BMP, .PNG or .JPG)."));
}

TEST(EventScripts, InputAndOutputBoxesAnswerOrCancel)
{
    Fixture f;
    f.host.inputs << QString(300, QLatin1Char('x'));
    f.host.confirms << true;
    const QString script =
        QStringLiteral("procedure Main\n  var\n    s : string;\n  endvar\n"
                       "  s := InputBox('Name?', 'Ann')\n  StatusMessage(IntToStr(Length(s)), 0)\n"
                       "  s := InputBox('Again?', 'Bob')\n  StatusMessage('[' + s + ']', 0)\n"
                       "  if OutputBox('One') then StatusMessage('yes', 0) endif\n"
                       "  if not OutputBox('Two') then StatusMessage('no', 0) endif\n"
                       "  readln(s)\n  StatusMessage('read [' + s + ']', 0)\nendproc\n");
    const EventRun run = f.fire(QStringLiteral("On_TimerPlay"), script);
    EXPECT_EQ(run.outcome, EventRun::Ran) << run.text.toStdString();
    EXPECT_EQ(f.host.calls,
              QStringList(
                  {QStringLiteral("InputBox Name? | Ann"), QStringLiteral("StatusMessage 255 | 0"),
                   QStringLiteral("InputBox Again? | Bob"), QStringLiteral("StatusMessage [] | 0"),
                   QStringLiteral("OutputBox One"), QStringLiteral("StatusMessage yes | 0"),
                   QStringLiteral("OutputBox Two"), QStringLiteral("StatusMessage no | 0"),
                   QStringLiteral("StatusMessage read [] | 0")}));
}

TEST(EventScripts, LibraryDialogsAreAnsweredOnTheFiringThread)
{
    Fixture f;
    ScriptedResponder dialogs(QStringList{QStringLiteral("Lena")});
    f.runner.setInteractivePort(&dialogs);
    const QString script = QStringLiteral(
        "procedure Main\n"
        "  if Answer('Who?') then StatusMessage(It, 0) endif\n"
        "  if not Answer('Again?') then StatusMessage('cancelled', 0) endif\nendproc\n");
    const EventRun run = f.fire(QStringLiteral("On_TimerPlay"), script);
    EXPECT_EQ(run.outcome, EventRun::Ran) << run.text.toStdString();
    EXPECT_EQ(f.host.calls, QStringList({QStringLiteral("StatusMessage Lena | 0"),
                                         QStringLiteral("StatusMessage cancelled | 0")}));
}

TEST(EventScripts, ScriptsOfAlbumsFromElsewhereWaitForConsent)
{
    RecordingHost host;
    AlbumInfo album;
    album.artist = QStringLiteral("Band");
    album.title = QStringLiteral("Songs");
    album.flags = AlbumFlagRepeat | AlbumFlagScriptsHeld;
    const QString script = QStringLiteral("procedure Main\nendproc\n");

    EXPECT_TRUE(mayRunAlbumScript(album, QStringLiteral(" \n"), host));
    EXPECT_EQ(host.asked, 0);

    bool allowed = true;
    EXPECT_FALSE(mayRunAlbumScript(album, script, host, &allowed));
    EXPECT_FALSE(allowed);
    EXPECT_EQ(album.flags, AlbumFlagRepeat | AlbumFlagScriptsHeld);
    EXPECT_EQ(host.calls, QStringList{QStringLiteral("AllowScript Band - Songs")});

    host.consents << true;
    EXPECT_TRUE(mayRunAlbumScript(album, script, host, &allowed));
    EXPECT_TRUE(allowed);
    EXPECT_EQ(album.flags, AlbumFlagRepeat | AlbumFlagScriptsAllowed);
    EXPECT_TRUE(mayRunAlbumScript(album, script, host, &allowed));
    EXPECT_FALSE(allowed);
    EXPECT_EQ(host.asked, 2);

    AlbumInfo fromDatabase;
    fromDatabase.source = SourceInternetCddb;
    EXPECT_TRUE(albumScriptsNeedConsent(fromDatabase));
    AlbumInfo own;
    own.source = SourceManual;
    EXPECT_FALSE(albumScriptsNeedConsent(own));
}
