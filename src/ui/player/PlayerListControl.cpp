#include "ui/player/PlayerListControl.h"

#include "collection/Settings.h"
#include "player/PlayerEngine.h"
#include "player/StepListEditor.h"
#include "ui/player/PlayerPlaylistPanel.h"
#include "ui/player/PlayerView.h"
#include "ui/player/TPlaylistList.h"

#include <QDropEvent>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>

namespace Orbisong {

PlayerListControl::PlayerListControl(Settings &settings, PlayerPlaylistPanel *panel,
                                     PlayerView *view, QObject *parent)
    : QObject(parent), m_settings(settings), m_panel(panel), m_view(view)
{
    TPlaylistList *list = panel->list();
    connect(list, &QListWidget::itemDoubleClicked, this, [this, list](QListWidgetItem *item) {
        // Values other than these two leave the double-click without effect.
        if (m_settings.playlistDoubleClick == 1)
            emit playlistEditRequested(QStringLiteral("step"));
        else if (m_settings.playlistDoubleClick == 0)
            playRow(list->row(item));
    });
    connect(list, &TPlaylistList::playRequested, this, &PlayerListControl::playRow);
    connect(list, &TPlaylistList::deleteRequested, this, &PlayerListControl::deleteRow);
    connect(list, &TPlaylistList::rowMoved, this, &PlayerListControl::moveRow);
    connect(list, &TPlaylistList::trackFilesDropped, this, &PlayerListControl::dropTrackFiles);
    connect(panel->tabs(), &QTabBar::tabBarClicked, this, &PlayerListControl::selectTab);
    const std::pair<PlayerPlaylistPanel::Button, const char *> edits[] = {
        {PlayerPlaylistPanel::Add, "add"},
        {PlayerPlaylistPanel::Edit, "edit"},
        {PlayerPlaylistPanel::Remove, "remove"}};
    for (const auto &[button, what] : edits) {
        const QString request = QString::fromLatin1(what);
        connect(panel->button(button), &QToolButton::clicked, this,
                [this, request] { emit playlistEditRequested(request); });
    }
    for (QWidget *target : {static_cast<QWidget *>(panel->tabs()),
                            static_cast<QWidget *>(panel->button(PlayerPlaylistPanel::Remove))}) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }
}

bool PlayerListControl::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto *drag = static_cast<QDropEvent *>(event);
    QTabBar *tabs = m_panel->tabs();
    const int tab = watched == tabs ? tabs->tabAt(drag->position().toPoint()) : -1;
    // Only the list's own rows, and only onto a custom playlist's tab: "Album" is built in.
    if (drag->source() != m_panel->list() || (watched == tabs && tab <= 0)) {
        drag->ignore();
        return true;
    }
    // A copy, so that the list does not remove the rows it dragged.
    drag->setDropAction(Qt::CopyAction);
    drag->accept();
    if (type == QEvent::Drop) {
        if (watched == tabs)
            dropStepsOnTab(tab);
        else
            dropStepsOnRemove();
    }
    return true;
}

QList<int> PlayerListControl::selectedRows() const
{
    QList<int> rows;
    TPlaylistList *list = m_panel->list();
    for (QListWidgetItem *item : list->selectedItems())
        rows.append(list->row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void PlayerListControl::dropStepsOnTab(int index)
{
    const QList<int> rows = selectedRows();
    if (index > 0 && index < m_panel->tabs()->count() && !rows.isEmpty())
        emit stepsDroppedOnPlaylist(m_panel->tabs()->tabText(index), rows);
}

void PlayerListControl::dropStepsOnRemove()
{
    const QList<int> rows = selectedRows();
    if (!rows.isEmpty())
        emit stepsDroppedOnRemove(rows);
}

TPlaylistList *PlayerListControl::list() const
{
    return m_panel->list();
}

void PlayerListControl::updateDropTarget()
{
    m_panel->list()->setAcceptTrackFiles(m_engine && m_engine->audioPresent() &&
                                         m_engine->currentPlaylist() !=
                                             m_panel->tabs()->tabText(0));
}

void PlayerListControl::playRow(int row)
{
    if (!m_engine || row < 0 || row >= m_engine->list().size())
        return;
    m_engine->playStep(row);
    m_view->refreshAll();
}

void PlayerListControl::deleteRow(int row)
{
    if (!m_engine || !StepListEditor(*m_engine).deleteStep(row))
        return;
    m_view->refreshList();
    TPlaylistList *list = m_panel->list();
    list->setCurrentRow(qMin(row, list->count() - 1));
    m_view->refreshSummary();
    m_view->refreshDisplay();
    m_view->refreshButtons();
}

void PlayerListControl::moveRow(int from, int to)
{
    if (!m_engine || !StepListEditor(*m_engine).moveStep(from, to))
        return;
    m_view->refreshList();
    m_panel->list()->setCurrentRow(to);
    m_view->refreshDisplay();
    m_view->refreshButtons();
}

void PlayerListControl::dropTrackFiles(const QStringList &paths, int beforeRow)
{
    if (m_engine && StepListEditor(*m_engine).insertTrackFiles(paths, beforeRow) > 0)
        m_view->refreshAll();
}

void PlayerListControl::addToFavorites(const QList<int> &rows)
{
    if (m_engine && StepListEditor(*m_engine).addToFavorites(rows, m_login))
        m_view->refreshAll();
}

void PlayerListControl::shuffle()
{
    if (m_engine && StepListEditor(*m_engine).shuffle())
        m_view->refreshAll();
}

void PlayerListControl::selectTab(int index)
{
    if (!m_engine || index < 0 || index >= m_panel->tabs()->count())
        return;
    StepListEditor(*m_engine).switchTo(m_panel->tabs()->tabText(index));
    m_panel->list()->setAcceptTrackFiles(m_engine->audioPresent() && index != 0);
    m_view->refreshAll();
}

} // namespace Orbisong
