#include "ui/print/PrintRuler.h"

#include <QPainter>

#include <cmath>

namespace Orbisong {

PrintRuler::PrintRuler(Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent), m_orientation(orientation)
{
    setAutoFillBackground(true);
}

void PrintRuler::setScale(double pixelsPerInch, double origin)
{
    m_scale = pixelsPerInch;
    m_origin = origin;
    update();
}

QSize PrintRuler::sizeHint() const
{
    return m_orientation == Qt::Horizontal ? QSize(100, 20) : QSize(24, 100);
}

void PrintRuler::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    const bool horizontal = m_orientation == Qt::Horizontal;
    const int length = horizontal ? width() : height();
    const int depth = horizontal ? height() : width();
    const int first = int(std::floor(-m_origin / m_scale * 4));
    const int last = int(std::ceil((length - m_origin) / m_scale * 4));
    for (int quarter = first; quarter <= last; ++quarter) {
        const double at = m_origin + quarter * m_scale / 4;
        const int tick = quarter % 4 == 0 ? depth : quarter % 2 == 0 ? depth / 2 : depth / 4;
        if (horizontal)
            p.drawLine(QPointF(at, depth - tick), QPointF(at, depth));
        else
            p.drawLine(QPointF(depth - tick, at), QPointF(depth, at));
        if (quarter % 4 == 0 && quarter >= 0) {
            const QString number = QString::number(quarter / 4);
            if (horizontal)
                p.drawText(QPointF(at + 2, depth / 2.0), number);
            else
                p.drawText(QPointF(2, at + 12), number);
        }
    }
}

} // namespace Orbisong
