#pragma once

#include <QListWidget>

namespace Orbisong {

// The print wizard's "these albums" list: albums dragged from the collection window are
// added once each, in the order dropped; Delete removes the selected ones.
class PrintAlbumDropList : public QListWidget
{
    Q_OBJECT

public:
    explicit PrintAlbumDropList(QWidget *parent = nullptr);

    // Adds albums by ID with their shown text; IDs already listed are skipped.
    void addAlbums(const QStringList &ids, const QStringList &texts);
    QStringList albumIds() const;

signals:
    // Albums were dropped: the owner looks up their texts and calls addAlbums.
    void albumsDropped(const QStringList &ids);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace Orbisong
