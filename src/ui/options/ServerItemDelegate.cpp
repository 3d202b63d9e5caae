#include "ui/options/ServerItemDelegate.h"

#include <QApplication>
#include <QPainter>

namespace Orbisong {

namespace {
constexpr int NumberWidth = 26;
constexpr int Gap = 4;
} // namespace

void ServerItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &palette = option.palette;
    painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
    const QRect numberBox(option.rect.left(), option.rect.top(), NumberWidth, option.rect.height());
    painter->fillRect(numberBox.adjusted(1, 1, -1, -1), QColor(0xC0, 0xC0, 0xC0));
    painter->setPen(Qt::black);
    painter->drawText(numberBox, Qt::AlignCenter, QString::number(index.row() + 1));

    painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
    QRect text = option.rect.adjusted(NumberWidth + Gap, 0, -Gap, 0);
    const QString host = index.data(HostRole).toString().section(QLatin1Char('/'), 0, 0);
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, host);
    const int hostWidth = QFontMetrics(bold).horizontalAdvance(host);
    painter->setFont(option.font);
    const QString protocol = QStringLiteral(" (%1)").arg(index.data(ProtocolRole).toString());
    painter->drawText(text.adjusted(hostWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      protocol);
    const int used = hostWidth + QFontMetrics(option.font).horizontalAdvance(protocol) + Gap;
    painter->drawText(text.adjusted(used, 0, 0, 0), Qt::AlignRight | Qt::AlignVCenter,
                      QFontMetrics(option.font)
                          .elidedText(index.data(DescriptionRole).toString(), Qt::ElideRight,
                                      std::max(0, text.width() - used)));
    painter->restore();
}

QSize ServerItemDelegate::sizeHint(const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), QFontMetrics(option.font).height() + 4));
    return size;
}

} // namespace Orbisong
