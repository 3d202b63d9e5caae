#include "TMeter.h"

#include <QPainter>

namespace Orbisong {

TMeter::TMeter(QWidget *parent) : QWidget(parent)
{
}

void TMeter::setRange(int range)
{
    m_range = std::max(range, 1);
    update();
}

void TMeter::setPosition(int position)
{
    m_position = std::clamp(position, 0, m_range);
    update();
}

int TMeter::percent() const
{
    return int(qint64(m_position) * 100 / m_range);
}

QString TMeter::text() const
{
    return QString::asprintf("%d%%", percent());
}

QSize TMeter::sizeHint() const
{
    return {300, fontMetrics().height() + 8};
}

void TMeter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(frame, palette().base());
    QRect filled = frame;
    filled.setWidth(int(qint64(frame.width()) * m_position / m_range));
    painter.fillRect(filled, palette().highlight());
    painter.setPen(palette().text().color());
    painter.drawRect(frame);
    painter.drawText(frame, Qt::AlignCenter, text());
}

} // namespace Orbisong
