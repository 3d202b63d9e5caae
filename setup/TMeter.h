#pragma once

#include <QWidget>

namespace Orbisong {

// The progress meter: a bar filled to the position's share of the range, with the share
// written over it as a percentage.
class TMeter : public QWidget
{
    Q_OBJECT
public:
    explicit TMeter(QWidget *parent = nullptr);

    void setRange(int range);
    void setPosition(int position);
    int percent() const;
    QString text() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_range = 100;
    int m_position = 0;
};

} // namespace Orbisong
