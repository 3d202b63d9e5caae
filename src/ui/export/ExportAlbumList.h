#pragma once

#include <QListWidget>

namespace Orbisong {

class Collection;

// The wizard's "these albums" list: filled by dropping albums from the collection window,
// emptied of the selected ones by Delete. Each row keeps its album ID.
class ExportAlbumList : public QListWidget
{
    Q_OBJECT

public:
    explicit ExportAlbumList(const Collection &collection, QWidget *parent = nullptr);

    // Appends a row per ID the collection knows, repeats included.
    void addAlbums(const QStringList &ids);
    QStringList albumIds() const;
    void setAlbumIds(const QStringList &ids);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    const Collection &m_collection;
};

} // namespace Orbisong
