#pragma once

#include "ui/album/AlbumPage.h"

#include <functional>
#include <QDateTime>

class QPushButton;
class QTreeWidget;

namespace Orbisong {

// "Statistics": the most played tracks and the recent inserts, and "&Clear All".
class AlbumStatisticsPage : public AlbumPage
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    explicit AlbumStatisticsPage(QWidget *parent = nullptr);

    void load(const AlbumDraft &draft) override;
    void save(AlbumDraft &draft) override;

    void setClock(Clock clock) { m_clock = std::move(clock); }
    QPushButton *clearAllButton() const { return m_clearAll; }

signals:
    void clearAllRequested();

private:
    Clock m_clock;
    QTreeWidget *m_plays = nullptr;
    QTreeWidget *m_inserts = nullptr;
    QPushButton *m_clearAll = nullptr;
};

} // namespace Orbisong
