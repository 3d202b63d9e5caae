#pragma once

#include "CaptureTypes.h"

#include <QDialog>
#include <QList>

class QListWidget;

namespace Orbisong {

// "Select a Driver": picks one of several capture drivers.
class TSelectDriverDialog : public QDialog
{
    Q_OBJECT

public:
    TSelectDriverDialog(const QList<CaptureDriverInfo> &drivers, int current,
                        QWidget *parent = nullptr);
    int selectedIndex() const;

private:
    QListWidget *m_list;
};

} // namespace Orbisong
