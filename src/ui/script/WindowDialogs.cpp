#include "ui/script/WindowDialogs.h"

#include "ui/script/TQLNForm.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace Orbisong {

namespace {

// The identifiers scripts compare the result with.
enum ButtonId { IdOk = 1, IdCancel, IdAbort, IdRetry, IdIgnore, IdYes, IdNo };

struct ButtonSet
{
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton escape;
};

ButtonSet buttonsOf(int flags)
{
    switch (flags & 0xF) {
    case 1:
        return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel};
    case 2:
        return {QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Abort};
    case 3:
        return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel};
    case 4:
        return {QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
    case 5:
        return {QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Cancel};
    default:
        return {QMessageBox::Ok, QMessageBox::Ok};
    }
}

QMessageBox::Icon iconOf(int flags)
{
    switch (flags & 0xF0) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int idOf(int button)
{
    switch (button) {
    case QMessageBox::Cancel:
        return IdCancel;
    case QMessageBox::Abort:
        return IdAbort;
    case QMessageBox::Retry:
        return IdRetry;
    case QMessageBox::Ignore:
        return IdIgnore;
    case QMessageBox::Yes:
        return IdYes;
    case QMessageBox::No:
        return IdNo;
    default:
        return IdOk;
    }
}

} // namespace

int WindowDialogs::messageBox(const QString &text, const QString &title, int flags)
{
    const ButtonSet set = buttonsOf(flags);
    QMessageBox box(iconOf(flags), title, text, set.buttons, m_parent);
    box.setEscapeButton(set.escape);
    return idOf(box.exec());
}

bool WindowDialogs::answer(const QString &prompt, QString *text)
{
    bool ok = false;
    const QString entered = QInputDialog::getText(m_parent, QStringLiteral("Answer"), prompt,
                                                  QLineEdit::Normal, *text, &ok);
    if (ok)
        *text = entered;
    return ok;
}

int WindowDialogs::choose(const QString &prompt, const QStringList &items, int preselected)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(m_parent, QStringLiteral("Choose"), prompt, items,
                                                 qMax(0, preselected), false, &ok);
    return ok ? int(items.indexOf(chosen)) : -1;
}

void WindowDialogs::beep()
{
    QApplication::beep();
}

int WindowDialogs::showForm(ScriptForm &form, ScriptFormHandler &handler)
{
    TQLNForm window(form, handler, m_parent);
    m_forms << &window;
    const int code = window.exec() == QDialog::Accepted ? 1 : 2;
    window.collect(form);
    m_forms.removeLast();
    return code;
}

bool WindowDialogs::readControl(int id, ScriptFormControl *control)
{
    return !m_forms.isEmpty() && m_forms.last()->readControl(id, control);
}

void WindowDialogs::writeControl(const ScriptFormControl &control)
{
    if (!m_forms.isEmpty())
        m_forms.last()->writeControl(control);
}

} // namespace Orbisong
