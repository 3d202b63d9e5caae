#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRandomGenerator>

#include <functional>

namespace Orbisong {

class PlayerEngine;
class QuestionPort;
class TPlayerForm;
class TPlaylistForm;
class TPlaylistWizard;
class TStepPropertiesForm;

// Opens the playlist windows for the player: the wizard for "add", the playlist window for
// "edit", the item windows for "step", removes the current playlist for "remove", and takes
// the steps dragged onto a tab or the remove button. The windows close when another
// playlist becomes current and when the disc leaves the drive.
class PlaylistWindows : public QObject
{
    Q_OBJECT

public:
    PlaylistWindows(TPlayerForm *player, PlayerEngine *engine, QuestionPort *questions,
                    QObject *parent = nullptr);
    ~PlaylistWindows() override;

    // Called around every window shown, so the player can suspend floating above it.
    void setModalHooks(std::function<void()> enter, std::function<void()> leave);
    // The random source of the wizard's shuffle.
    void setShuffleSeed(quint32 seed) { m_random.seed(seed); }

    void openWizard();
    void openPlaylistForm();
    void removePlaylist();
    // The item window for the selected step of the player's list.
    void openStepProperties();
    void closeEditors();
    void closeAll();

    TPlaylistWizard *wizard() const;
    TPlaylistForm *playlistForm() const;
    QList<TStepPropertiesForm *> stepForms() const;

private:
    void onRequest(const QString &what);
    void onWizardFinished();
    void onStepsDroppedOnPlaylist(const QString &playlist, const QList<int> &rows);
    void onStepsDroppedOnRemove(const QList<int> &rows);
    bool editable() const;
    void showWindow(QWidget *window);

    TPlayerForm *m_player;
    PlayerEngine *m_engine;
    QuestionPort *m_questions;
    QRandomGenerator m_random{QRandomGenerator::securelySeeded()};
    std::function<void()> m_enter;
    std::function<void()> m_leave;
    QPointer<TPlaylistWizard> m_wizard;
    QPointer<TPlaylistForm> m_playlistForm;
    // Open item windows by the serial of their step.
    QHash<int, QPointer<TStepPropertiesForm>> m_stepForms;
};

} // namespace Orbisong
