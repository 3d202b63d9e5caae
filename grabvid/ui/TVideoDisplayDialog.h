#pragma once

#include <QDialog>

class QCheckBox;

namespace Orbisong {

// The "Video Display" dialog: how the live picture is shown in the window.
class TVideoDisplayDialog : public QDialog
{
    Q_OBJECT

public:
    TVideoDisplayDialog(bool scaled, QWidget *parent = nullptr);
    bool scaled() const;

private:
    QCheckBox *m_scaled;
};

} // namespace Orbisong
