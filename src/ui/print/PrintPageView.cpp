#include "ui/print/PrintPageView.h"

#include <QMouseEvent>
#include <QPainter>

namespace Orbisong {

namespace {

constexpr double Margin = 16;       // pixels around the paper
constexpr double EdgeGrip = 4;      // pixels from an edge that grab it
constexpr double MinimumSize = 0.1; // inches

} // namespace

PrintPageView::PrintPageView(PrintTemplate &tpl, QWidget *parent) : QWidget(parent), m_template(tpl)
{
    setMouseTracking(true);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Dark);
}

void PrintPageView::setPaper(const QSizeF &paper, const QRectF &printable)
{
    m_paper = paper;
    m_printable = printable;
    normalize();
    updateGeometry();
    update();
}

void PrintPageView::setZoom(double zoom)
{
    m_zoom = zoom;
    resize(sizeHint());
    updateGeometry();
    update();
}

double PrintPageView::scale() const
{
    return 96.0 * m_zoom;
}

QSize PrintPageView::sizeHint() const
{
    return QSize(int(m_paper.width() * scale() + 2 * Margin),
                 int(m_paper.height() * scale() + 2 * Margin));
}

void PrintPageView::select(int block)
{
    m_selected = block;
    emit selectionChanged(block);
    update();
}

QRectF PrintPageView::blockRect(int block) const
{
    if (block == HeaderBlock)
        return m_template.headerRect;
    if (block == FooterBlock)
        return m_template.footerRect;
    if (block >= 0 && block < m_template.areas.size())
        return m_template.areas.at(block);
    return {};
}

void PrintPageView::normalize()
{
    const double header = m_template.headerRect.height() > 0 ? m_template.headerRect.height() : 1;
    const double footer = m_template.footerRect.height() > 0 ? m_template.footerRect.height() : 1;
    m_template.headerRect =
        QRectF(m_printable.left(), m_printable.top(), m_printable.width(), header);
    m_template.footerRect =
        QRectF(m_printable.left(), m_printable.bottom() - footer, m_printable.width(), footer);
    const QRectF kept = blockRect(m_selected);
    m_template.sortAreas();
    if (m_selected >= 0)
        m_selected = int(m_template.areas.indexOf(kept));
    update();
}

void PrintPageView::deleteSelected()
{
    if (m_selected < 0)
        return;
    m_template.areas.removeAt(m_selected);
    select(NoBlock);
    emit changed();
}

QRectF PrintPageView::toView(const QRectF &inches) const
{
    return QRectF(Margin + inches.left() * scale(), Margin + inches.top() * scale(),
                  inches.width() * scale(), inches.height() * scale());
}

QPointF PrintPageView::toInches(const QPointF &view) const
{
    return QPointF((view.x() - Margin) / scale(), (view.y() - Margin) / scale());
}

int PrintPageView::blockAt(const QPointF &view) const
{
    for (int i = int(m_template.areas.size()) - 1; i >= 0; --i) {
        if (toView(m_template.areas.at(i)).contains(view))
            return i;
    }
    if (m_template.has(PrintTemplate::HasHeader) && toView(m_template.headerRect).contains(view))
        return HeaderBlock;
    if (m_template.has(PrintTemplate::HasFooter) && toView(m_template.footerRect).contains(view))
        return FooterBlock;
    return NoBlock;
}

PrintPageView::Drag PrintPageView::edgeAt(const QPointF &view) const
{
    if (m_template.has(PrintTemplate::HasHeader)) {
        const QRectF r = toView(m_template.headerRect);
        if (qAbs(view.y() - r.bottom()) <= EdgeGrip && view.x() >= r.left() &&
            view.x() <= r.right())
            return HeaderEdge;
    }
    if (m_template.has(PrintTemplate::HasFooter)) {
        const QRectF r = toView(m_template.footerRect);
        if (qAbs(view.y() - r.top()) <= EdgeGrip && view.x() >= r.left() && view.x() <= r.right())
            return FooterEdge;
    }
    if (m_selected >= 0) {
        const QRectF r = toView(m_template.areas.at(m_selected));
        if (QLineF(view, r.bottomRight()).length() <= 2 * EdgeGrip)
            return Resizing;
    }
    return NoDrag;
}

void PrintPageView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(toView(QRectF(QPointF(0, 0), m_paper)), Qt::white);
    p.setPen(QPen(Qt::lightGray, 1, Qt::DashLine));
    p.drawRect(toView(m_printable));
    const auto drawBlock = [&](int block, const QString &caption, const QColor &fill) {
        const QRectF r = toView(blockRect(block));
        p.fillRect(r, fill);
        p.setPen(QPen(block == m_selected ? Qt::blue : Qt::darkGray, block == m_selected ? 2 : 1));
        p.drawRect(r);
        p.drawText(r.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop, caption);
        if (block == m_selected && block >= 0)
            p.fillRect(QRectF(r.bottomRight() - QPointF(4, 4), QSizeF(8, 8)), Qt::blue);
    };
    if (m_template.has(PrintTemplate::HasHeader))
        drawBlock(HeaderBlock, tr("Header"), QColor(230, 240, 255));
    if (m_template.has(PrintTemplate::HasFooter))
        drawBlock(FooterBlock, tr("Footer"), QColor(230, 240, 255));
    for (int i = 0; i < m_template.areas.size(); ++i)
        drawBlock(i, QString::number(i + 1), QColor(255, 250, 225));
    if (m_drag == Drawing) {
        p.setPen(QPen(Qt::blue, 1, Qt::DotLine));
        p.drawRect(toView(m_drawn));
    }
}

void PrintPageView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF at = event->position();
    m_start = toInches(at);
    if (m_tool == AreaTool) {
        m_drag = Drawing;
        m_drawn = QRectF(m_start, QSizeF());
        return;
    }
    m_drag = edgeAt(at);
    if (m_drag == NoDrag) {
        select(blockAt(at));
        m_drag = m_selected >= 0 ? Moving : NoDrag;
    }
    m_original = blockRect(m_selected);
    if (m_drag == HeaderEdge)
        m_original = m_template.headerRect;
    else if (m_drag == FooterEdge)
        m_original = m_template.footerRect;
}

void PrintPageView::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF at = event->position();
    const QPointF inches = toInches(at);
    emit pointerMoved(inches);
    const QPointF delta = inches - m_start;
    switch (m_drag) {
    case NoDrag: {
        const Drag edge = m_tool == ArrowTool ? edgeAt(at) : NoDrag;
        setCursor(edge == HeaderEdge || edge == FooterEdge ? Qt::SizeVerCursor
                  : edge == Resizing                       ? Qt::SizeFDiagCursor
                  : m_tool == AreaTool                     ? Qt::CrossCursor
                                                           : Qt::ArrowCursor);
        return;
    }
    case Drawing:
        m_drawn = QRectF(m_start, inches).normalized();
        break;
    case Moving:
        m_template.areas[m_selected] = m_original.translated(delta);
        break;
    case Resizing:
        m_template.areas[m_selected].setSize(
            QSizeF(qMax(MinimumSize, m_original.width() + delta.x()),
                   qMax(MinimumSize, m_original.height() + delta.y())));
        break;
    case HeaderEdge:
        m_template.headerRect.setHeight(qMax(MinimumSize, m_original.height() + delta.y()));
        break;
    case FooterEdge:
        m_template.footerRect.setTop(
            qMin(m_original.bottom() - MinimumSize, m_original.top() + delta.y()));
        break;
    }
    update();
}

void PrintPageView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_drag == NoDrag)
        return;
    const Drag drag = m_drag;
    m_drag = NoDrag;
    if (drag == Drawing) {
        if (m_drawn.width() < MinimumSize || m_drawn.height() < MinimumSize) {
            update();
            return;
        }
        m_template.areas.append(m_drawn);
        m_selected = int(m_template.areas.size()) - 1;
    } else if (blockRect(m_selected) == m_original && drag != HeaderEdge && drag != FooterEdge) {
        return;
    }
    normalize();
    emit selectionChanged(m_selected);
    emit changed();
}

void PrintPageView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (blockAt(event->position()) != NoBlock)
        emit propertiesRequested();
}

} // namespace Orbisong
