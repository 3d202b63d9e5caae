#pragma once

#include "script/ScriptForm.h"

#include <QString>
#include <QStringList>

namespace Orbisong {

// Where the interactive routines of scripts show their dialogs: windows in the program, a
// scripted responder in tests and in orbisong-cli.
class InteractivePort
{
public:
    virtual ~InteractivePort() = default;
    // Returns the identifier of the button pressed (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7 ...).
    virtual int messageBox(const QString &text, const QString &title, int flags) = 0;
    // The "Answer" dialog: true and the entered text on OK.
    virtual bool answer(const QString &prompt, QString *text) = 0;
    // The "Choose" dialog: the 0-based index of the chosen item, -1 on Cancel.
    virtual int choose(const QString &prompt, const QStringList &items, int preselected) = 0;
    virtual void beep() {}
    // Shows a script window modally and returns 1 for OK, 2 for Cancel; the controls of `form`
    // then hold what was entered. Push buttons and check boxes with a routine call `handler`.
    virtual int showForm(ScriptForm &form, ScriptFormHandler &handler)
    {
        Q_UNUSED(form);
        Q_UNUSED(handler);
        return 2;
    }
    // The live state of control `id` of the innermost shown script window; false when no
    // window is shown or it has no such control.
    virtual bool readControl(int id, ScriptFormControl *control)
    {
        Q_UNUSED(id);
        Q_UNUSED(control);
        return false;
    }
    // Gives that control the text, check, enabled and visible state of `control`.
    virtual void writeControl(const ScriptFormControl &control) { Q_UNUSED(control); }
};

} // namespace Orbisong
