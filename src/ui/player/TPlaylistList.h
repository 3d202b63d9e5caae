#pragma once

#include <QListWidget>

namespace Orbisong {

class PlayerEngine;

// The player's owner-drawn playlist: one row per step with a marker and bold title for the
// current step, and at the right the track, start and end of the step within its track.
class TPlaylistList : public QListWidget
{
    Q_OBJECT

public:
    enum Role { SerialRole = Qt::UserRole + 1, CurrentRole, TrackRole, StartRole, EndRole };

    explicit TPlaylistList(QWidget *parent = nullptr);

    void setCurrentColour(const QColor &colour) { m_currentColour = colour; }
    QColor currentColour() const { return m_currentColour; }
    // Whether CD audio track files may be dropped (an audio disc and a custom playlist).
    void setAcceptTrackFiles(bool accept) { m_acceptTrackFiles = accept; }

signals:
    void playRequested(int row);
    void deleteRequested(int row);
    // A row was dragged from `from` to `to`.
    void rowMoved(int from, int to);
    void trackFilesDropped(const QStringList &paths, int beforeRow);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QStringList trackFiles(const QMimeData *mime) const;

    QColor m_currentColour = QColor(0xd0, 0x30, 0x30);
    bool m_acceptTrackFiles = false;
};

} // namespace Orbisong
