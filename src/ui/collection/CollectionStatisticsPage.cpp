#include "ui/collection/CollectionStatisticsPage.h"

#include "collection/Collection.h"
#include "collection/CollectionStatistics.h"
#include "collection/Settings.h"
#include "ui/collection/ResultListModel.h"
#include "ui/collection/ResultListView.h"
#include "ui/player/TCursorStack.h"
#include "ui/player/TMovieForm.h"

#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

ResultRow rowOf(const StatisticsItem &item, const QString &value)
{
    return {{item.artist, item.title, value},
            item.album,
            item.album ? item.album->id : QString(),
            item.artist,
            item.album ? item.album->title : item.title,
            item.track};
}

} // namespace

CollectionStatisticsPage::CollectionStatisticsPage(Collection &collection, QuestionPort *questions,
                                                   TCursorStack &cursors, QWidget *parent)
    : QWidget(parent), m_collection(collection), m_cursors(cursors),
      m_clock([] { return QDateTime::currentDateTime(); }), m_tabs(new QTabWidget)
{
    setObjectName(QStringLiteral("StatisticsPage"));
    m_tabs->setObjectName(QStringLiteral("StatisticsTabs"));
    auto *instructions = new QLabel(
        tr("Choose a ranking above. Orbisong counts how often each album was inserted and "
           "each track was played, and remembers when albums were inserted.\n\nDouble-click an "
           "item to open its album's properties, or right-click it for more."));
    instructions->setWordWrap(true);
    instructions->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    instructions->setMargin(8);
    m_tabs->addTab(instructions, tr("Instructions"));
    const QList<QPair<QString, QStringList>> pages = {
        {tr("Most Played Albums"), {tr("Artist"), tr("Album"), tr("Inserts")}},
        {tr("Most Played Tracks"), {tr("Artist"), tr("Track"), tr("Plays")}},
        {tr("Recently Played Albums"), {tr("Artist"), tr("Album"), tr("Played")}}};
    for (int i = 0; i < RankingCount; ++i) {
        m_lists[i] = new ResultListView(new ResultListModel(pages.at(i).second, this), questions);
        m_lists[i]->setObjectName(QStringLiteral("Ranking%1").arg(i));
        m_tabs->addTab(m_lists[i], pages.at(i).first);
        connect(m_lists[i], &ResultListView::propertiesRequested, this,
                &CollectionStatisticsPage::propertiesRequested);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CollectionStatisticsPage::showPage);
}

void CollectionStatisticsPage::showPage(int page)
{
    const int which = page - 1;
    if (which >= 0 && which < RankingCount && !m_current[which])
        calculate(Ranking(which));
}

bool CollectionStatisticsPage::isShown(Ranking which) const
{
    return isVisible() && m_tabs->currentIndex() == which + 1;
}

void CollectionStatisticsPage::calculate(Ranking which)
{
    const BusyCursor busy(m_cursors);
    QWidget *owner = window();
    TMovieForm *working = TMovieForm::Show(
        owner->frameGeometry(), QStringLiteral("AVI_STATS"),
        tr("Please wait while Orbisong calculates the statistics you requested."), owner);
    CollectionStatistics statistics(m_collection);
    QList<ResultRow> rows;
    switch (which) {
    case MostPlayedAlbums:
        for (const StatisticsItem &item : statistics.mostPlayedAlbums())
            rows.append(rowOf(item, QString::number(item.count)));
        break;
    case MostPlayedTracks: {
        const bool merge = m_collection.settings().GetOptionFlag(_GLOB_OPTION_STATMERGETRACKS);
        for (const StatisticsItem &item : statistics.mostPlayedTracks(merge))
            rows.append(rowOf(item, QString::number(item.count)));
        break;
    }
    case RecentlyPlayedAlbums: {
        const QDateTime now = m_clock();
        for (const StatisticsItem &item : statistics.recentlyPlayed())
            rows.append(rowOf(item, statisticsTimeText(item.time, now)));
        break;
    }
    case RankingCount:
        break;
    }
    TMovieForm::Hide(working);
    m_lists[which]->resultModel()->setRows(rows);
    m_current[which] = true;
}

void CollectionStatisticsPage::playCountsChanged()
{
    for (int i = 0; i < RankingCount; ++i) {
        m_current[i] = false;
        if (isShown(Ranking(i)))
            calculate(Ranking(i));
    }
}

void CollectionStatisticsPage::clear()
{
    for (int i = 0; i < RankingCount; ++i) {
        m_lists[i]->resultModel()->setRows({});
        m_current[i] = false;
    }
}

void CollectionStatisticsPage::albumsRemoved(const QSet<const AlbumIndexNode *> &albums)
{
    for (ResultListView *list : m_lists)
        list->resultModel()->removeAlbums(albums);
}

} // namespace Orbisong
