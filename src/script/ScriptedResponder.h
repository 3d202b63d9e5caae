#pragma once

#include "script/InteractivePort.h"

#include <functional>

namespace Orbisong {

// Answers the interactive routines from lines of text, one line per dialog: a number or a
// button name for a message box, the text for ANSWER, an index or an item text for CHOOSE.
// No line left means Cancel. Every dialog shown is recorded.
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

    const QStringList &shown() const { return m_shown; }

private:
    LineSource m_source;
    QStringList m_lines;
    QStringList m_shown;
};

} // namespace Orbisong
