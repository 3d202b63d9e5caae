#include "ui/collection/ConversionProgressDialog.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace Orbisong {

ConversionProgressDialog::ConversionProgressDialog(QWidget *parent) : m_parent(parent)
{
}

ConversionProgressDialog::~ConversionProgressDialog() = default;

void ConversionProgressDialog::begin(int files)
{
    // The conversion cannot be stopped half-way without losing the albums already moved, so
    // the window offers no cancel button.
    m_dialog = std::make_unique<QProgressDialog>(
        QStringLiteral("Orbisong is converting your collection to Orbisong 4.0 format."), QString(),
        0, files, m_parent);
    m_dialog->setWindowTitle(QStringLiteral("Converting Collection"));
    m_dialog->setMinimumDuration(0);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0);
    m_dialog->show();
    QCoreApplication::processEvents();
}

void ConversionProgressDialog::advance(int done)
{
    if (!m_dialog)
        return;
    m_dialog->setValue(done);
    QCoreApplication::processEvents();
}

void ConversionProgressDialog::end()
{
    m_dialog.reset();
}

} // namespace Orbisong
