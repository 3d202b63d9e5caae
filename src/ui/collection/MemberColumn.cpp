#include "ui/collection/MemberColumn.h"

#include "ui/collection/MemberListModel.h"
#include "ui/collection/MemberListView.h"

#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orbisong {

MemberColumn::MemberColumn(QWidget *parent)
    : QWidget(parent), m_header(new QToolButton), m_model(new MemberListModel(this)),
      m_view(new MemberListView)
{
    m_header->setObjectName(QStringLiteral("GroupingButton"));
    m_header->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_header->setPopupMode(QToolButton::InstantPopup);
    m_header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_view->setModel(m_model);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_header);
    layout->addWidget(m_view, 1);
    buildMenus();

    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    emit memberChosen(current.row());
            });
    connect(m_view, &MemberListView::albumsDropped, this, &MemberColumn::albumsDropped);
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        m_menuRow = m_view->indexAt(pos).row();
        const bool onMember = m_menuRow >= 0;
        const QList<QAction *> actions = m_memberMenu->actions();
        actions.at(1)->setEnabled(onMember);
        actions.at(2)->setEnabled(onMember);
        m_memberMenu->popup(m_view->viewport()->mapToGlobal(pos));
    });
}

void MemberColumn::buildMenus()
{
    m_groupingMenu = new QMenu(this);
    m_groupingMenu->setObjectName(QStringLiteral("GroupingMenu"));
    QAction *heading = m_groupingMenu->addAction(tr("Collections"));
    heading->setEnabled(false);
    m_groupingMenu->addSeparator();
    for (GroupField field : {GroupField::Artist, GroupField::Binder, GroupField::Category,
                             GroupField::Owner, GroupField::Year}) {
        m_groupingMenu->addAction(groupCaption(field), this,
                                  [this, field] { emit groupingChosen(field); });
    }
    m_header->setMenu(m_groupingMenu);

    m_memberMenu = new QMenu(this);
    m_memberMenu->setObjectName(QStringLiteral("MemberMenu"));
    m_memberMenu->addAction(tr("&New"), this, &MemberColumn::newRequested);
    m_memberMenu->addAction(tr("&Open"), this, [this] { selectRow(m_menuRow); });
    m_memberMenu->addAction(tr("&Delete"), this, [this] {
        if (m_menuRow >= 0)
            emit deleteRequested(m_menuRow);
    });
}

void MemberColumn::setGrouping(GroupField field)
{
    m_header->setText(groupCaption(field));
}

int MemberColumn::currentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void MemberColumn::selectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row);
    m_view->scrollTo(index);
    if (m_view->currentIndex() == index)
        emit memberChosen(row);
    else
        m_view->setCurrentIndex(index);
}

} // namespace Orbisong
