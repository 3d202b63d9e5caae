#include "PreviewWidget.h"

#include <QPainter>

namespace Orbisong {

PreviewWidget::PreviewWidget(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 120);
}

void PreviewWidget::setScaled(bool scaled)
{
    m_scaled = scaled;
    update();
}

void PreviewWidget::setPlaceholder(const QString &text)
{
    m_placeholder = text;
    update();
}

QSize PreviewWidget::sizeHint() const
{
    return m_frame.isNull() ? QSize(320, 240) : m_frame.size();
}

void PreviewWidget::showFrame(const QImage &frame)
{
    m_frame = frame;
    update();
}

void PreviewWidget::clearFrame()
{
    m_frame = {};
    update();
}

void PreviewWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(32, 32, 32));
    if (m_frame.isNull()) {
        painter.setPen(QColor(200, 200, 200));
        painter.drawText(rect(), Qt::AlignCenter, m_placeholder);
        return;
    }
    QSize size = m_frame.size();
    if (m_scaled)
        size.scale(this->size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), size);
    target.moveCenter(rect().center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_frame);
}

} // namespace Orbisong
