#pragma once

#include "print/PrintTemplate.h"

#include <QWidget>

namespace Orbisong {

// The template editor's paper: the printable area, header and footer bands and the areas
// with their flow numbers, at the editor's zoom. The arrow tool selects, moves and resizes
// (areas by their lower right corner, header and footer by their inner edge), the area tool
// draws new areas.
class PrintPageView : public QWidget
{
    Q_OBJECT

public:
    enum Tool { ArrowTool, AreaTool };
    // What is selected: an area's index, or one of these.
    static constexpr int NoBlock = -1;
    static constexpr int HeaderBlock = -2;
    static constexpr int FooterBlock = -3;

    PrintPageView(PrintTemplate &tpl, QWidget *parent = nullptr);

    // Paper and printable area in inches.
    void setPaper(const QSizeF &paper, const QRectF &printable);
    QSizeF paper() const { return m_paper; }
    QRectF printable() const { return m_printable; }
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }
    void setTool(Tool tool) { m_tool = tool; }
    int selected() const { return m_selected; }
    void select(int block);
    // The block's rectangle in inches; header and footer span the printable width.
    QRectF blockRect(int block) const;
    // Pixels of the view per inch.
    double scale() const;
    // Brings header and footer to the printable width, the header to the top and the footer
    // to the bottom, and orders the areas for the template's flow.
    void normalize();
    void deleteSelected();

    QSize sizeHint() const override;

signals:
    void changed();
    void selectionChanged(int block);
    void pointerMoved(const QPointF &inches);
    void propertiesRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    enum Drag { NoDrag, Drawing, Moving, Resizing, HeaderEdge, FooterEdge };

    QRectF toView(const QRectF &inches) const;
    QPointF toInches(const QPointF &view) const;
    int blockAt(const QPointF &view) const;
    Drag edgeAt(const QPointF &view) const;

    PrintTemplate &m_template;
    QSizeF m_paper{8.5, 11};
    QRectF m_printable{0.25, 0.25, 8, 10.5};
    double m_zoom = 0.5;
    Tool m_tool = ArrowTool;
    int m_selected = NoBlock;
    Drag m_drag = NoDrag;
    QPointF m_start; // inches
    QRectF m_original;
    QRectF m_drawn;
};

} // namespace Orbisong
