#pragma once

#include "player/PlayerDisplay.h"

#include <QWidget>

class QLabel;
class QMovie;
class QToolButton;

namespace Orbisong {

class PlayerHints;

// The album header of the player: the drive button, the album title and artist, and the
// status picture that plays the current animation.
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

private:
    QToolButton *m_driveButton = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_artistLabel = nullptr;
    QLabel *m_statusPicture = nullptr;
    QMovie *m_statusMovie = nullptr;
};

} // namespace Orbisong
