#pragma once

#include "script/ScriptForm.h"

#include <QDialog>
#include <QHash>

namespace Orbisong {

// A script-defined window, built from its description when the script shows it. The
// controls sit where the script placed them; OK and Cancel stand at the right edge.
class TQLNForm : public QDialog
{
    Q_OBJECT

public:
    TQLNForm(const ScriptForm &form, ScriptFormHandler &handler, QWidget *parent = nullptr);

    const QString &windowName() const { return m_name; }
    // The state of control `id` as the window shows it now; false when there is none.
    bool readControl(int id, ScriptFormControl *control) const;
    void writeControl(const ScriptFormControl &control);
    // What the window shows now, written into the controls of `form`.
    void collect(ScriptForm &form) const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void addControl(const ScriptFormControl &control);

    QString m_name;
    ScriptFormHandler &m_handler;
    QHash<int, QWidget *> m_controls;
    bool m_announced = false;
};

} // namespace Orbisong
