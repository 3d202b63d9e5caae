#pragma once

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
};

} // namespace Orbisong
