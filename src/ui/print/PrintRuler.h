#pragma once

#include <QWidget>

namespace Orbisong {

// A ruler beside the template editor's paper: inch marks with numbers, quarter-inch ticks,
// following the paper's zoom and scrolling.
class PrintRuler : public QWidget
{
    Q_OBJECT

public:
    explicit PrintRuler(Qt::Orientation orientation, QWidget *parent = nullptr);

    // `origin` is where inch 0 lies in the ruler's pixels.
    void setScale(double pixelsPerInch, double origin);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Qt::Orientation m_orientation;
    double m_scale = 48;
    double m_origin = 0;
};

} // namespace Orbisong
