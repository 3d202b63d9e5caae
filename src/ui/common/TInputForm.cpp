#include "ui/common/TInputForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orbisong {

TInputForm::TInputForm(const QString &caption, const QString &prompt, const QString &text,
                       QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    m_prompt = new QLabel(prompt, this);
    m_prompt->setWordWrap(true);
    m_edit = new QLineEdit(text, this);
    m_edit->selectAll();
    m_prompt->setBuddy(m_edit);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

QString TInputForm::text() const
{
    return m_edit->text();
}

bool TInputForm::ask(QWidget *parent, const QString &caption, const QString &prompt, QString *text)
{
    TInputForm form(caption, prompt, *text, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    *text = form.text();
    return true;
}

} // namespace Orbisong
