#include "ui/player/PlayerMenus.h"

#include "collection/Settings.h"
#include "player/PlayerEngine.h"
#include "player/StepListEditor.h"
#include "ui/player/TPlaylistList.h"

#include <QActionGroup>
#include <QDir>
#include <QLoggingCategory>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

Q_LOGGING_CATEGORY(lcPlayer, "orbisong.player")

namespace Orbisong {

PlayerMenus::PlayerMenus(QMainWindow *window, Settings &settings, TPlaylistList *list)
    : QObject(window), m_settings(settings), m_list(list)
{
    buildMainMenu(window);
    buildTimePopup(window);
    buildPlayPopup(window);
    buildPlaylistPopups(window);
    buildOtherPopups(window);
}

void PlayerMenus::attach(QWidget *widget, QMenu *menu)
{
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, menu,
            [widget, menu](const QPoint &at) { menu->popup(widget->mapToGlobal(at)); });
}

void PlayerMenus::buildMainMenu(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    QMenu *file = bar->addMenu(tr("&File"));
    QAction *openImage =
        file->addAction(tr("Open Disc &Image..."), this, &PlayerMenus::openImageRequested);
    openImage->setObjectName(QStringLiteral("OpenImageAction"));
    QMenu *recent = file->addMenu(tr("&Recent Images"));
    recent->setObjectName(QStringLiteral("RecentImagesMenu"));
    fillRecentImages(recent);
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { fillRecentImages(recent); });
    file->addSeparator();
    m_propertiesAction =
        file->addAction(tr("&Album Properties"), QKeySequence(Qt::CTRL | Qt::Key_I), this,
                        &PlayerMenus::propertiesRequested);
    file->addSeparator();
    m_collectionAction = file->addAction(tr("&Collection"), QKeySequence(Qt::CTRL | Qt::Key_L),
                                         this, &PlayerMenus::collectionRequested);
    file->addAction(tr("&Options"), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                    &PlayerMenus::optionsRequested);
    file->addSeparator();
    QAction *exit = file->addAction(tr("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this,
                                    &PlayerMenus::closeRequested);
    exit->setObjectName(QStringLiteral("ExitAction"));

    QMenu *control = bar->addMenu(tr("&Control"));
    m_ejectAction = control->addAction(tr("&Eject"), QKeySequence(Qt::CTRL | Qt::Key_F8), this,
                                       &PlayerMenus::ejectPressed);
    control->addSeparator();
    m_stopAction = control->addAction(tr("&Stop"), QKeySequence(Qt::CTRL | Qt::Key_F9), this,
                                      &PlayerMenus::stopPressed);
    m_playAction = control->addAction(tr("&Play/Pause"), QKeySequence(Qt::CTRL | Qt::Key_F10), this,
                                      &PlayerMenus::playPressed);
    m_prevAction = control->addAction(tr("P&revious  Track"), QKeySequence(Qt::CTRL | Qt::Key_F11),
                                      this, &PlayerMenus::prevPressed);
    m_nextAction = control->addAction(tr("&Next Track"), QKeySequence(Qt::CTRL | Qt::Key_F12), this,
                                      &PlayerMenus::nextPressed);

    QMenu *playlist = bar->addMenu(tr("&Playlist"));
    m_addAction = playlist->addAction(tr("&Add"), QKeySequence(Qt::CTRL | Qt::Key_N), this, [this] {
        emit playlistEditRequested(QStringLiteral("add"));
    });
    m_editAction =
        playlist->addAction(tr("&Edit"), QKeySequence(Qt::CTRL | Qt::Key_E), this,
                            [this] { emit playlistEditRequested(QStringLiteral("edit")); });
    m_removeAction =
        playlist->addAction(tr("&Remove"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete),
                            this, [this] { emit playlistEditRequested(QStringLiteral("remove")); });
    playlist->addSeparator();
    m_favoritesAction = playlist->addAction(
        tr("Add To &Favorites"), QKeySequence(Qt::CTRL | Qt::Key_D), this, [this] {
            if (m_engine && m_engine->currentIndex() >= 0)
                emit favoritesRequested({m_engine->currentIndex()});
        });

    QMenu *help = bar->addMenu(tr("&Help"));
    help->addAction(tr("&Help Topics"), QKeySequence(Qt::Key_F1), this,
                    &PlayerMenus::helpRequested);
    help->addSeparator();
    QAction *about = help->addAction(tr("&About"), QKeySequence(Qt::CTRL | Qt::Key_F1), this,
                                     &PlayerMenus::aboutRequested);
    about->setObjectName(QStringLiteral("AboutAction"));
}

void PlayerMenus::fillRecentImages(QMenu *menu)
{
    menu->clear();
    for (const QString &path : std::as_const(m_settings.recentImages)) {
        QString text = QDir::toNativeSeparators(path);
        QAction *action = menu->addAction(text.replace(QLatin1Char('&'), QLatin1String("&&")));
        connect(action, &QAction::triggered, this,
                [this, path] { emit recentImageRequested(path); });
    }
    // A menu filled only when it opens could never open while empty.
    if (menu->isEmpty())
        menu->addAction(tr("(none)"))->setEnabled(false);
}

void PlayerMenus::buildTimePopup(QWidget *parent)
{
    m_timePopup = new QMenu(parent);
    m_timePopup->setObjectName(QStringLiteral("TimePopup"));
    m_timeModes = new QActionGroup(this);
    const QString modes[] = {tr("Track &Elapsed"), tr("Track &Remaining"), QString(),
                             tr("Playlist E&lapsed"), tr("Playlist Re&maining")};
    int mode = 0;
    for (const QString &text : modes) {
        if (text.isEmpty()) {
            m_timePopup->addSeparator();
            continue;
        }
        QAction *action = m_timePopup->addAction(text);
        action->setCheckable(true);
        action->setData(mode++);
        m_timeModes->addAction(action);
    }
    connect(m_timePopup, &QMenu::aboutToShow, this, [this] {
        const int shown = qBound(0, m_settings.timeFormat, 3);
        for (QAction *action : m_timeModes->actions())
            action->setChecked(action->data().toInt() == shown);
    });
    connect(m_timeModes, &QActionGroup::triggered, this, [this](QAction *action) {
        m_settings.timeFormat = action->data().toInt();
        emit timeFormatChanged();
    });
}

void PlayerMenus::buildPlayPopup(QWidget *parent)
{
    m_playPopup = new QMenu(parent);
    auto *order = new QActionGroup(this);
    m_normalAction = m_playPopup->addAction(tr("&Normal"));
    m_randomAction = m_playPopup->addAction(tr("&Random"));
    for (QAction *a : {m_normalAction, m_randomAction}) {
        a->setCheckable(true);
        order->addAction(a);
    }
    connect(m_playPopup, &QMenu::aboutToShow, this, [this] {
        const bool random = m_settings.GetOptionFlag(_GLOB_OPTION_RANDOMORDER);
        m_randomAction->setChecked(random);
        m_normalAction->setChecked(!random);
    });
    for (QAction *a : {m_normalAction, m_randomAction}) {
        connect(a, &QAction::triggered, this, [this, a] {
            m_settings.SetOptionFlag(_GLOB_OPTION_RANDOMORDER, a == m_randomAction);
            emit playOrderChanged();
        });
    }
}

void PlayerMenus::buildPlaylistPopups(QWidget *parent)
{
    m_playlistPopup = new QMenu(parent);
    m_playlistPopup->setObjectName(QStringLiteral("PlaylistPopup"));
    m_playlistPopup->addAction(tr("&Play"), this,
                               [this] { emit playRowRequested(m_list->currentRow()); });
    m_playlistPopup->addAction(tr("&Add To Favorites"), this, [this] {
        QList<int> rows;
        for (QListWidgetItem *item : m_list->selectedItems())
            rows.append(m_list->row(item));
        std::sort(rows.begin(), rows.end());
        emit favoritesRequested(rows);
    });
    m_playlistPopup->addSeparator();
    m_playlistPopup->addAction(tr("&Delete"), this,
                               [this] { emit deleteRowRequested(m_list->currentRow()); });
    m_playlistPopup->addSeparator();
    m_playlistPopup->addAction(tr("P&roperties"), this,
                               [this] { emit playlistEditRequested(QStringLiteral("step")); });
    connect(m_playlistPopup, &QMenu::aboutToShow, this, [this] {
        const bool any = m_list->currentRow() >= 0;
        for (QAction *a : m_playlistPopup->actions())
            a->setEnabled(any);
    });

    m_tabPopup = new QMenu(parent);
    m_tabPopup->addAction(tr("&Shuffle"), this, &PlayerMenus::shuffleRequested);
    m_tabPopup->addAction(tr("&Revert"), this, [this] {
        if (m_engine)
            StepListEditor(*m_engine).revert();
        emit albumChanged();
    });
    m_tabPopup->addAction(tr("&Edit"), this,
                          [this] { emit playlistEditRequested(QStringLiteral("edit")); });
    m_tabPopup->addSeparator();
    m_tabPopup->addAction(tr("&Remove"), this,
                          [this] { emit playlistEditRequested(QStringLiteral("remove")); });
}

void PlayerMenus::buildOtherPopups(QWidget *parent)
{
    m_weblinkMenu = new QMenu(parent);
    m_weblinkMenu->setObjectName(QStringLiteral("WeblinkMenu"));
    const QString searches[] = {tr("Artist &Purchases"), tr("Artist &Information"),
                                tr("Artist P&erformances")};
    for (int i = 0; i < 3; ++i)
        m_searchMenus[i] = m_weblinkMenu->addMenu(searches[i]);
    m_weblinkMenu->addSeparator();
    m_addSiteAction = m_weblinkMenu->addAction(tr("&Add Current Site"));
    m_addSiteAction->setObjectName(QStringLiteral("AddCurrentSiteAction"));
    m_weblinkMenu->addSeparator();

    m_drivePopup = new QMenu(parent);
    m_drivePopup->setObjectName(QStringLiteral("DrivePopup"));
    connect(m_drivePopup, &QMenu::aboutToShow, this, [this] { fillDriveMenu(m_drivePopup); });

    // Both items open the disc's folder: the desktop's file manager has one way to show it.
    m_driveContextMenu = new QMenu(parent);
    m_driveContextMenu->setObjectName(QStringLiteral("DriveContextMenu"));
    QAction *open =
        m_driveContextMenu->addAction(tr("&Open"), this, &PlayerMenus::driveFolderRequested);
    QAction *explore =
        m_driveContextMenu->addAction(tr("&Explore"), this, &PlayerMenus::driveFolderRequested);
    connect(m_driveContextMenu, &QMenu::aboutToShow, this, [this, open, explore] {
        const bool drive = m_engine && !m_engine->currentDrive().isNull();
        open->setEnabled(drive);
        explore->setEnabled(drive);
    });

    // The desktop's output until the machine's outputs are listed; its line name is empty.
    m_volumePopup = new QMenu(parent);
    m_volumePopup->setObjectName(QStringLiteral("VolumePopup"));
    QAction *output = m_volumePopup->addAction(tr("&Default output"));
    output->setCheckable(true);
    output->setChecked(true);

    m_trayPopup = new QMenu(parent);
    m_trayPopup->setObjectName(QStringLiteral("TrayPopup"));
    connect(m_trayPopup, &QMenu::aboutToShow, this, &PlayerMenus::fillTrayMenu);
}

QString PlayerMenus::volumeLine() const
{
    for (QAction *action : m_volumePopup->actions()) {
        if (action->isChecked())
            return action->data().toString();
    }
    return {};
}

void PlayerMenus::applyEnabled(const PlayerDisplay::Enabled &enabled)
{
    m_propertiesAction->setEnabled(enabled.audio);
    m_ejectAction->setEnabled(enabled.drive);
    m_stopAction->setEnabled(enabled.steps);
    m_playAction->setEnabled(enabled.steps);
    m_prevAction->setEnabled(enabled.steps);
    m_nextAction->setEnabled(enabled.steps && enabled.next);
    m_addAction->setEnabled(enabled.audio);
    m_editAction->setEnabled(enabled.audio && enabled.custom);
    m_removeAction->setEnabled(enabled.audio && enabled.custom);
    m_favoritesAction->setEnabled(enabled.hasCurrent);
}

void PlayerMenus::fillDriveMenu(QMenu *menu)
{
    menu->clear();
    if (!m_engine)
        return;
    const QString letters = m_engine->driveLetters();
    if (letters.size() >= 2 && m_settings.GetOptionFlag(_GLOB_OPTION_CHANGERCOMPAT)) {
        menu->addAction(tr("&Refresh"), this, [this] {
            if (m_engine->playing())
                m_engine->stop();
            m_engine->refreshDriveIds();
        });
        menu->addSeparator();
    } else {
        m_engine->refreshDriveIds();
    }
    if (m_engine->noDrive())
        return;
    auto *group = new QActionGroup(menu);
    const bool titles = m_settings.GetOptionFlag(_GLOB_OPTION_SHOWALBUMTITLES);
    for (QChar letter : letters) {
        const DriveDiscLabel label = titles ? m_engine->driveLabel(letter) : DriveDiscLabel{};
        QAction *action = menu->addAction(DriveMenuCaption(letter, titles, label));
        action->setCheckable(true);
        action->setChecked(letter == m_engine->currentDrive());
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, letter] { chooseDrive(letter); });
    }
}

void PlayerMenus::chooseDrive(QChar letter)
{
    if (!m_engine || letter == m_engine->currentDrive() ||
        !m_engine->driveLetters().contains(letter))
        return;
    if (m_engine->playing())
        m_engine->stop();
    if (!m_engine->closeDrive()) {
        qCInfo(lcPlayer) << "Unable to close drive.";
        return;
    }
    if (!m_engine->openDrive(letter))
        qCInfo(lcPlayer) << "Unable to open drive" << letter;
    emit albumChanged();
}

QStringList PlayerMenus::driveMenuTexts()
{
    QMenu menu;
    fillDriveMenu(&menu);
    QStringList texts;
    for (QAction *action : menu.actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

void PlayerMenus::fillJumpMenu(QMenu *menu)
{
    menu->clear();
    if (!m_engine || !m_engine->audioPresent())
        return;
    const PlayerDisplay display(m_engine, m_settings);
    for (const auto &playlist : std::as_const(m_engine->current().playlists)) {
        const bool isCurrent =
            playlist->title.compare(m_engine->currentPlaylist(), Qt::CaseInsensitive) == 0;
        QMenu *sub = menu->addMenu(playlist->title);
        sub->menuAction()->setCheckable(true);
        sub->menuAction()->setChecked(isCurrent);
        const QList<TStep> steps = isCurrent ? m_engine->list() : playlist->steps;
        auto *group = new QActionGroup(sub);
        for (int i = 0; i < steps.size(); ++i) {
            QString title = steps.at(i).title.trimmed();
            if (title.isEmpty())
                title = m_engine->current().album.trackTitles[qBound(
                    0, display.trackOfFrame(steps.at(i).start), AlbumInfo::MaxTracks)];
            QAction *action = sub->addAction(title);
            action->setCheckable(true);
            action->setChecked(isCurrent && i == m_engine->currentIndex());
            group->addAction(action);
            const QString name = playlist->title;
            connect(action, &QAction::triggered, this, [this, name, i] {
                StepListEditor(*m_engine).jumpTo(name, i);
                emit albumChanged();
            });
        }
    }
}

void PlayerMenus::fillTrayMenu()
{
    m_trayPopup->clear();
    // The items follow the main menu's, which follow the buttons.
    auto add = [this](const QString &text, QAction *like, auto signal) {
        QAction *a = m_trayPopup->addAction(text, this, signal);
        if (like)
            a->setEnabled(like->isEnabled());
    };
    add(tr("&Eject"), m_ejectAction, &PlayerMenus::ejectPressed);
    add(tr("&Stop"), m_stopAction, &PlayerMenus::stopPressed);
    add(tr("&Play/Pause"), m_playAction, &PlayerMenus::playPressed);
    add(tr("P&revious Track"), m_prevAction, &PlayerMenus::prevPressed);
    add(tr("&Next Track"), m_nextAction, &PlayerMenus::nextPressed);
    m_trayPopup->addSeparator();
    QMenu *web = m_trayPopup->addMenu(tr("&WebLink"));
    web->setObjectName(QStringLiteral("TrayWeblinkMenu"));
    web->setEnabled(m_engine && !m_engine->current().webLinks.isEmpty());
    emit trayWeblinkMenuBuilt(web);
    QMenu *jump = m_trayPopup->addMenu(tr("&Jump"));
    jump->setEnabled(m_engine && m_engine->audioPresent());
    fillJumpMenu(jump);
    QMenu *drive = m_trayPopup->addMenu(tr("&Drive"));
    drive->setEnabled(m_engine && !m_engine->noDrive());
    fillDriveMenu(drive);
    m_trayPopup->addSeparator();
    add(tr("&Album Properties"), m_propertiesAction, &PlayerMenus::propertiesRequested);
    add(tr("&Collection"), m_collectionAction, &PlayerMenus::collectionRequested);
    add(tr("&Options"), nullptr, &PlayerMenus::optionsRequested);
    m_trayPopup->addSeparator();
    add(tr("&Close"), nullptr, &PlayerMenus::closeRequested);
}

} // namespace Orbisong
