#include "MessagePort.h"

#include <QMessageBox>

namespace Orbisong {

void BoxMessagePort::show(Icon icon, const QString &title, const QString &text)
{
    const QMessageBox::Icon boxIcon = icon == Error     ? QMessageBox::Critical
                                      : icon == Warning ? QMessageBox::Warning
                                                        : QMessageBox::Information;
    QMessageBox box(boxIcon, title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

} // namespace Orbisong
