#include "TVideoDisplayDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace Orbisong {

TVideoDisplayDialog::TVideoDisplayDialog(bool scaled, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Video Display"));
    m_scaled = new QCheckBox(tr("Scale the picture to the window"), this);
    m_scaled->setChecked(scaled);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_scaled);
    layout->addWidget(buttons);
}

bool TVideoDisplayDialog::scaled() const
{
    return m_scaled->isChecked();
}

} // namespace Orbisong
