#pragma once

#include <QStackedWidget>

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QTableView;

namespace Orbisong {

class AlbumListModel;
struct AlbumIndexNode;

// The album list in its four looks: details in a table, list and icons in a list view. Both
// views share the model and the selection, so switching keeps what is selected.
class AlbumViews : public QStackedWidget
{
    Q_OBJECT

public:
    // The numbers under which the look is stored.
    enum Style { Details = 0, List = 1, LargeIcons = 2, SmallIcons = 3 };

    explicit AlbumViews(AlbumListModel *model, QWidget *parent = nullptr);

    void setStyle(int style);
    Style style() const { return m_style; }
    QTableView *table() const { return m_table; }
    QListView *list() const { return m_list; }
    QAbstractItemView *currentView() const;
    QItemSelectionModel *selection() const { return m_selection; }
    QList<const AlbumIndexNode *> selectedAlbums() const;
    int columnWidth(int column) const;
    // -1 keeps the design width.
    void setColumnWidth(int column, int width);

signals:
    void albumActivated(const AlbumIndexNode *album);
    void deletePressed();
    void menuRequested(const QPoint &globalPos);
    void headerClicked(int column);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void prepare(QAbstractItemView *view);

    AlbumListModel *m_model;
    QTableView *m_table;
    QListView *m_list;
    QItemSelectionModel *m_selection;
    Style m_style = Details;
};

} // namespace Orbisong
