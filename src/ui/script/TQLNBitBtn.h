#pragma once

#include <QPushButton>

namespace Orbisong {

// A script window's a push button, carrying the identifier the script's control routines use.
class TQLNBitBtn : public QPushButton
{
    Q_OBJECT

public:
    TQLNBitBtn(int id, const QString &caption, QWidget *parent);

    int controlId() const { return m_id; }

private:
    int m_id;
};

} // namespace Orbisong
