#pragma once

#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

namespace Orbisong {

class PlayerHints;

// The bottom line of the player: the playlist summary, the status messages and the volume.
class PlayerStatusPanel : public QWidget
{
    Q_OBJECT

public:
    explicit PlayerStatusPanel(PlayerHints &hints, QWidget *parent = nullptr);

    QLabel *statusLabel() const { return m_statusLabel; }
    QSlider *volumeTrack() const { return m_volumeTrack; }
    QToolButton *volumeButton() const { return m_volumeButton; }

    void showSummary(const QString &text);
    // Moves the slider without reporting it as the user's change.
    void showVolume(int volume);

signals:
    void volumeChosen(int volume);

private:
    QLabel *m_statusLabel = nullptr;
    QLabel *m_summaryLabel = nullptr;
    QSlider *m_volumeTrack = nullptr;
    QToolButton *m_volumeButton = nullptr;
};

} // namespace Orbisong
