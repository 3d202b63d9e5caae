#include "ui/player/TPlaylistList.h"

#include "player/PlayerText.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QUrl>

namespace Orbisong {

namespace {

class StepDelegate : public QStyledItemDelegate
{
public:
    explicit StepDelegate(TPlaylistList *list) : QStyledItemDelegate(list), m_list(list) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return QSize(100, qMax(20, option.fontMetrics.height() + 6));
    }

    void paint(QPainter *p, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        opt.widget->style()->drawControl(QStyle::CE_ItemViewItem, &opt, p, opt.widget);

        const bool current = index.data(TPlaylistList::CurrentRole).toBool();
        const bool selected = option.state & QStyle::State_Selected;
        p->save();
        const QRect r = option.rect.adjusted(4, 0, -6, 0);
        const QColor text =
            selected ? option.palette.highlightedText().color() : option.palette.text().color();
        if (current) {
            const int cy = r.center().y();
            QPolygon marker;
            marker << QPoint(r.left(), cy - 4) << QPoint(r.left() + 6, cy)
                   << QPoint(r.left(), cy + 4);
            p->setRenderHint(QPainter::Antialiasing);
            p->setPen(Qt::NoPen);
            p->setBrush(m_list->currentColour());
            p->drawPolygon(marker);
        }
        QFont font = option.font;
        font.setBold(current);
        const QFontMetrics plain(option.font);
        const int timeWidth = plain.horizontalAdvance(QStringLiteral("00000:00000:00"));
        const int trackWidth = plain.horizontalAdvance(QStringLiteral("00"));
        const int gap = plain.horizontalAdvance(QStringLiteral("00:00")) / 2;

        const QRect times(r.right() - timeWidth, r.top(), timeWidth, r.height());
        const QRect track(times.left() - gap - trackWidth, r.top(), trackWidth, r.height());
        const QRect title(r.left() + 12, r.top(), track.left() - gap - r.left() - 12, r.height());

        p->setPen(text);
        p->setFont(font);
        p->drawText(
            title, Qt::AlignVCenter | Qt::AlignLeft,
            QFontMetrics(font).elidedText(index.data().toString(), Qt::ElideRight, title.width()));
        p->setFont(option.font);
        QColor dim = text;
        if (!selected)
            dim.setAlphaF(0.6f);
        p->setPen(dim);
        p->drawText(track, Qt::AlignVCenter | Qt::AlignRight,
                    TwoDigits(index.data(TPlaylistList::TrackRole).toInt()));
        p->drawText(times, Qt::AlignVCenter | Qt::AlignRight,
                    FramesToText(index.data(TPlaylistList::StartRole).toInt()) + u' ' +
                        QChar(0x2013) + u' ' +
                        FramesToText(index.data(TPlaylistList::EndRole).toInt()));
        p->restore();
    }

private:
    TPlaylistList *m_list;
};

} // namespace

TPlaylistList::TPlaylistList(QWidget *parent) : QListWidget(parent)
{
    setObjectName(QStringLiteral("PlaylistList"));
    setItemDelegate(new StepDelegate(this));
    setUniformItemSizes(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { emit playRequested(row(item)); });
}

void TPlaylistList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && currentRow() >= 0) {
        emit deleteRequested(currentRow());
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        emit playRequested(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

QStringList TPlaylistList::trackFiles(const QMimeData *mime) const
{
    QStringList paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile() &&
            url.toLocalFile().endsWith(QLatin1String(".cda"), Qt::CaseInsensitive))
            paths.append(url.toLocalFile());
    }
    return paths;
}

void TPlaylistList::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->source() == this) {
        QListWidget::dragEnterEvent(event);
    } else if (m_acceptTrackFiles && !trackFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TPlaylistList::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->source() == this) {
        QListWidget::dragMoveEvent(event);
    } else if (m_acceptTrackFiles && !trackFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TPlaylistList::dropEvent(QDropEvent *event)
{
    const QModelIndex target = indexAt(event->position().toPoint());
    if (event->source() == this) {
        const int from = currentRow();
        int to = target.isValid() ? target.row() : count() - 1;
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
        if (from >= 0 && to >= 0 && from != to)
            emit rowMoved(from, to);
        return;
    }
    const QStringList files = trackFiles(event->mimeData());
    if (!m_acceptTrackFiles || files.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit trackFilesDropped(files, target.isValid() ? target.row() : count());
}

} // namespace Orbisong
