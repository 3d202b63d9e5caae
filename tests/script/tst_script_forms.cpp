#include "ScriptHarness.h"

#include "script/ScriptedResponder.h"

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// A window with an edit box (1), a check box (2) and a button (3) whose routine writes the
// state it finds and changes the edit box.
const QString yesNo = QStringLiteral("function yn(b : boolean) : string\n"
                                     "  if b then return '1' endif\n  return '0'\nendfunc\n");

const QString formScript =
    yesNo + QStringLiteral(
                "procedure Pressed\n"
                "  writeln('text=', DlgGetControlText(1), ' check=', yn(DlgGetControlCheck(2)))\n"
                "  DlgSetControlText(1, 'from button')\n"
                "  DlgDisableControl(3)\n"
                "  writeln('enabled=', yn(DlgIsControlEnabled(3)), ' visible=', "
                "yn(DlgIsControlVisible(3)))\n"
                "endproc\n"
                "procedure Main\n"
                "  var n : integer; s : string; b : boolean; endvar\n"
                "  n := 5\n  s := 'seed'\n  b := true\n"
                "  CreateForm('W', 'Window', 1, 2, 300, 120)\n"
                "  CreateForm('w', 'Redefined', 1, 2, 300, 120)\n"
                "  writeln(AddEditBox('w', 's', target, 10, 10, 100, 20):0)\n"
                "  AddCheckBox('w', 'b', 'flag', 'Flag', 10, 40, 100, 20)\n"
                "  AddPushButton('w', 'Pressed', 'Press', 10, 70, 80, 24)\n"
                "  AddEditBox('w', 'n', 'n', 120, 10, 60, 20)\n"
                "  writeln(yn(FormDialog('W')))\n"
                "  writeln(DlgGetControlText(1), '|', yn(DlgIsControlEnabled(1)))\n"
                "  writeln(s, ' ', n:0)\n"
                "endproc\n");

struct FormRun
{
    ScriptedResponder responder;
    ScriptHarness h;

    FormRun(const QString &target, const QStringList &answers) : responder(answers)
    {
        h.engine.setInteractivePort(&responder);
        h.run(QString(formScript).replace(QStringLiteral("target"), target));
    }
};

} // namespace

TEST(ScriptForms, OkWritesTheEnteredValuesToTheTargets)
{
    FormRun ok(QStringLiteral("'s'"), {QStringLiteral("1=typed;4=42;ok")});
    EXPECT_EQ(ok.h.errors, QStringList());
    EXPECT_EQ(ok.h.output, QStringLiteral("1\n1\n|0\ntyped 42\n"));
    EXPECT_EQ(ok.responder.shown(), QStringList({QStringLiteral("form W|Redefined")}));

    // An unknown target becomes a STRING variable; a check box target a BOOLEAN one.
    ScriptHarness created;
    ScriptedResponder responder(QStringList{QStringLiteral("1=new text;2=true;ok")});
    created.engine.setInteractivePort(&responder);
    EXPECT_TRUE(created.run(
        yesNo + QStringLiteral(
                    "procedure Main\nCreateForm('F', 'F', 0, 0, 200, 90)\n"
                    "AddEditBox('F', '', 'fresh', 0, 0, 50, 20)\n"
                    "AddCheckBox('F', '', 'ticked', 'T', 0, 30, 50, 20)\n"
                    "if FormDialog('F') then writeln(fresh, ' ', yn(ticked)) endif\nendproc\n")));
    EXPECT_EQ(created.errors, QStringList());
    EXPECT_EQ(created.output, QStringLiteral("new text 1\n"));
}

TEST(ScriptForms, CancelChangesNoVariable)
{
    FormRun cancelled(QStringLiteral("'s'"), {QStringLiteral("1=typed;4=42;cancel")});
    EXPECT_EQ(cancelled.h.output, QStringLiteral("1\n0\n|0\nseed 5\n"));

    ScriptHarness none;
    ScriptedResponder responder(QStringList{QStringLiteral("1=x;cancel")});
    none.engine.setInteractivePort(&responder);
    EXPECT_FALSE(none.runMain(QStringLiteral("CreateForm('F', 'F', 0, 0, 200, 90)\n"
                                             "AddEditBox('F', '', 'fresh', 0, 0, 50, 20)\n"
                                             "FormDialog('F')\n writeln(fresh)")));
    EXPECT_TRUE(none.error().contains(QStringLiteral("FRESH"))) << none.error().toStdString();
}

TEST(ScriptForms, ButtonRoutinesRunInsideTheScriptAndSeeTheLiveWindow)
{
    FormRun pressed(QStringLiteral("'s'"), {QStringLiteral("1=typed;2=false;click 3;click 3;ok")});
    EXPECT_EQ(pressed.h.errors, QStringList());
    // The second press finds the button disabled and runs nothing.
    EXPECT_EQ(pressed.h.output, QStringLiteral("1\ntext=typed check=0\nenabled=0 visible=1\n"
                                               "1\n|0\nfrom button 5\n"));
}

TEST(ScriptForms, WrongArgumentsAndUnknownWindows)
{
    ScriptHarness unknown;
    ScriptedResponder responder(QStringList{});
    unknown.engine.setInteractivePort(&responder);
    EXPECT_FALSE(unknown.runMain(QStringLiteral("FormDialog('nothing')")));
    EXPECT_EQ(unknown.error(), QStringLiteral("Screen Specified Not Found."));
    FormRun badTarget(QStringLiteral("12"), {});
    EXPECT_FALSE(badTarget.h.errors.isEmpty());
}
