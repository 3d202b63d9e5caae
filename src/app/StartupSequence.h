#pragma once

#include "app/CommandLine.h"
#include "app/InstanceChannel.h"
#include "base/ThreadWindow.h"
#include "collection/SettingsSession.h"

#include <QObject>

#include <memory>

namespace Orbisong {

class AlbumWindows;
class Collection;
class CollectionWindows;
class DesktopIntegration;
class CdioDriveSet;
class EventScripts;
class ExportWindows;
class ControllerEngine;
class LookupWindows;
class OptionsWindows;
class PlayerEntryReceiver;
class PlaylistWindows;
class PrintWindows;
class RecognitionExtras;
class QuestionPort;
class RunningLookups;
class SetupWindows;
class SubmitWindows;
class TPlayerForm;
class WebLinkMenus;
class WidgetQuestionPort;

// The first instance's life: start-up in its fixed order, the hand-overs of later starts,
// and the orderly end when the player closes. It creates the program's parts and hands each
// its collaborators: the question port, the lookups with their receiver and thread window.
class StartupSequence : public QObject
{
    Q_OBJECT

public:
    explicit StartupSequence(const QStringList &arguments, QObject *parent = nullptr);
    ~StartupSequence() override;

    // Runs the start-up; false when another instance took the hand-over instead.
    bool start();
    TPlayerForm *player() const { return m_player.get(); }
    AlbumWindows *albumWindows() const { return m_albumWindows.get(); }
    PlaylistWindows *playlistWindows() const { return m_playlistWindows.get(); }
    SetupWindows *setupWindows() const { return m_setupWindows.get(); }
    OptionsWindows *optionsWindows() const { return m_optionsWindows.get(); }
    SubmitWindows *submitWindows() const { return m_submitWindows.get(); }
    RecognitionExtras *recognitionExtras() const { return m_recognitionExtras.get(); }
    DesktopIntegration *desktop() const { return m_desktop.get(); }
    WebLinkMenus *webLinks() const { return m_webLinks.get(); }
    PrintWindows *printWindows() const { return m_printWindows.get(); }

private:
    void onHandover(const Handover &handover);
    void onPlayerClosing();
    // SIGTERM, SIGINT, SIGHUP: the orderly close without questions, then the end.
    void onExitSignal(int signalNumber);
    // The start-up probe "disc": the first disc read, its id, media kind, artist and title.
    void reportDisc();
    void openCollection(QuestionPort *questions);
    void prepareDemoDisc(const QString &folder);
    // "Open Disc Image...": the image becomes a new drive and the player switches to it.
    void openDiscImage(const QString &path);
    void placePlayerWindow();

    QStringList m_arguments;
    QString m_login;
    QStringList m_driveLetters;
    StartupSwitches m_switches;
    std::unique_ptr<SettingsSession> m_session;
    InstanceChannel m_channel;
    ThreadWindow m_threadWindow;
    // Declared before the parts it is handed to, so that it outlives them.
    std::unique_ptr<WidgetQuestionPort> m_questionPort;
    std::unique_ptr<CdioDriveSet> m_drives;
    std::unique_ptr<Collection> m_collection;
    std::unique_ptr<ControllerEngine> m_engine;
    std::unique_ptr<TPlayerForm> m_player;
    std::unique_ptr<PlayerEntryReceiver> m_entryReceiver;
    std::unique_ptr<RunningLookups> m_lookups;
    std::unique_ptr<LookupWindows> m_lookupWindows;
    std::unique_ptr<AlbumWindows> m_albumWindows;
    std::unique_ptr<PlaylistWindows> m_playlistWindows;
    std::unique_ptr<CollectionWindows> m_collectionWindows;
    std::unique_ptr<ExportWindows> m_exportWindows;
    std::unique_ptr<PrintWindows> m_printWindows;
    std::unique_ptr<SetupWindows> m_setupWindows;
    std::unique_ptr<OptionsWindows> m_optionsWindows;
    std::unique_ptr<SubmitWindows> m_submitWindows;
    std::unique_ptr<RecognitionExtras> m_recognitionExtras;
    std::unique_ptr<EventScripts> m_eventScripts;
    std::unique_ptr<DesktopIntegration> m_desktop;
    std::unique_ptr<WebLinkMenus> m_webLinks;
    bool m_askedNoDrive = false;
    bool m_closed = false;
};

} // namespace Orbisong
