#pragma once

#include <QLabel>

namespace Orbisong {

// A script window's a text label, carrying the identifier the script's control routines use.
class TQLNStatic : public QLabel
{
    Q_OBJECT

public:
    TQLNStatic(int id, const QString &caption, QWidget *parent);

    int controlId() const { return m_id; }

private:
    int m_id;
};

} // namespace Orbisong
