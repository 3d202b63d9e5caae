#pragma once

#include <QCheckBox>

namespace Orbisong {

// A script window's a check box, carrying the identifier the script's control routines use.
class TQLNCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    TQLNCheckBox(int id, const QString &caption, QWidget *parent);

    int controlId() const { return m_id; }

private:
    int m_id;
};

} // namespace Orbisong
