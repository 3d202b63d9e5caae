#pragma once

#include "script/InteractivePort.h"

#include <QList>

#include <functional>

namespace Orbisong {

// Answers the interactive routines from lines of text, one line per dialog: a number or a
// button name for a message box, the text for ANSWER, an index or an item text for CHOOSE.
// For a script window, a line of steps separated by ";": "N=text" types into control N,
// "N=true" or "N=false" sets check box N, "click N" presses control N, and "ok" or "cancel"
// closes the window (the end of the line is Cancel). No line left means Cancel. Every
// dialog shown is recorded.
class ScriptedResponder : public InteractivePort
{
public:
    using LineSource = std::function<bool(QString *line)>;

    explicit ScriptedResponder(LineSource source) : m_source(std::move(source)) {}
    explicit ScriptedResponder(const QStringList &lines);

    int messageBox(const QString &text, const QString &title, int flags) override;
    bool answer(const QString &prompt, QString *text) override;
    int choose(const QString &prompt, const QStringList &items, int preselected) override;
    void beep() override { m_shown << QStringLiteral("beep"); }
    int showForm(ScriptForm &form, ScriptFormHandler &handler) override;
    bool readControl(int id, ScriptFormControl *control) override;
    void writeControl(const ScriptFormControl &control) override;

    const QStringList &shown() const { return m_shown; }

private:
    LineSource m_source;
    QStringList m_lines;
    QStringList m_shown;
    QList<ScriptForm *> m_forms; // the innermost shown last
};

} // namespace Orbisong
