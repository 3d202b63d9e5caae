#pragma once

#include "collection/AlbumGrouping.h"
#include "collection/AlbumSortOrder.h"
#include "ui/collection/AlbumListModel.h"

#include <QWidget>

#include <functional>

class QLabel;
class QMenu;
class QSplitter;

namespace Orbisong {

class AlbumViews;
class Collection;
class MemberColumn;
class QuestionPort;

// The "General" page: the member column and the album list of the chosen member.
class CollectionGeneralPage : public QWidget
{
    Q_OBJECT

public:
    // Asks for a text: caption, prompt, and the default answer in `value`; false on cancel.
    using ValueAsker =
        std::function<bool(const QString &caption, const QString &prompt, QString *value)>;

    CollectionGeneralPage(Collection &collection, QuestionPort *questions,
                          QWidget *parent = nullptr);

    // Replaces the input window of "&New" (tests answer without a window).
    void setValueAsker(ValueAsker asker) { m_asker = std::move(asker); }

    // Takes a new snapshot of the index and fills the member column and the list again.
    void refill();
    // Drops every entry the page holds, before the index changes wholesale.
    void clear();
    void setGrouping(GroupField field);
    GroupField grouping() const { return m_grouping; }
    void setSortOrder(const QByteArray &letters);
    QByteArray sortOrder() const { return m_order.letters(); }
    // The chosen member's row, -1 when none.
    int currentMember() const;
    void chooseMember(int row);
    // A click on a column header: that column sorts first.
    void sortByColumn(int column);

    // Asks, then deletes the selected albums; the album in the drive is kept.
    void deleteSelected();
    // Asks, then deletes every album of the member.
    void deleteMember(int row);
    // "&New": asks for a value and adds its button.
    void addMember();
    // Sets the grouping field of each album to the member's value (a drop on its button).
    void moveAlbumsToMember(int row, const QStringList &albumIds);
    void requestProperties();

    // Live updates from the collection.
    void albumChanged(const AlbumIndexNode &album, int code);
    void albumAdded(const AlbumIndexNode &album);
    // The entries are about to be freed, or were freed during a deletion of this page.
    void albumsRemoved(const AlbumSet &albums);

    MemberColumn *memberColumn() const { return m_members; }
    AlbumViews *views() const { return m_views; }
    AlbumListModel *albumModel() const { return m_model; }
    QSplitter *splitter() const { return m_splitter; }
    QLabel *countLabel() const { return m_count; }
    QMenu *albumMenu() const { return m_albumMenu; }
    QString countText() const;

signals:
    void propertiesRequested(const QString &albumId);
    // Around the deletion of several albums: the window gathers the entries that go and
    // drops their rows together at the end.
    void deletionStarted();
    void deletionFinished();

private:
    void buildAlbumMenu();
    // Deletes without force; false when an album stayed (the one in the drive).
    bool deleteAlbums(const QStringList &ids);
    void listMember(int row);
    void refreshMembers();
    void scheduleMemberRefresh();
    void updateCount();
    bool inCurrentMember(const AlbumIndexNode &album) const;
    void insertSorted(const AlbumIndexNode &album);

    Collection &m_collection;
    QuestionPort *m_questions;
    ValueAsker m_asker;
    GroupField m_grouping = GroupField::Artist;
    AlbumSortOrder m_order;
    QList<const AlbumIndexNode *> m_snapshot;
    QString m_memberKey;
    bool m_hasMember = false;
    bool m_refreshPending = false;

    MemberColumn *m_members;
    AlbumListModel *m_model;
    AlbumViews *m_views;
    QLabel *m_count;
    QSplitter *m_splitter;
    QMenu *m_albumMenu = nullptr;
};

} // namespace Orbisong
