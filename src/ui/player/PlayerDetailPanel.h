#pragma once

#include "player/PlayerDisplay.h"

#include <QDateTime>
#include <QWidget>

class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMovie;
class QToolButton;

namespace Orbisong {

class PlayerHints;

// The album header of the player: the drive button, the album's cover, title and artist, and
// the status picture that plays the current animation. A picture file dropped on it is
// offered as the album's cover.
class PlayerDetailPanel : public QWidget
{
    Q_OBJECT

public:
    explicit PlayerDetailPanel(PlayerHints &hints, QWidget *parent = nullptr);

    QToolButton *driveButton() const { return m_driveButton; }

    void applyEnabled(const PlayerDisplay::Enabled &enabled);
    void showAlbum(const QString &title, const QString &artist);
    // Plays an animation file; empty shows the program's picture.
    void showAnimation(const QString &file);
    // Shows the picture file as the album's cover; empty (or no picture) hides it.
    void showCover(const QString &file);
    bool coverShown() const;

signals:
    void pictureDropped(const QString &file);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QToolButton *m_driveButton = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_artistLabel = nullptr;
    QLabel *m_cover = nullptr;
    QString m_coverFile;
    QDateTime m_coverStamp;
    QLabel *m_statusPicture = nullptr;
    QMovie *m_statusMovie = nullptr;
};

} // namespace Orbisong
