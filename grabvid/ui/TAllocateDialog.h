#pragma once

#include <QDialog>

class QSpinBox;

namespace Orbisong {

// "Allocate Capture File Space": shows the free space of the capture file's disk and asks
// for the capture file's size, both in megabytes.
class TAllocateDialog : public QDialog
{
    Q_OBJECT

public:
    // `freeMegabytes` is -1 when the free space could not be measured.
    TAllocateDialog(qint64 freeMegabytes, qint64 fileMegabytes, QWidget *parent = nullptr);
    qint64 megabytes() const;

private:
    QSpinBox *m_size;
};

} // namespace Orbisong
