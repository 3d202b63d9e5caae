#pragma once

#include <QLineEdit>

namespace Orbisong {

// A script window's an edit box, carrying the identifier the script's control routines use.
class TQLNEdit : public QLineEdit
{
    Q_OBJECT

public:
    TQLNEdit(int id, const QString &caption, QWidget *parent);

    int controlId() const { return m_id; }

private:
    int m_id;
};

} // namespace Orbisong
