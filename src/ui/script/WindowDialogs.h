#pragma once

#include "script/InteractivePort.h"

#include <QList>

class QWidget;

namespace Orbisong {
class TQLNForm;
}

namespace Orbisong {

// The dialogs of the interactive library routines as windows of the player.
class WindowDialogs : public InteractivePort
{
public:
    explicit WindowDialogs(QWidget *parent = nullptr) : m_parent(parent) {}

    int messageBox(const QString &text, const QString &title, int flags) override;
    bool answer(const QString &prompt, QString *text) override;
    int choose(const QString &prompt, const QStringList &items, int preselected) override;
    void beep() override;
    int showForm(ScriptForm &form, ScriptFormHandler &handler) override;
    bool readControl(int id, ScriptFormControl *control) override;
    void writeControl(const ScriptFormControl &control) override;

private:
    QWidget *m_parent;
    QList<TQLNForm *> m_forms; // the innermost shown last
};

} // namespace Orbisong
