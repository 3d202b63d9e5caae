#include "ui/collection/MemberListView.h"

#include "ui/collection/AlbumListModel.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>

namespace Orbisong {

namespace {

// Paints each member as a push button, pressed when it is the chosen one. The text is drawn
// as it is, so an "&" in a value shows as an ampersand.
class MemberButtonDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionButton button;
        button.rect = option.rect.adjusted(1, 1, -1, -1);
        button.state = option.state & (QStyle::State_Enabled | QStyle::State_MouseOver);
        button.state |=
            (option.state & QStyle::State_Selected) ? QStyle::State_Sunken : QStyle::State_Raised;
        button.palette = option.palette;
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_PushButtonBevel, &button, painter, widget);
        const QString text = painter->fontMetrics().elidedText(
            index.data().toString(), Qt::ElideRight, button.rect.width() - 8);
        painter->drawText(button.rect.adjusted(4, 0, -4, 0), Qt::AlignCenter, text);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return {option.rect.width(), option.fontMetrics.height() + 12};
    }
};

} // namespace

MemberListView::MemberListView(QWidget *parent) : QListView(parent)
{
    setObjectName(QStringLiteral("MemberList"));
    setItemDelegate(new MemberButtonDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

void MemberListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(AlbumListModel::mimeType()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void MemberListView::dragMoveEvent(QDragMoveEvent *event)
{
    const bool onMember = indexAt(event->position().toPoint()).isValid();
    if (onMember && event->mimeData()->hasFormat(AlbumListModel::mimeType()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void MemberListView::dropEvent(QDropEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    const QByteArray ids = event->mimeData()->data(AlbumListModel::mimeType());
    if (!index.isValid() || ids.isEmpty()) {
        event->ignore();
        return;
    }
    // Copy, not move: the albums stay in the collection, only their field changes, and the
    // list removes them itself when the change arrives.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit albumsDropped(index.row(),
                       QString::fromUtf8(ids).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
}

} // namespace Orbisong
