#pragma once

#include "player/AlbumWindowRegistry.h"
#include "ui/album/AlbumWebLinksPage.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

namespace Orbisong {

class Collection;
class PlayerEngine;
class QuestionPort;
class RunningLookups;
class TAlbumPropertiesForm;
class TAlbumWizard;
class TPlayerForm;
struct DiscInfo;
struct Settings;

// Opens the album windows and keeps their registry: the properties window of the album in
// the drive when the player asks for it, of any album for the collection window, and the
// album wizard as the last stage of a new disc's recognition.
class AlbumWindows : public QObject
{
    Q_OBJECT

public:
    AlbumWindows(TPlayerForm *player, PlayerEngine *engine, Collection *collection,
                 const Settings &settings, QObject *parent = nullptr);
    ~AlbumWindows() override;

    void setQuestionPort(QuestionPort *questions) { m_questions = questions; }
    // The lookups the wizard's buttons start, and the local databases they search.
    void setLookups(RunningLookups *lookups, const QStringList &localFolders);
    void setLinkOpener(AlbumWebLinksPage::LinkOpener opener) { m_opener = std::move(opener); }
    void setLinkAsker(AlbumWebLinksPage::LinkAsker asker) { m_asker = std::move(asker); }
    // Hand it to the entry receivers as their window hook.
    AlbumWindowRegistry &registry() { return m_registry; }

    // Shows the properties window of `albumId`, bringing an open one to the front; nullptr
    // when the collection does not know the album.
    TAlbumPropertiesForm *showProperties(const QString &albumId);
    // Shows the wizard for `albumId`; `report` hears "found" when it finishes and "not found"
    // when it is cancelled.
    TAlbumWizard *showWizard(const QString &albumId, std::function<void(int)> report = {});
    void closeAll();

signals:
    // A finished wizard asks for its album to be submitted to the CDDB database.
    void submitRequested(const QString &albumId);

private:
    DiscInfo discFor(const QString &albumId) const;
    void closeWizards();

    TPlayerForm *m_player;
    PlayerEngine *m_engine;
    Collection *m_collection;
    const Settings &m_settings;
    QuestionPort *m_questions = nullptr;
    RunningLookups *m_lookups = nullptr;
    QStringList m_localFolders;
    AlbumWebLinksPage::LinkOpener m_opener;
    AlbumWebLinksPage::LinkAsker m_asker;
    AlbumWindowRegistry m_registry;
    QList<QPointer<QWidget>> m_windows;
};

} // namespace Orbisong
