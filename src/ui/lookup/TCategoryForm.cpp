#include "ui/lookup/TCategoryForm.h"

#include "cddb/CddbEntry.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orbisong {

TCategoryForm::TCategoryForm(const QString &current, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("CDDB Category"));
    auto *label = new QLabel(
        QStringLiteral("The album's category \"%1\" is not a CDDB category. Please choose the "
                       "CDDB category that fits the album best.")
            .arg(current),
        this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    m_list = new QListWidget(this);
    m_list->addItems(CddbCategories());
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    connect(m_list, &QListWidget::itemSelectionChanged, this,
            [this, ok] { ok->setEnabled(!chosen().isEmpty()); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

QString TCategoryForm::chosen() const
{
    const auto selected = m_list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

bool TCategoryForm::ValidateCategory(QWidget *parent, QString *category)
{
    if (IsCddbCategory(*category)) {
        *category = category->toLower();
        return true;
    }
    TCategoryForm form(*category, parent);
    if (form.exec() != QDialog::Accepted || form.chosen().isEmpty())
        return false;
    *category = form.chosen();
    return true;
}

} // namespace Orbisong
