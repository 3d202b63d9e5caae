#include "ui/collection/CollectionGeneralPage.h"

#include "base/MessageIds.h"
#include "base/MessageText.h"
#include "base/QuestionPort.h"
#include "collection/Collection.h"
#include "collection/CollectionSink.h"
#include "ui/collection/AlbumListModel.h"
#include "ui/collection/AlbumViews.h"
#include "ui/collection/MemberColumn.h"
#include "ui/collection/MemberListModel.h"
#include "ui/collection/MemberListView.h"
#include "ui/common/TInputForm.h"

#include <QAbstractItemView>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace Orbisong {

namespace {

// The grouping field a change code names, or -1.
int fieldOfChange(int code)
{
    switch (code) {
    case ChangeArtist:
    case ChangeFlags:
        return int(GroupField::Artist);
    case ChangeBinder:
        return int(GroupField::Binder);
    case ChangeCategory:
        return int(GroupField::Category);
    case ChangeOwner:
        return int(GroupField::Owner);
    case ChangeYear:
        return int(GroupField::Year);
    default:
        return -1;
    }
}

} // namespace

CollectionGeneralPage::CollectionGeneralPage(Collection &collection, QuestionPort *questions,
                                             QWidget *parent)
    : QWidget(parent), m_collection(collection), m_questions(questions),
      m_members(new MemberColumn), m_model(new AlbumListModel(this)),
      m_views(new AlbumViews(m_model)), m_count(new QLabel), m_splitter(new QSplitter)
{
    setObjectName(QStringLiteral("GeneralPage"));
    m_count->setObjectName(QStringLiteral("AlbumCount"));
    auto *right = new QWidget;
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(2);
    rightLayout->addWidget(m_views, 1);
    rightLayout->addWidget(m_count);
    m_splitter->setObjectName(QStringLiteral("CollectionSplitter"));
    m_splitter->addWidget(m_members);
    m_splitter->addWidget(right);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setSizes({160, 480});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_splitter);
    buildAlbumMenu();

    connect(m_members, &MemberColumn::groupingChosen, this, &CollectionGeneralPage::setGrouping);
    connect(m_members, &MemberColumn::memberChosen, this, &CollectionGeneralPage::listMember);
    connect(m_members, &MemberColumn::newRequested, this, &CollectionGeneralPage::addMember);
    connect(m_members, &MemberColumn::deleteRequested, this, &CollectionGeneralPage::deleteMember);
    connect(m_members, &MemberColumn::albumsDropped, this,
            &CollectionGeneralPage::moveAlbumsToMember);
    connect(m_views, &AlbumViews::headerClicked, this, &CollectionGeneralPage::sortByColumn);
    connect(m_views, &AlbumViews::deletePressed, this, &CollectionGeneralPage::deleteSelected);
    connect(m_views, &AlbumViews::albumActivated, this,
            [this](const AlbumIndexNode *album) { emit propertiesRequested(album->id); });
    connect(m_views, &AlbumViews::menuRequested, this,
            [this](const QPoint &pos) { m_albumMenu->popup(pos); });
    m_asker = [this](const QString &caption, const QString &prompt, QString *value) {
        return TInputForm::ask(this, caption, prompt, value);
    };
    m_members->setGrouping(m_grouping);
    updateCount();
}

void CollectionGeneralPage::buildAlbumMenu()
{
    m_albumMenu = new QMenu(this);
    m_albumMenu->setObjectName(QStringLiteral("AlbumMenu"));
    QMenu *view = m_albumMenu->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("ViewMenu"));
    auto *looks = new QActionGroup(this);
    const QList<QPair<QString, int>> styles = {{tr("Lar&ge Icons"), AlbumViews::LargeIcons},
                                               {tr("S&mall Icons"), AlbumViews::SmallIcons},
                                               {tr("&List"), AlbumViews::List},
                                               {tr("&Details"), AlbumViews::Details}};
    for (const auto &[caption, style] : styles) {
        QAction *action =
            view->addAction(caption, this, [this, style] { m_views->setStyle(style); });
        action->setCheckable(true);
        action->setData(style);
        looks->addAction(action);
    }
    connect(view, &QMenu::aboutToShow, this, [this, looks] {
        for (QAction *action : looks->actions())
            action->setChecked(action->data().toInt() == m_views->style());
    });
    m_albumMenu->addAction(tr("&Delete"), this, &CollectionGeneralPage::deleteSelected);
    m_albumMenu->addAction(tr("P&roperties"), this, &CollectionGeneralPage::requestProperties);
}

void CollectionGeneralPage::clear()
{
    m_model->setAlbums({});
    m_members->model()->setMembers({});
    m_snapshot.clear();
    updateCount();
}

void CollectionGeneralPage::refill()
{
    m_snapshot = audioAlbums(m_collection);
    refreshMembers();
    if (m_hasMember)
        listMember(m_members->model()->rowOfKey(m_memberKey));
    else
        m_members->selectRow(0);
    updateCount();
}

void CollectionGeneralPage::setGrouping(GroupField field)
{
    m_grouping = field;
    m_members->setGrouping(field);
    m_hasMember = false;
    m_memberKey.clear();
    m_model->setAlbums({});
    refreshMembers();
    m_members->selectRow(0);
    updateCount();
}

void CollectionGeneralPage::setSortOrder(const QByteArray &letters)
{
    m_order = AlbumSortOrder(letters);
}

int CollectionGeneralPage::currentMember() const
{
    return m_members->currentRow();
}

void CollectionGeneralPage::chooseMember(int row)
{
    m_members->selectRow(row);
}

void CollectionGeneralPage::listMember(int row)
{
    const GroupMember *member = m_members->model()->memberAt(row);
    if (!member) {
        m_model->setAlbums({});
        updateCount();
        return;
    }
    m_hasMember = true;
    m_memberKey = member->key;
    QList<const AlbumIndexNode *> albums = albumsOfMember(m_snapshot, m_grouping, *member);
    m_order.sort(albums);
    m_model->setAlbums(albums);
    updateCount();
}

void CollectionGeneralPage::refreshMembers()
{
    m_refreshPending = false;
    QList<GroupMember> members = groupMembers(m_snapshot, m_grouping);
    MemberListModel *model = m_members->model();
    const GroupMember *current = model->memberAt(m_members->currentRow());
    // A chosen member that has lost its last album (or a new one that has none yet) keeps
    // its button while it is chosen.
    const bool keepCurrent =
        m_hasMember && current && std::none_of(members.cbegin(), members.cend(), [this](auto &m) {
            return m.key.compare(m_memberKey, Qt::CaseInsensitive) == 0;
        });
    const GroupMember kept =
        keepCurrent ? GroupMember{current->key, current->text, 0} : GroupMember{};
    const QSignalBlocker blocker(m_members->view()->selectionModel());
    model->setMembers(members);
    if (keepCurrent)
        model->addMember(kept);
    if (m_hasMember) {
        const int row = model->rowOfKey(m_memberKey);
        m_members->view()->setCurrentIndex(model->index(row));
        if (row < 0)
            m_hasMember = false;
    }
}

void CollectionGeneralPage::scheduleMemberRefresh()
{
    // Many changes arrive together (a drop of many albums): the column is counted once.
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_refreshPending)
            refreshMembers();
    });
}

void CollectionGeneralPage::sortByColumn(int column)
{
    m_order.moveToFront(AlbumSortOrder::letterOfColumn(column));
    QList<const AlbumIndexNode *> albums = m_model->albums();
    m_order.sort(albums);
    m_model->setAlbums(albums);
}

QString CollectionGeneralPage::countText() const
{
    return AlbumListModel::countText(m_model->rowCount());
}

void CollectionGeneralPage::updateCount()
{
    m_count->setText(countText());
}

void CollectionGeneralPage::deleteSelected()
{
    const QList<const AlbumIndexNode *> albums = m_views->selectedAlbums();
    if (albums.isEmpty())
        return;
    const int answer =
        albums.size() == 1
            ? askOrDefault(m_questions, Msg::DeleteOneAlbum, albums.first()->title)
            : askOrDefault(m_questions, Msg::DeleteSeveralAlbums, QString::number(albums.size()));
    if (answer != ResultYes)
        return;
    QStringList ids;
    for (const AlbumIndexNode *album : albums)
        ids.append(album->id);
    deleteAlbums(ids);
}

bool CollectionGeneralPage::deleteAlbums(const QStringList &ids)
{
    // The rows go together at the end: taking them out one by one would walk a list of
    // 100,000 albums once per deleted album.
    emit deletionStarted();
    bool allDeleted = true;
    for (const QString &id : ids)
        allDeleted = m_collection.DeleteAlbum(id, false) && allDeleted;
    emit deletionFinished();
    return allDeleted;
}

void CollectionGeneralPage::deleteMember(int row)
{
    const GroupMember *member = m_members->model()->memberAt(row);
    if (!member)
        return;
    QStringList ids;
    for (const AlbumIndexNode *album : albumsOfMember(m_snapshot, m_grouping, *member))
        ids.append(album->id);
    if (!ids.isEmpty() && askOrDefault(m_questions, Msg::DeleteSeveralAlbums,
                                       QString::number(ids.size())) != ResultYes)
        return;
    if (!deleteAlbums(ids))
        return;
    if (m_members->currentRow() == row) {
        m_hasMember = false;
        m_model->setAlbums({});
    }
    refreshMembers();
    updateCount();
}

void CollectionGeneralPage::addMember()
{
    const QString word = groupTypeWord(m_grouping);
    QString value = tr("New ") + word;
    if (!m_asker ||
        !m_asker(tr("Add New ") + word,
                 tr("Please enter the text for the new ") + word + tr(" value."), &value))
        return;
    const int row = m_members->model()->addMember(newGroupMember(value));
    m_members->selectRow(row);
}

void CollectionGeneralPage::moveAlbumsToMember(int row, const QStringList &albumIds)
{
    const GroupMember *member = m_members->model()->memberAt(row);
    if (!member)
        return;
    const QString value = memberValue(*member);
    for (const QString &id : albumIds)
        setGroupValue(m_collection, id, m_grouping, value);
}

void CollectionGeneralPage::requestProperties()
{
    const QList<const AlbumIndexNode *> albums = m_views->selectedAlbums();
    const AlbumIndexNode *current = m_model->albumAt(m_views->currentView()->currentIndex().row());
    const AlbumIndexNode *album = current && albums.contains(current) ? current
                                  : albums.isEmpty()                  ? nullptr
                                                                      : albums.first();
    if (album)
        emit propertiesRequested(album->id);
}

bool CollectionGeneralPage::inCurrentMember(const AlbumIndexNode &album) const
{
    return m_hasMember &&
           groupKey(album, m_grouping).compare(m_memberKey, Qt::CaseInsensitive) == 0;
}

void CollectionGeneralPage::insertSorted(const AlbumIndexNode &album)
{
    const QList<const AlbumIndexNode *> &albums = m_model->albums();
    const auto at = std::upper_bound(albums.cbegin(), albums.cend(), &album,
                                     [this](const AlbumIndexNode *a, const AlbumIndexNode *b) {
                                         return m_order.lessThan(*a, *b);
                                     });
    m_model->insertAlbum(int(at - albums.cbegin()), &album);
}

void CollectionGeneralPage::albumChanged(const AlbumIndexNode &album, int code)
{
    // Every audio album is in the snapshot; CD-ROM entries are never shown.
    if (!isAudioAlbum(album))
        return;
    if (fieldOfChange(code) == int(m_grouping)) {
        const bool listed = m_model->rowOf(&album) >= 0;
        const bool belongs = inCurrentMember(album);
        if (listed && !belongs)
            m_model->removeAlbum(&album);
        else if (!listed && belongs)
            insertSorted(album);
        else
            m_model->refreshAlbum(&album);
        scheduleMemberRefresh();
    } else {
        m_model->refreshAlbum(&album);
    }
    updateCount();
}

void CollectionGeneralPage::albumAdded(const AlbumIndexNode &album)
{
    if (!isAudioAlbum(album))
        return;
    m_snapshot.append(&album);
    if (inCurrentMember(album))
        insertSorted(album);
    scheduleMemberRefresh();
    updateCount();
}

void CollectionGeneralPage::albumsRemoved(const AlbumSet &albums)
{
    const auto gone = [&albums](const AlbumIndexNode *album) { return albums.contains(album); };
    if (m_snapshot.removeIf(gone) == 0)
        return;
    if (albums.size() == 1) {
        m_model->removeAlbum(*albums.cbegin());
    } else {
        QList<const AlbumIndexNode *> listed = m_model->albums();
        if (listed.removeIf(gone) > 0)
            m_model->setAlbums(listed);
    }
    scheduleMemberRefresh();
    updateCount();
}

} // namespace Orbisong
