#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace Orbisong {

class MprisService;
class PlayerEngine;
class TPlayerForm;
struct Settings;

// The player's place on the desktop: the MPRIS media player on the session bus, the manual
// opened by "&Help Topics" and F1 at the topic of the window in focus, and the drive
// button's "&Open"/"&Explore" showing the disc's folder in the file manager.
class DesktopIntegration : public QObject
{
    Q_OBJECT

public:
    // `source` gives the image file or device path behind a drive letter.
    using DriveSource = std::function<QString(QChar drive)>;

    DesktopIntegration(TPlayerForm *player, PlayerEngine *engine, const Settings &settings,
                       DriveSource source, QObject *parent = nullptr);
    ~DesktopIntegration() override;

    MprisService *mpris() const { return m_mpris.get(); }
    // The folder the file manager shows for a drive: an image's folder, a drive's mount
    // point; empty when the drive is not mounted.
    static QString driveFolder(const QString &source);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openDriveFolder(QChar drive);

    TPlayerForm *m_player;
    DriveSource m_source;
    std::unique_ptr<MprisService> m_mpris;
};

} // namespace Orbisong
