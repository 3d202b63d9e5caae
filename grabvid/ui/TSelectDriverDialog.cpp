#include "TSelectDriverDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace Orbisong {

TSelectDriverDialog::TSelectDriverDialog(const QList<CaptureDriverInfo> &drivers, int current,
                                         QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Select a Driver"));
    m_list = new QListWidget(this);
    for (const CaptureDriverInfo &driver : drivers)
        m_list->addItem(driver.name + QStringLiteral(", ") + driver.version);
    m_list->setCurrentRow(qBound(0, current, int(drivers.size()) - 1));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

int TSelectDriverDialog::selectedIndex() const
{
    return m_list->currentRow();
}

} // namespace Orbisong
