#pragma once

#include <QListView>

namespace Orbisong {

// The scrolling column of member buttons. Albums dragged from the album list drop onto a
// button.
class MemberListView : public QListView
{
    Q_OBJECT

public:
    explicit MemberListView(QWidget *parent = nullptr);

signals:
    void albumsDropped(int row, const QStringList &albumIds);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

} // namespace Orbisong
