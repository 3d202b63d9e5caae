#pragma once

#include <QStyledItemDelegate>

namespace Orbisong {

// Draws a row of the CDDB server list: the row number in a grey box, the host in bold with
// its protocol, and the description right-aligned. The item's data roles hold the fields.
class ServerItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    enum Role { HostRole = Qt::UserRole + 1, ProtocolRole, DescriptionRole };

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace Orbisong
