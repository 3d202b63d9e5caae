#pragma once

#include <QDateTime>
#include <QSet>
#include <QWidget>

#include <array>
#include <functional>

class QTabWidget;

namespace Orbisong {

class Collection;
class QuestionPort;
class ResultListView;
class TCursorStack;
struct AlbumIndexNode;

// The "Statistics" page: instructions and three rankings, each calculated when its sub-page
// is shown behind the working window.
class CollectionStatisticsPage : public QWidget
{
    Q_OBJECT

public:
    enum Ranking { MostPlayedAlbums, MostPlayedTracks, RecentlyPlayedAlbums, RankingCount };

    CollectionStatisticsPage(Collection &collection, QuestionPort *questions, TCursorStack &cursors,
                             QWidget *parent = nullptr);

    // The clock that ages the times of "Recently Played Albums" (tests fix it).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    QTabWidget *tabs() const { return m_tabs; }
    ResultListView *ranking(Ranking which) const { return m_lists[which]; }
    // Calculates a ranking now.
    void calculate(Ranking which);
    // The play counts changed: the shown ranking is calculated again, the others when shown.
    void playCountsChanged();
    void clear();
    // The entries are about to be freed, or were freed during a deletion.
    void albumsRemoved(const QSet<const AlbumIndexNode *> &albums);

signals:
    void propertiesRequested(const QString &albumId);

private:
    void showPage(int page);
    bool isShown(Ranking which) const;

    Collection &m_collection;
    TCursorStack &m_cursors;
    std::function<QDateTime()> m_clock;
    QTabWidget *m_tabs;
    std::array<ResultListView *, RankingCount> m_lists{};
    std::array<bool, RankingCount> m_current{};
};

} // namespace Orbisong
