#include "app/PlaylistWindows.h"

#include "base/QuestionPort.h"
#include "collection/PlaylistRules.h"
#include "player/PlayerEngine.h"
#include "player/PlaylistEditor.h"
#include "ui/player/TPlayerForm.h"
#include "ui/player/TPlaylistList.h"
#include "ui/playlist/TPlaylistForm.h"
#include "ui/playlist/TPlaylistWizard.h"
#include "ui/playlist/TStepPropertiesForm.h"

namespace Orbisong {

PlaylistWindows::PlaylistWindows(TPlayerForm *player, PlayerEngine *engine, QuestionPort *questions,
                                 QObject *parent)
    : QObject(parent), m_player(player), m_engine(engine), m_questions(questions)
{
    connect(player, &TPlayerForm::playlistEditRequested, this, &PlaylistWindows::onRequest);
    connect(player, &TPlayerForm::stepsDroppedOnPlaylist, this,
            &PlaylistWindows::onStepsDroppedOnPlaylist);
    connect(player, &TPlayerForm::stepsDroppedOnRemove, this,
            &PlaylistWindows::onStepsDroppedOnRemove);
    if (engine) {
        connect(engine, &PlayerEngine::discLeaving, this, &PlaylistWindows::closeAll);
        connect(engine, &PlayerEngine::playlistEditorsClosing, this,
                &PlaylistWindows::closeEditors);
    }
}

PlaylistWindows::~PlaylistWindows()
{
    // Deleted now, while the player they suspend floating for is still there.
    delete m_wizard;
    delete m_playlistForm;
    const auto stepForms = m_stepForms;
    for (const QPointer<TStepPropertiesForm> &form : stepForms)
        delete form;
}

void PlaylistWindows::setModalHooks(std::function<void()> enter, std::function<void()> leave)
{
    m_enter = std::move(enter);
    m_leave = std::move(leave);
}

TPlaylistWizard *PlaylistWindows::wizard() const
{
    return m_wizard;
}

TPlaylistForm *PlaylistWindows::playlistForm() const
{
    return m_playlistForm;
}

QList<TStepPropertiesForm *> PlaylistWindows::stepForms() const
{
    QList<TStepPropertiesForm *> forms;
    for (const QPointer<TStepPropertiesForm> &form : m_stepForms) {
        if (form)
            forms.append(form);
    }
    return forms;
}

void PlaylistWindows::onRequest(const QString &what)
{
    if (what == QLatin1String("add"))
        openWizard();
    else if (what == QLatin1String("edit"))
        openPlaylistForm();
    else if (what == QLatin1String("remove"))
        removePlaylist();
    else if (what == QLatin1String("step"))
        openStepProperties();
}

bool PlaylistWindows::editable() const
{
    return m_engine && m_engine->audioPresent();
}

void PlaylistWindows::showWindow(QWidget *window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (m_enter)
        m_enter();
    connect(window, &QObject::destroyed, this, [this] {
        if (m_leave)
            m_leave();
    });
    window->show();
    window->raise();
    window->activateWindow();
}

void PlaylistWindows::openWizard()
{
    if (!editable())
        return;
    if (m_wizard) {
        m_wizard->raise();
        m_wizard->activateWindow();
        return;
    }
    m_wizard = new TPlaylistWizard(m_engine->current(), m_questions, m_player);
    m_wizard->setWindowFlag(Qt::Window);
    connect(m_wizard, &QDialog::accepted, this, &PlaylistWindows::onWizardFinished);
    showWindow(m_wizard);
}

void PlaylistWindows::onWizardFinished()
{
    if (!m_wizard || !editable())
        return;
    QList<int> tracks = m_wizard->tracks();
    if (m_wizard->shuffle())
        ShuffleTracks(tracks, m_random);
    const QString title = m_wizard->title();
    if (const int refused = PlaylistEditor(*m_engine).addPlaylist(title, tracks))
        askOrDefault(m_questions, refused, title);
    m_player->refreshAll();
}

void PlaylistWindows::openPlaylistForm()
{
    if (!editable())
        return;
    const auto playlist = PlaylistEditor(*m_engine).currentCustomPlaylist();
    if (!playlist)
        return;
    if (m_playlistForm && m_playlistForm->playlist() == playlist) {
        m_playlistForm->raise();
        m_playlistForm->activateWindow();
        return;
    }
    if (m_playlistForm)
        m_playlistForm->close();
    m_playlistForm = new TPlaylistForm(*m_engine, playlist, m_questions, m_player);
    m_playlistForm->setWindowFlag(Qt::Window);
    connect(m_playlistForm, &TPlaylistForm::applied, m_player, &TPlayerForm::refreshAll);
    showWindow(m_playlistForm);
}

void PlaylistWindows::removePlaylist()
{
    if (editable() && PlaylistEditor(*m_engine).removeCurrentPlaylist())
        m_player->refreshAll();
}

void PlaylistWindows::openStepProperties()
{
    if (!editable())
        return;
    const int row = m_player->playlistList()->currentRow();
    if (row < 0 || row >= m_engine->list().size())
        return;
    const int serial = m_engine->list().at(row).serial();
    if (QPointer<TStepPropertiesForm> open = m_stepForms.value(serial)) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto *form = new TStepPropertiesForm(*m_engine, serial, m_player);
    form->setWindowFlag(Qt::Window);
    m_stepForms.insert(serial, form);
    connect(form, &TStepPropertiesForm::stepChanged, m_player, &TPlayerForm::refreshAll);
    connect(form, &QObject::destroyed, this, [this, serial] { m_stepForms.remove(serial); });
    showWindow(form);
}

void PlaylistWindows::onStepsDroppedOnPlaylist(const QString &playlist, const QList<int> &rows)
{
    if (editable() && PlaylistEditor(*m_engine).copyStepsTo(playlist, rows) > 0)
        m_player->refreshAll();
}

void PlaylistWindows::onStepsDroppedOnRemove(const QList<int> &rows)
{
    if (editable() && PlaylistEditor(*m_engine).deleteSteps(rows) > 0)
        m_player->refreshAll();
}

void PlaylistWindows::closeEditors()
{
    if (m_playlistForm)
        m_playlistForm->close();
    const auto stepForms = m_stepForms;
    for (const QPointer<TStepPropertiesForm> &form : stepForms) {
        if (form)
            form->close();
    }
}

void PlaylistWindows::closeAll()
{
    closeEditors();
    if (m_wizard)
        m_wizard->close();
}

} // namespace Orbisong
