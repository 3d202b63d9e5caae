#include "ui/playlist/TrackPicker.h"

#include "collection/AlbumInfo.h"
#include "collection/DiscInfo.h"
#include "collection/PlaylistRules.h"
#include "player/PlayerText.h"

#include <QDropEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace Orbisong {

namespace {

enum Role { TrackRole = Qt::UserRole + 1, StartRole, EndRole, TitleRole, ScriptRole };

// One of the two lists; drops are settled here so that a drag never removes a track from the
// disc's list and every move keeps the steps' own data.
class TrackListBox : public QListWidget
{
public:
    TrackListBox(TrackPicker *picker, bool chosen, QWidget *parent)
        : QListWidget(parent), m_picker(picker), m_isChosen(chosen)
    {
        setSelectionMode(QAbstractItemView::ExtendedSelection);
        setDragEnabled(true);
        setAcceptDrops(true);
        setDropIndicatorShown(true);
        setDragDropMode(QAbstractItemView::DragDrop);
        setDefaultDropAction(Qt::CopyAction);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (m_isChosen && event->key() == Qt::Key_Delete) {
            m_picker->removeChosen(selectedRows());
            return;
        }
        QListWidget::keyPressEvent(event);
    }

    void dragEnterEvent(QDragEnterEvent *event) override { acceptFromPicker(event); }
    void dragMoveEvent(QDragMoveEvent *event) override { acceptFromPicker(event); }

    void dropEvent(QDropEvent *event) override
    {
        auto *source = qobject_cast<QListWidget *>(event->source());
        if (!isPickerList(source)) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::CopyAction);
        event->accept();
        const QModelIndex target = indexAt(event->position().toPoint());
        const int row = target.isValid() ? target.row() : count();
        if (!m_isChosen) {
            m_picker->removeChosen(static_cast<TrackListBox *>(source)->selectedRows());
        } else if (source == this) {
            m_picker->moveChosen(currentRow(), target.isValid() ? row : count() - 1);
        } else {
            QList<int> tracks;
            for (int r : static_cast<TrackListBox *>(source)->selectedRows())
                tracks.append(source->item(r)->data(TrackRole).toInt());
            m_picker->insertTracks(tracks, row);
        }
    }

private:
    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (const QModelIndex &index : selectedIndexes())
            rows.append(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    bool isPickerList(QListWidget *source) const
    {
        return source && (source == m_picker->available() || source == m_picker->chosen()) &&
               (m_isChosen || source != this);
    }

    void acceptFromPicker(QDragMoveEvent *event)
    {
        if (isPickerList(qobject_cast<QListWidget *>(event->source()))) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }

    TrackPicker *m_picker;
    bool m_isChosen;
};

QWidget *captioned(const QString &caption, QListWidget *list, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(caption, box);
    label->setBuddy(list);
    layout->addWidget(label);
    layout->addWidget(list, 1);
    return box;
}

} // namespace

TrackPicker::TrackPicker(const DiscInfo &disc, const AlbumInfo &album,
                         const QString &availableCaption, const QString &chosenCaption,
                         QWidget *parent)
    : QWidget(parent), m_disc(disc), m_album(album)
{
    m_available = new TrackListBox(this, false, this);
    m_available->setObjectName(QStringLiteral("AvailableList"));
    m_chosen = new TrackListBox(this, true, this);
    m_chosen->setObjectName(QStringLiteral("ChosenList"));
    const int tracks = qBound(0, disc.trackCount, int(DiscInfo::MaxTracks));
    for (int track = 1; track <= tracks; ++track)
        m_available->addItem(makeItem(WholeTrackStep(disc, track)));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(captioned(availableCaption, m_available, this), 1);
    layout->addWidget(captioned(chosenCaption, m_chosen, this), 1);

    connect(m_available, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        insertTracks({item->data(TrackRole).toInt()}, m_chosen->count());
    });
}

int TrackPicker::trackOf(int frame) const
{
    int track = 1;
    const int tracks = qBound(0, m_disc.trackCount, int(DiscInfo::MaxTracks));
    for (int t = 1; t <= tracks; ++t) {
        if (m_disc.trackOffsets[std::size_t(t)] <= frame)
            track = t;
    }
    return track;
}

QListWidgetItem *TrackPicker::makeItem(const TStep &step) const
{
    const int track = trackOf(step.start);
    const QString title = step.title.trimmed().isEmpty() ? m_album.trackTitles[std::size_t(track)]
                                                         : step.title.trimmed();
    QString text = TwoDigits(track) + QStringLiteral("  ") +
                   (title.isEmpty() ? QStringLiteral("Track ") + QString::number(track) : title);
    const TStep whole = WholeTrackStep(m_disc, track);
    if (step.start != whole.start || step.end != whole.end) {
        // Part of a track: where it lies within the track.
        text += QStringLiteral("  (") + FramesToText(step.start - whole.start) + QChar(0x2013) +
                FramesToText(step.end - whole.start) + QLatin1Char(')');
    }
    auto *item = new QListWidgetItem(text);
    item->setData(TrackRole, track);
    item->setData(StartRole, step.start);
    item->setData(EndRole, step.end);
    item->setData(TitleRole, step.title);
    item->setData(ScriptRole, step.script);
    return item;
}

void TrackPicker::setSteps(const QList<TStep> &steps)
{
    m_chosen->clear();
    for (const TStep &step : steps)
        m_chosen->addItem(makeItem(step));
}

QList<TStep> TrackPicker::steps() const
{
    QList<TStep> steps;
    for (int row = 0; row < m_chosen->count(); ++row) {
        const QListWidgetItem *item = m_chosen->item(row);
        TStep step(item->data(TitleRole).toString(), item->data(StartRole).toInt(),
                   item->data(EndRole).toInt());
        step.script = item->data(ScriptRole).toString();
        steps.append(step);
    }
    return steps;
}

QList<int> TrackPicker::tracks() const
{
    QList<int> tracks;
    for (int row = 0; row < m_chosen->count(); ++row)
        tracks.append(m_chosen->item(row)->data(TrackRole).toInt());
    return tracks;
}

void TrackPicker::insertTracks(const QList<int> &tracks, int row)
{
    int at = row < 0 || row > m_chosen->count() ? m_chosen->count() : row;
    for (int track : tracks) {
        if (track < 1 || track > m_disc.trackCount)
            continue;
        m_chosen->insertItem(at++, makeItem(WholeTrackStep(m_disc, track)));
    }
    m_chosen->setCurrentRow(at - 1, QItemSelectionModel::ClearAndSelect);
    emit changed();
}

void TrackPicker::removeChosen(const QList<int> &rows)
{
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end(), std::greater<int>());
    bool removed = false;
    for (int row : std::as_const(sorted)) {
        if (row >= 0 && row < m_chosen->count()) {
            delete m_chosen->takeItem(row);
            removed = true;
        }
    }
    if (removed)
        emit changed();
}

void TrackPicker::moveChosen(int from, int to)
{
    if (from < 0 || from >= m_chosen->count() || to < 0 || to >= m_chosen->count() || from == to)
        return;
    m_chosen->insertItem(to, m_chosen->takeItem(from));
    m_chosen->setCurrentRow(to, QItemSelectionModel::ClearAndSelect);
    emit changed();
}

} // namespace Orbisong
