#include "ui/script/TQLNForm.h"

#include "ui/script/TQLNBitBtn.h"
#include "ui/script/TQLNCheckBox.h"
#include "ui/script/TQLNEdit.h"
#include "ui/script/TQLNStatic.h"

#include <QAbstractButton>
#include <QStyle>

namespace Orbisong {

namespace {

constexpr int ButtonWidth = 80;
constexpr int ButtonHeight = 24;
constexpr int ButtonMargin = 90;

} // namespace

TQLNForm::TQLNForm(const ScriptForm &form, ScriptFormHandler &handler, QWidget *parent)
    : QDialog(parent), m_name(form.name), m_handler(handler)
{
    setWindowTitle(form.caption);
    setGeometry(form.bounds);
    setFixedSize(form.bounds.size());
    for (const ScriptFormControl &control : form.controls)
        addControl(control);
    auto *ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("OK"), this);
    ok->setGeometry(width() - ButtonMargin, 10, ButtonWidth, ButtonHeight);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *cancel =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), tr("Cancel"), this);
    cancel->setGeometry(width() - ButtonMargin, 40, ButtonWidth, ButtonHeight);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TQLNForm::addControl(const ScriptFormControl &control)
{
    QWidget *widget = nullptr;
    const int id = control.id;
    const bool hasRoutine = !control.routine.isEmpty();
    switch (control.kind) {
    case KindPushButton: {
        auto *button = new TQLNBitBtn(id, control.caption, this);
        connect(button, &QPushButton::clicked, this, [this, id] { m_handler.clicked(id); });
        widget = button;
        break;
    }
    case KindEdit:
        widget = new TQLNEdit(id, control.text, this);
        break;
    case KindCheckBox: {
        auto *box = new TQLNCheckBox(id, control.caption, this);
        box->setChecked(control.checked);
        if (hasRoutine)
            connect(box, &QCheckBox::clicked, this, [this, id] { m_handler.clicked(id); });
        widget = box;
        break;
    }
    default:
        widget = new TQLNStatic(id, control.caption, this);
        break;
    }
    widget->setGeometry(control.bounds);
    m_controls.insert(id, widget);
}

bool TQLNForm::readControl(int id, ScriptFormControl *control) const
{
    QWidget *widget = m_controls.value(id);
    if (!widget)
        return false;
    control->id = id;
    control->enabled = widget->isEnabled();
    control->visible = !widget->isHidden();
    if (auto *edit = qobject_cast<TQLNEdit *>(widget))
        control->text = edit->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        control->text = button->text();
    else if (auto *label = qobject_cast<TQLNStatic *>(widget))
        control->text = label->text();
    if (auto *box = qobject_cast<TQLNCheckBox *>(widget))
        control->checked = box->isChecked();
    return true;
}

void TQLNForm::writeControl(const ScriptFormControl &control)
{
    QWidget *widget = m_controls.value(control.id);
    if (!widget)
        return;
    widget->setEnabled(control.enabled);
    widget->setHidden(!control.visible);
    if (auto *edit = qobject_cast<TQLNEdit *>(widget)) {
        edit->setText(control.text);
    } else if (auto *box = qobject_cast<TQLNCheckBox *>(widget)) {
        box->setText(control.text);
        box->setChecked(control.checked);
    } else if (auto *button = qobject_cast<TQLNBitBtn *>(widget)) {
        button->setText(control.text);
    } else if (auto *label = qobject_cast<TQLNStatic *>(widget)) {
        label->setText(control.text);
    }
}

void TQLNForm::collect(ScriptForm &form) const
{
    for (ScriptFormControl &control : form.controls) {
        ScriptFormControl now = control;
        if (readControl(control.id, &now))
            control = now;
    }
}

void TQLNForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The on-show routine sees the window as the user does.
    if (!m_announced) {
        m_announced = true;
        m_handler.shown();
    }
}

} // namespace Orbisong
