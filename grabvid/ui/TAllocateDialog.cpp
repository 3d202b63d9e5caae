#include "TAllocateDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>

namespace Orbisong {

TAllocateDialog::TAllocateDialog(qint64 freeMegabytes, qint64 fileMegabytes, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Allocate Capture File Space"));
    auto *layout = new QFormLayout(this);
    auto *free = new QLabel(tr("%1 MB").arg(freeMegabytes), this);
    free->setObjectName(QStringLiteral("freeSpace"));
    layout->addRow(tr("Space available on Drive"), free);
    m_size = new QSpinBox(this);
    m_size->setSuffix(tr(" MB"));
    // Megabytes above 2^31 would be more than any disk holds; the spin box's int range is ample.
    m_size->setRange(0,
                     int(qBound<qint64>(0, qMax(freeMegabytes, fileMegabytes), qint64(INT_MAX))));
    m_size->setValue(int(qBound<qint64>(0, fileMegabytes, qint64(INT_MAX))));
    layout->addRow(tr("Capture File Size"), m_size);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

qint64 TAllocateDialog::megabytes() const
{
    return m_size->value();
}

} // namespace Orbisong
