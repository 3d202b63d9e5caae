#include "app/AlbumWindows.h"

#include "collection/CurrentAlbum.h"
#include "collection/Settings.h"
#include "player/DiscRecognizer.h"
#include "player/PlayerEngine.h"
#include "ui/album/TAlbumPropertiesForm.h"
#include "ui/album/TAlbumWizard.h"
#include "ui/player/TPlayerForm.h"

namespace Orbisong {

AlbumWindows::AlbumWindows(TPlayerForm *player, PlayerEngine *engine, Collection *collection,
                           const Settings &settings, QObject *parent)
    : QObject(parent), m_player(player), m_engine(engine), m_collection(collection),
      m_settings(settings), m_registry(collection)
{
    connect(player, &TPlayerForm::propertiesRequested, this, [this] {
        if (m_engine && m_engine->audioPresent())
            showProperties(m_engine->current().disc.id);
    });
    connect(player, &TPlayerForm::closing, this, &AlbumWindows::closeAll);
    if (m_engine)
        connect(m_engine, &PlayerEngine::discLeaving, this, &AlbumWindows::closeWizards);
    player->recognizer()->setAlbumWizard(
        [this](const RecognitionSequence::Request &request, std::function<void(int)> report) {
            if (!showWizard(request.discId.toUpper(), report))
                report(RecognitionSequence::NotFound);
        });
}

AlbumWindows::~AlbumWindows()
{
    m_player->recognizer()->setAlbumWizard({});
    for (const QPointer<QWidget> &window : std::as_const(m_windows))
        delete window.data();
}

void AlbumWindows::setLookups(RunningLookups *lookups, const QStringList &localFolders)
{
    m_lookups = lookups;
    m_localFolders = localFolders;
}

TAlbumPropertiesForm *AlbumWindows::showProperties(const QString &albumId)
{
    if (!m_collection || albumId.isEmpty())
        return nullptr;
    if (auto *open = dynamic_cast<TAlbumPropertiesForm *>(
            m_registry.find(AlbumWindowRegistry::Properties, albumId))) {
        open->raise();
        open->activateWindow();
        return open;
    }
    auto *form =
        new TAlbumPropertiesForm(*m_collection, albumId, m_settings.customFields, m_player);
    if (!form->isLoaded()) {
        delete form;
        return nullptr;
    }
    form->setAttribute(Qt::WA_DeleteOnClose);
    if (m_opener)
        form->setLinkOpener(m_opener);
    if (m_asker)
        form->setLinkAsker(m_asker);
    m_registry.add(AlbumWindowRegistry::Properties, albumId, form);
    AlbumWindow *registered = form;
    connect(form, &QObject::destroyed, this, [this, registered] { m_registry.remove(registered); });
    m_windows.append(form);
    form->show();
    return form;
}

TAlbumWizard *AlbumWindows::showWizard(const QString &albumId, std::function<void(int)> report)
{
    if (!m_collection || albumId.isEmpty())
        return nullptr;
    auto *wizard =
        dynamic_cast<TAlbumWizard *>(m_registry.find(AlbumWindowRegistry::Wizard, albumId));
    if (!wizard) {
        wizard = new TAlbumWizard(*m_collection, m_settings, albumId, m_player);
        wizard->setAttribute(Qt::WA_DeleteOnClose);
        wizard->setQuestionPort(m_questions);
        m_registry.add(AlbumWindowRegistry::Wizard, albumId, wizard);
        AlbumWindow *registered = wizard;
        connect(wizard, &QObject::destroyed, this,
                [this, registered] { m_registry.remove(registered); });
        // The wizard's own lookups, so their outcome is told by the wizard, not the player.
        auto *lookups = new DiscRecognizer(m_settings, wizard);
        lookups->setLookups(m_lookups);
        lookups->setLocalCddbFolders(m_localFolders);
        connect(wizard, &TAlbumWizard::localLookupRequested, lookups,
                [this, lookups](const QString &id) { lookups->lookUpLocal(discFor(id)); });
        connect(wizard, &TAlbumWizard::remoteLookupRequested, lookups,
                [this, lookups, wizard](const QString &id) {
                    if (!lookups->lookUpRemote(discFor(id)))
                        wizard->lookupFinished(RecognitionSequence::Failed);
                });
        connect(lookups, &DiscRecognizer::lookupFinished, wizard,
                [wizard](int, int result) { wizard->lookupFinished(result); });
        connect(wizard, &TAlbumWizard::submitRequested, this, &AlbumWindows::submitRequested);
        m_windows.append(wizard);
    }
    if (report) {
        connect(wizard, &QDialog::finished, this, [report](int result) {
            report(result == QDialog::Accepted ? RecognitionSequence::Found
                                               : RecognitionSequence::NotFound);
        });
    }
    wizard->show();
    wizard->raise();
    return wizard;
}

DiscInfo AlbumWindows::discFor(const QString &albumId) const
{
    if (m_engine && m_engine->current().disc.id.compare(albumId, Qt::CaseInsensitive) == 0)
        return m_engine->current().disc;
    DiscInfo disc;
    disc.id = albumId.toUpper();
    return disc;
}

void AlbumWindows::closeWizards()
{
    for (const QPointer<QWidget> &window : std::as_const(m_windows)) {
        if (auto *wizard = qobject_cast<TAlbumWizard *>(window.data()))
            wizard->reject();
    }
}

void AlbumWindows::closeAll()
{
    for (const QPointer<QWidget> &window : std::as_const(m_windows)) {
        if (window)
            window->close();
    }
}

} // namespace Orbisong
