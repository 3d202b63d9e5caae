#pragma once

#include "collection/AlbumGrouping.h"

#include <QWidget>

class QMenu;
class QToolButton;

namespace Orbisong {

class MemberListModel;
class MemberListView;

// The left panel of the "General" page: the button that names the grouping, with its menu,
// over the member buttons and their menu "&New", "&Open", "&Delete".
class MemberColumn : public QWidget
{
    Q_OBJECT

public:
    explicit MemberColumn(QWidget *parent = nullptr);

    void setGrouping(GroupField field);
    MemberListModel *model() const { return m_model; }
    MemberListView *view() const { return m_view; }
    QToolButton *headerButton() const { return m_header; }
    QMenu *groupingMenu() const { return m_groupingMenu; }
    QMenu *memberMenu() const { return m_memberMenu; }
    // The chosen member's row, -1 when none.
    int currentRow() const;
    void selectRow(int row);

signals:
    void groupingChosen(GroupField field);
    void memberChosen(int row);
    void newRequested();
    void deleteRequested(int row);
    void albumsDropped(int row, const QStringList &albumIds);

private:
    void buildMenus();

    QToolButton *m_header;
    MemberListModel *m_model;
    MemberListView *m_view;
    QMenu *m_groupingMenu = nullptr;
    QMenu *m_memberMenu = nullptr;
    int m_menuRow = -1;
};

} // namespace Orbisong
