#pragma once

#include "player/TBrowserControl.h"
#include "ui/album/AlbumWebLinksPage.h"
#include "ui/weblink/TWeblinkForm.h"

#include <QObject>

class QMenu;

namespace Orbisong {

class Collection;
class PlayerEngine;
class QuestionPort;
class TPlayerForm;
struct Settings;

// The player's web links: the album's links and the artist searches in the weblink
// button's menu, the tray's "&WebLink" submenu, "&Add Current Site", and the browser that
// opens links for them and for the album properties window.
class WebLinkMenus : public QObject
{
    Q_OBJECT

public:
    WebLinkMenus(TPlayerForm *player, PlayerEngine *engine, Collection *collection,
                 Settings &settings, QuestionPort *questions);

    TBrowserControl &browsers() { return m_browsers; }
    // Opens a link of the album properties window.
    AlbumWebLinksPage::LinkOpener linkOpener();
    // "&New" of the album properties window: the link dialog with empty fields.
    AlbumWebLinksPage::LinkAsker linkAsker();
    // How the page the browser shows is learnt; by default the browser is asked.
    void setPageAsker(TWeblinkForm::PageAsker asker) { m_asker = std::move(asker); }

    // Replaces the links this object put in `menu` with the current album's.
    void fillLinks(QMenu *menu);
    // "&Add Current Site".
    void addCurrentSite();

private:
    void fillSearches();
    void storeLink(const QString &title, const QString &address, bool allArtist);

    TPlayerForm *m_player;
    PlayerEngine *m_engine;
    Collection *m_collection;
    Settings &m_settings;
    QuestionPort *m_questions;
    TBrowserControl m_browsers;
    TWeblinkForm::PageAsker m_asker;
};

} // namespace Orbisong
