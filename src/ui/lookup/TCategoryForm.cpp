#include "ui/lookup/TCategoryForm.h"

#include "cddb/CddbEntry.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace Orbisong {

TCategoryForm::TCategoryForm(const QString &current, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CategoryForm"));
    setWindowTitle(QStringLiteral("CDDB Category"));
    auto *label = new QLabel(
        QStringLiteral("The category specified for this album, '%1', is not valid for CDDB "
                       "submissions. Please choose a category to use for this submission.")
            .arg(current),
        this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("CategoryCombo"));
    for (const QString &category : CddbCategories())
        m_combo->addItem(TitleCase(category));
    m_combo->setCurrentIndex(0);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_combo);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

void TCategoryForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

QString TCategoryForm::chosen() const
{
    return m_combo->currentText().toLower();
}

bool TCategoryForm::ValidateCategory(QWidget *parent, QString *category)
{
    const QString trimmed = category->trimmed();
    if (IsCddbCategory(trimmed)) {
        *category = trimmed.toLower();
        return true;
    }
    TCategoryForm form(*category, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    *category = form.chosen();
    return true;
}

} // namespace Orbisong
