#include "ui/album/AlbumStatisticsPage.h"

#include "collection/AlbumDraft.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Orbisong {

AlbumStatisticsPage::AlbumStatisticsPage(QWidget *parent)
    : AlbumPage(parent), m_clock([] { return QDateTime::currentDateTime(); })
{
    m_plays = new QTreeWidget(this);
    m_plays->setObjectName(QStringLiteral("PlaysList"));
    m_plays->setHeaderLabels({tr("Plays"), tr("Title")});
    m_plays->setRootIsDecorated(false);
    m_plays->setColumnWidth(0, 60);
    m_inserts = new QTreeWidget(this);
    m_inserts->setObjectName(QStringLiteral("InsertsList"));
    m_inserts->setHeaderLabels({tr("Time")});
    m_inserts->setRootIsDecorated(false);
    m_clearAll = new QPushButton(tr("&Clear All"), this);
    m_clearAll->setObjectName(QStringLiteral("ClearAllButton"));
    connect(m_clearAll, &QPushButton::clicked, this, &AlbumStatisticsPage::clearAllRequested);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Most Played Tracks"), this));
    layout->addWidget(m_plays, 3);
    layout->addWidget(new QLabel(tr("Recent Inserts"), this));
    layout->addWidget(m_inserts, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_clearAll);
    layout->addLayout(buttons);
}

void AlbumStatisticsPage::load(const AlbumDraft &draft)
{
    m_plays->clear();
    for (int track : draft.mostPlayedTracks()) {
        const DraftTrack &played = draft.tracks.at(track - 1);
        m_plays->addTopLevelItem(
            new QTreeWidgetItem({QString::number(played.plays), played.title}));
    }
    m_inserts->clear();
    const QDateTime now = m_clock();
    for (qsizetype i = draft.recentInserts.size() - 1; i >= 0; --i) {
        m_inserts->addTopLevelItem(
            new QTreeWidgetItem({AlbumDraft::insertTimeText(draft.recentInserts.at(i), now)}));
    }
}

void AlbumStatisticsPage::save(AlbumDraft &draft)
{
    Q_UNUSED(draft)
}

} // namespace Orbisong
