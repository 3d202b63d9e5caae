#pragma once

#include "ui/player/SizeStops.h"

#include <QObject>
#include <QTimer>

class QMainWindow;
class QWidget;

namespace Orbisong {

struct Settings;

// The player window's size and place: the heights its border snaps to, mini mode, which
// panels fit the height, and sticking to the screen edges the settings name.
class PlayerGeometry : public QObject
{
    Q_OBJECT

public:
    // The panels of the window from top to bottom; `edit` is the row under the list.
    struct Panels
    {
        QWidget *mini = nullptr;
        QWidget *controls = nullptr;
        QWidget *details = nullptr;
        QWidget *playlist = nullptr;
        QWidget *edit = nullptr;
        QWidget *status = nullptr;
    };

    PlayerGeometry(QMainWindow *window, Settings &settings, const Panels &panels);

    // Measures the panels once the window shows; from then on resizing snaps and hides panels.
    void start();
    const SizeStops &sizeStops() const { return m_stops; }
    bool isMiniMode() const { return m_miniMode; }
    // Snaps the window to the size stop whose range holds its height.
    void snapToSizeStop();
    // Toggles between mini mode and the saved full height.
    void toggleMiniMode();
    // The window's resize and move events.
    void resized();
    void moved();

private:
    void computeSizeStops();
    void applyMiniMode(bool mini);
    void updateMinimumWidth();
    void stickToEdges();

    QMainWindow *m_window;
    Settings &m_settings;
    Panels m_panels;
    SizeStops m_stops;
    QTimer m_snapTimer;
    bool m_started = false;
    bool m_miniMode = false;
    bool m_sticking = false;
    bool m_snapping = false;
    int m_fullHeight = 0;
};

} // namespace Orbisong
