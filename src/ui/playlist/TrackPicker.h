#pragma once

#include "collection/TStep.h"

#include <QList>
#include <QWidget>

class QListWidget;
class QListWidgetItem;

namespace Orbisong {

struct AlbumInfo;
struct DiscInfo;

// The two lists of the playlist windows: the disc's tracks on the left, the playlist's
// steps on the right. Tracks join the playlist by dragging (inserted where they are dropped,
// in their order) or double-clicking (appended); steps are reordered by dragging and leave
// with the Delete key or by being dragged back.
class TrackPicker : public QWidget
{
    Q_OBJECT

public:
    TrackPicker(const DiscInfo &disc, const AlbumInfo &album, const QString &availableCaption,
                const QString &chosenCaption, QWidget *parent = nullptr);

    QListWidget *available() const { return m_available; }
    QListWidget *chosen() const { return m_chosen; }

    void setSteps(const QList<TStep> &steps);
    // Copies of the chosen steps (title, start, end, script) in their order.
    QList<TStep> steps() const;
    // The track in which each chosen step starts.
    QList<int> tracks() const;

    // Inserts whole-track steps for `tracks` before `row` (appends when out of range).
    void insertTracks(const QList<int> &tracks, int row);
    void removeChosen(const QList<int> &rows);
    void moveChosen(int from, int to);

signals:
    void changed();

private:
    QListWidgetItem *makeItem(const TStep &step) const;
    int trackOf(int frame) const;

    const DiscInfo &m_disc;
    const AlbumInfo &m_album;
    QListWidget *m_available = nullptr;
    QListWidget *m_chosen = nullptr;
};

} // namespace Orbisong
