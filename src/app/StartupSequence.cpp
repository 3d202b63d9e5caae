#include "app/StartupSequence.h"

#include "app/AlbumWindows.h"
#include "app/CollectionWindows.h"
#include "app/DesktopIntegration.h"
#include "app/EventScripts.h"
#include "app/ExitSignals.h"
#include "app/ExportWindows.h"
#include "app/OptionsWindows.h"
#include "app/PlaylistWindows.h"
#include "app/PrintWindows.h"
#include "app/RecognitionExtras.h"
#include "app/SetupWindows.h"
#include "app/SubmitWindows.h"
#include "app/WebLinkMenus.h"
#include "base/AppPaths.h"
#include "base/MessageIds.h"
#include "cddb/RunningLookups.h"
#include "collection/Collection.h"
#include "collection/Conversion.h"
#include "playback/CdioDriveSet.h"
#include "playback/DemoDisc.h"
#include "playback/Ob4Mci.h"
#include "player/ControllerEngine.h"
#include "player/PlayerEntryReceiver.h"
#include "player/mpris/MprisService.h"
#include "ui/collection/ConversionProgressDialog.h"
#include "ui/lookup/LookupWindows.h"
#include "ui/player/TPlayerForm.h"
#include "ui/player/TQuestionForm.h"
#include "ui/player/TStatusBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <cstdio>

Q_DECLARE_LOGGING_CATEGORY(lcInstance)

namespace Orbisong {

StartupSequence::StartupSequence(const QStringList &arguments, QObject *parent)
    : QObject(parent), m_arguments(arguments)
{
}

StartupSequence::~StartupSequence()
{
    onPlayerClosing();
    m_desktop.reset();
    m_threadWindow.setHandler(nullptr);
    m_eventScripts.reset();
    m_submitWindows.reset();
    m_recognitionExtras.reset();
    m_lookups.reset();
    m_entryReceiver.reset();
    m_albumWindows.reset();
    m_playlistWindows.reset();
    m_setupWindows.reset();
    m_optionsWindows.reset();
    m_webLinks.reset();
    m_player.reset();
    m_engine.reset();
}

bool StartupSequence::start()
{
    if (!m_channel.listen())
        return false;
    connect(&m_channel, &InstanceChannel::handoverReceived, this, &StartupSequence::onHandover);

    m_login = loginName();
    const QString dataFolder = AppPaths::dataFolder();

    // Disc images named on the command line (and the demo disc) become drives after the
    // machine's own; the drive letters are known only once they are counted.
    const StartupSwitches early = parseStartupSwitches(m_arguments, {}, {});
    QStringList images = early.discImages;
    QString demoCddb;
    QString demoFolder;
    if (early.demo) {
        demoFolder = QDir(dataFolder).filePath(QStringLiteral("demo"));
        demoCddb = DemoDisc::cddbFolder(demoFolder);
        if (QFile::exists(DemoDisc::cuePath(demoFolder))) {
            QString error;
            const QString cue = ensureDemoDisc(demoFolder, &error);
            if (!cue.isEmpty())
                images.prepend(cue);
            demoFolder.clear();
        }
    }
    m_drives = std::make_unique<CdioDriveSet>();
    QChar firstImage;
    for (const QString &image : std::as_const(images)) {
        const QChar letter = m_drives->addImage(image);
        if (firstImage.isNull())
            firstImage = letter;
    }
    for (QChar letter : m_drives->letters())
        m_driveLetters.append(QString(letter));
    m_switches = parseStartupSwitches(m_arguments, m_driveLetters, [](const QString &path) {
        return OB4MCI_GetTrackFromFile(path, QString());
    });
    m_askedNoDrive = m_switches.noDrive;
    if (m_driveLetters.isEmpty())
        m_switches.noDrive = true;
    if (m_switches.startDrive.isEmpty() && !firstImage.isNull())
        m_switches.startDrive = QString(firstImage);

    m_session = std::make_unique<SettingsSession>(m_driveLetters);
    RecordProgramStart(m_session->store(), m_session->settings(),
                       QCoreApplication::applicationFilePath());
    m_session->store().sync();
    Settings &settings = m_session->settings();

    // The window exists before the collection opens, so the questions of the conversion and
    // of the first index build open as boxes over it rather than being answered unseen.
    m_player = std::make_unique<TPlayerForm>(settings);
    TPlayerForm *player = m_player.get();
    m_questionPort = std::make_unique<WidgetQuestionPort>(player, [player](bool suspend) {
        if (suspend)
            player->suspendStayOnTop();
        else
            player->resumeStayOnTop();
    });
    QuestionPort *questions = m_questionPort.get();
    openCollection(questions);
    m_engine = std::make_unique<ControllerEngine>(*m_drives, settings, m_collection.get());
    m_engine->setQuestionPort(questions);
    m_engine->setCloseOnEject(m_switches.closeOnEject);
    m_threadWindow.setQuestionPort(questions);
    m_lookupWindows = std::make_unique<LookupWindows>(player, settings);
    m_lookupWindows->setModalHooks([player] { player->suspendStayOnTop(); },
                                   [player] { player->resumeStayOnTop(); });
    m_threadWindow.setHandler(m_lookupWindows.get());

    player->setQuestionPort(questions);
    player->setLogin(m_login);
    QStringList cddbFolders;
    if (!settings.cddbLocalPath.isEmpty())
        cddbFolders.append(settings.cddbLocalPath);
    if (!demoCddb.isEmpty())
        cddbFolders.append(demoCddb);
    player->setLocalCddbFolders(cddbFolders);
    player->setAnimationsEnabled(!m_switches.noAnimations);
    player->setStartRequest(-1, m_switches.startTrack, m_switches.play);
    m_entryReceiver = std::make_unique<PlayerEntryReceiver>(m_engine.get(), m_collection.get());
    m_lookups = std::make_unique<RunningLookups>(m_entryReceiver.get(), &m_threadWindow);
    player->setLookups(m_lookups.get());
    m_albumWindows =
        std::make_unique<AlbumWindows>(player, m_engine.get(), m_collection.get(), settings);
    m_albumWindows->setQuestionPort(questions);
    m_albumWindows->setLookups(m_lookups.get(), cddbFolders);
    m_entryReceiver->setWindowHook(m_albumWindows->registry().hook());
    m_playlistWindows = std::make_unique<PlaylistWindows>(player, m_engine.get(), questions);
    m_playlistWindows->setModalHooks([player] { player->suspendStayOnTop(); },
                                     [player] { player->resumeStayOnTop(); });

    m_eventScripts = std::make_unique<EventScripts>(player, m_engine.get(), m_collection.get(),
                                                    settings, questions);
    m_collectionWindows =
        std::make_unique<CollectionWindows>(player, m_collection.get(), questions);
    connect(m_collectionWindows.get(), &CollectionWindows::propertiesRequested,
            m_albumWindows.get(),
            [this](const QString &id) { m_albumWindows->showProperties(id); });
    m_exportWindows = std::make_unique<ExportWindows>(player, m_collectionWindows.get(),
                                                      m_collection.get(), settings, questions);
    m_printWindows = std::make_unique<PrintWindows>(m_collectionWindows.get(), m_collection.get(),
                                                    questions, player);
    m_printWindows->setCustomFields([&settings] { return settings.customFields; });
    m_setupWindows = std::make_unique<SetupWindows>(player, m_collection.get(), settings);
    m_optionsWindows = std::make_unique<OptionsWindows>(player, settings, questions);
    if (!demoCddb.isEmpty())
        m_optionsWindows->setFixedCddbFolders({demoCddb});
    m_webLinks = std::make_unique<WebLinkMenus>(player, m_engine.get(), m_collection.get(),
                                                settings, questions);
    m_albumWindows->setLinkOpener(m_webLinks->linkOpener());
    m_albumWindows->setLinkAsker(m_webLinks->linkAsker());
    m_submitWindows = std::make_unique<SubmitWindows>(player, m_engine.get(), m_collection.get(),
                                                      settings, questions);
    connect(m_albumWindows.get(), &AlbumWindows::submitRequested, m_submitWindows.get(),
            &SubmitWindows::submit);
    m_recognitionExtras = std::make_unique<RecognitionExtras>(
        player, m_engine.get(), m_drives.get(), m_entryReceiver.get(), &m_threadWindow, settings);

    connect(player, &TPlayerForm::closing, this, &StartupSequence::onPlayerClosing);
    connect(player, &TPlayerForm::discImageRequested, this, &StartupSequence::openDiscImage);
    connect(qApp, &QApplication::aboutToQuit, this, &StartupSequence::onPlayerClosing);
    // Queued: the request comes from inside the engine's call that saw the disc leave.
    connect(m_engine.get(), &ControllerEngine::closeRequested, player, &QWidget::close,
            Qt::QueuedConnection);
    connect(new ExitSignals(this), &ExitSignals::exitRequested, this,
            &StartupSequence::onExitSignal);

    const QChar preferred = m_switches.startDrive.isEmpty() ? QChar() : m_switches.startDrive.at(0);
    m_engine->startup(preferred, m_switches.noDrive);
    player->setEngine(m_engine.get());
    CdioDriveSet *drives = m_drives.get();
    m_desktop = std::make_unique<DesktopIntegration>(
        player, m_engine.get(), settings, [drives](QChar drive) { return drives->source(drive); });
    if (MprisService *mpris = m_desktop->mpris()) {
        connect(m_recognitionExtras.get(), &RecognitionExtras::coverStored, mpris,
                &MprisService::announceChanges);
    }

    placePlayerWindow();
    player->show();
    if (!demoFolder.isEmpty())
        prepareDemoDisc(demoFolder);
    // Start-up measurements: report once the window is up and the collection indexed, then end;
    // "disc" reports the first disc read instead.
    if (qgetenv("ORBISONG_STARTUP_PROBE") == "disc") {
        connect(m_engine.get(), &PlayerEngine::discArrived, this, &StartupSequence::reportDisc);
    } else if (qEnvironmentVariableIsSet("ORBISONG_STARTUP_PROBE")) {
        QTimer::singleShot(0, this, [this] {
            std::printf("shown\n");
            std::fflush(stdout);
            std::printf("indexed %d albums\n", m_collection ? m_collection->albumCount() : 0);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    }
    return true;
}

void StartupSequence::prepareDemoDisc(const QString &folder)
{
    // Rendering the demo album takes a while on the first run; the window stays responsive
    // and the disc appears in its drive when it is written.
    const int status = m_player->statusBox()->add(tr("Preparing the demo disc..."), 0);
    auto result = std::make_shared<QString>();
    QThread *worker = QThread::create([folder, result] {
        QString error;
        *result = ensureDemoDisc(folder, &error);
        if (result->isEmpty())
            qCWarning(lcInstance) << "demo disc:" << error;
    });
    connect(worker, &QThread::finished, this, [this, worker, result, status] {
        worker->deleteLater();
        if (m_closed || !m_player)
            return;
        m_player->statusBox()->remove(status);
        if (result->isEmpty())
            return;
        const QChar letter = m_drives->addImage(*result);
        if (letter.isNull() || m_askedNoDrive)
            return;
        m_switches.noDrive = false;
        m_engine->addDrive(letter);
        m_player->setEngine(m_engine.get());
    });
    worker->start();
}

void StartupSequence::openDiscImage(const QString &path)
{
    const QChar letter = m_drives->addImage(path);
    if (letter.isNull()) {
        m_questionPort->ask(Msg::UnableToOpenDrive, QDir::toNativeSeparators(path),
                            tr("The file is not a CUE, TOC or NRG disc image, or no drive "
                               "letter is left for it."),
                            {});
        return;
    }
    m_askedNoDrive = false;
    m_switches.noDrive = false;
    // Opens the drive when none is open; otherwise only the drive list learns of it.
    m_engine->addDrive(letter);
    if (m_engine->currentDrive() != letter) {
        if (m_engine->playing())
            m_engine->stop();
        if (m_engine->closeDrive())
            m_engine->openDrive(letter);
    }
    if (m_engine->currentDrive() == letter)
        m_session->settings().rememberImage(path);
    m_player->setEngine(m_engine.get());
}

void StartupSequence::openCollection(QuestionPort *questions)
{
    Settings &settings = m_session->settings();
    m_collection = std::make_unique<Collection>(settings);
    m_collection->setQuestionPort(questions);
    // The previous version's albums join the collection before the index is built.
    SettingsStore previous(AppPaths::settingsFile(), SettingsStore::previousVersionRootKey());
    ConversionProgressDialog progress(m_player.get());
    ConvertConfiguration(previous, *m_collection, m_switches.convert, &progress);
    // Loaded and indexed on a thread of its own while the window comes up; the first use of
    // the index waits for it.
    m_collection->startAlbumIndex();
}

void StartupSequence::placePlayerWindow()
{
    const Settings &settings = m_session->settings();
    const WindowPlacement &placement = settings.mainWindow;
    if (placement.height != WindowPlacement::NotSet && placement.height > 0)
        m_player->resize(m_player->width(), placement.height);
    const bool usePosition = settings.GetOptionFlag(_GLOB_OPTION_SAVEPOSITION) &&
                             placement.left != WindowPlacement::NotSet;
    if (usePosition) {
        m_player->move(placement.left, placement.top);
        return;
    }
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        m_player->move(area.center() - m_player->rect().center());
    }
}

void StartupSequence::onHandover(const Handover &handover)
{
    if (m_player) {
        m_player->showNormal();
        m_player->raise();
        m_player->activateWindow();
    }
    if (m_switches.noDrive || !m_player) {
        if (handover.kind != Handover::Raise)
            qCInfo(lcInstance) << "ignored in no-drive mode";
        return;
    }
    if (handover.kind == Handover::Play)
        m_player->playRequest(handover.drive, 0);
    else if (handover.kind == Handover::PlayTrack)
        m_player->playRequest(handover.drive, handover.track);
}

void StartupSequence::onPlayerClosing()
{
    if (m_closed)
        return;
    m_closed = true;
    m_threadWindow.beginClosing();
    if (m_submitWindows)
        m_submitWindows->cancel();
    if (m_engine) {
        m_engine->setClosing(true);
        m_engine->shutdown();
    }
    // The window lets go of the index and stores its state before both go.
    if (m_collectionWindows)
        m_collectionWindows->close();
    if (m_collection)
        m_collection->ShutdownCollection();
    if (!m_player || !m_session)
        return;
    Settings &settings = m_session->settings();
    if (!m_player->isMinimized()) {
        settings.mainWindow.left = m_player->x();
        settings.mainWindow.top = m_player->y();
        settings.mainWindow.height = m_player->height();
    }
    m_session->save();
}

void StartupSequence::onExitSignal(int signalNumber)
{
    qCInfo(lcInstance) << "ending on signal" << signalNumber;
    // A logout or a kill leaves nobody to answer: every part takes the default answers while
    // the player closes the way "E&xit" closes it.
    m_threadWindow.setQuestionPort(nullptr);
    if (m_collection)
        m_collection->setQuestionPort(nullptr);
    if (m_engine)
        m_engine->setQuestionPort(nullptr);
    if (m_player) {
        m_player->setQuestionPort(nullptr);
        m_player->close();
    }
    onPlayerClosing();
    QCoreApplication::exit(0);
}

void StartupSequence::reportDisc()
{
    const CurrentAlbum &current = m_engine->current();
    std::printf("disc %s kind %d %s / %s\n", qPrintable(current.disc.id), current.disc.mediaKind,
                qPrintable(current.album.artist), qPrintable(current.album.title));
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

} // namespace Orbisong
