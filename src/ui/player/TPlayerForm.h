#pragma once

#include <QMainWindow>

namespace Orbisong {

struct Settings;

// The player's main window.
class TPlayerForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit TPlayerForm(Settings &settings, QWidget *parent = nullptr);

    // Nested suspension of always-on-top while a modal box is shown above the player.
    void suspendStayOnTop();
    void resumeStayOnTop();

    // Expands "%P" (program name) and "%V" (version) of the caption format.
    static QString formatCaption(const QString &format);

signals:
    void aboutRequested();

private:
    void buildMenus();
    void applyStayOnTop(bool on);

    Settings &m_settings;
    int m_stayOnTopSuspensions = 0;
};

} // namespace Orbisong
