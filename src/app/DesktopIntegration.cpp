#include "app/DesktopIntegration.h"

#include "app/HelpTopics.h"
#include "player/mpris/MprisService.h"
#include "player/PlayerEngine.h"
#include "ui/player/TPlayerForm.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QUrl>

namespace Orbisong {

DesktopIntegration::DesktopIntegration(TPlayerForm *player, PlayerEngine *engine,
                                       const Settings &settings, DriveSource source,
                                       QObject *parent)
    : QObject(parent), m_player(player), m_source(std::move(source))
{
    MprisControls controls;
    controls.playPause = [player] { player->pressPlay(); };
    controls.stop = [player] { player->pressStop(); };
    controls.next = [player] { player->pressNext(); };
    controls.previous = [player] { player->pressPrev(); };
    controls.setVolume = [player](int volume) { player->setVolume(volume); };
    controls.refresh = [player] { player->refreshAll(); };
    controls.raise = [player] {
        player->showNormal();
        player->raise();
        player->activateWindow();
    };
    controls.quit = [player] { player->close(); };
    m_mpris = std::make_unique<MprisService>(engine, settings, std::move(controls));
    m_mpris->registerOnSessionBus();

    connect(player, &TPlayerForm::helpRequested, this, [player] {
        const QWidget *active = QApplication::activeWindow();
        HelpTopics::open(active ? active : player);
    });
    connect(player, &TPlayerForm::driveFolderRequested, this,
            &DesktopIntegration::openDriveFolder);
    // The player's own F1 is its menu's shortcut; in the other windows F1 arrives here.
    qApp->installEventFilter(this);
}

DesktopIntegration::~DesktopIntegration()
{
    qApp->removeEventFilter(this);
}

bool DesktopIntegration::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            HelpTopics::open(static_cast<QWidget *>(watched)->window());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QString DesktopIntegration::driveFolder(const QString &source)
{
    const QFileInfo file(source);
    if (file.isFile())
        return file.absolutePath();
    const QString device = file.canonicalFilePath().isEmpty() ? source : file.canonicalFilePath();
    // A device mounted in several places (bind mounts) shows its outermost mount point.
    QString folder;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (QString::fromLocal8Bit(volume.device()) == device &&
            (folder.isEmpty() || volume.rootPath().size() < folder.size()))
            folder = volume.rootPath();
    }
    return folder;
}

void DesktopIntegration::openDriveFolder(QChar drive)
{
    const QString folder = driveFolder(m_source ? m_source(drive) : QString());
    if (!folder.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

} // namespace Orbisong
