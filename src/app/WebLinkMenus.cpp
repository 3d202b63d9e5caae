#include "app/WebLinkMenus.h"

#include "app/AudioOutputMenu.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "collection/Collection.h"
#include "collection/CurrentAlbum.h"
#include "collection/Settings.h"
#include "player/PlayerEngine.h"
#include "player/TWeblinkList.h"
#include "player/WebLinkSearch.h"
#include "ui/player/PlayerMenus.h"
#include "ui/player/TCursorStack.h"
#include "ui/player/TPlayerForm.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QMenu>

namespace Orbisong {

namespace {

const QChar LinkSeparator(14);

} // namespace

WebLinkMenus::WebLinkMenus(TPlayerForm *player, PlayerEngine *engine, Collection *collection,
                           Settings &settings, QuestionPort *questions)
    : m_player(player), m_engine(engine), m_collection(collection), m_settings(settings),
      m_questions(questions), m_browsers(settings),
      m_asker([this](QString *address, QString *title) {
          return m_browsers.currentPage(address, title);
      })
{
    m_browsers.setDesktopOpener([](const QUrl &url) { return QDesktopServices::openUrl(url); });
    m_browsers.startup();
    PlayerMenus *menus = player->menus();
    QMenu *menu = menus->weblinkMenu();
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        fillSearches();
        fillLinks(menu);
    });
    connect(menus, &PlayerMenus::trayWeblinkMenuBuilt, this, &WebLinkMenus::fillLinks);
    connect(menus->addCurrentSiteAction(), &QAction::triggered, this,
            &WebLinkMenus::addCurrentSite);
    // The volume bar's menu is the other list the player fills from the machine.
    new AudioOutputMenu(menus->volumePopup(), settings);
}

AlbumWebLinksPage::LinkOpener WebLinkMenus::linkOpener()
{
    return [this](const WebLinkItem &link) { m_browsers.openAddress(link.address, link.flags); };
}

AlbumWebLinksPage::LinkAsker WebLinkMenus::linkAsker()
{
    return [this](WebLinkItem *link) {
        TWeblinkForm form(tr("Add WebLink"),
                          tr("Please enter the title and URL of the site that you want the new "
                             "WebLink to refer to."),
                          QApplication::activeWindow());
        form.setQuestionPort(m_questions);
        form.setPageAsker(m_asker);
        m_player->suspendStayOnTop();
        const bool accepted = form.exec() == QDialog::Accepted;
        m_player->resumeStayOnTop();
        if (!accepted)
            return false;
        link->title = form.title();
        link->address = form.address();
        return true;
    };
}

void WebLinkMenus::fillLinks(QMenu *menu)
{
    for (QAction *action : menu->actions()) {
        if (TWeblinkList::isTag(action->data().toInt())) {
            menu->removeAction(action);
            delete action;
        }
    }
    const TWeblinkList list(m_engine->current().webLinks);
    for (const TWeblinkList::Entry &entry : list.menuEntries()) {
        QString text = entry.title;
        QAction *action = menu->addAction(text.replace(QLatin1Char('&'), QLatin1String("&&")));
        action->setData(TWeblinkList::tagFor(entry.index));
        if (entry.isDefault) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
        }
        const WebLinkItem link = list.links().at(entry.index);
        connect(action, &QAction::triggered, this,
                [this, link] { m_browsers.openAddress(link.address, link.flags); });
    }
}

void WebLinkMenus::fillSearches()
{
    const QString profiles[] = {m_settings.purchaseLinks, m_settings.informationLinks,
                                m_settings.performanceLinks};
    const CurrentAlbum &current = m_engine->current();
    const QString artist = current.album.artist.trimmed();
    const bool searchable = m_engine->audioPresent() && !artist.isEmpty();
    for (int i = 0; i < 3; ++i) {
        QMenu *menu = m_player->menus()->searchMenu(i);
        menu->clear();
        for (const SearchSite &site : ParseSearchProfile(profiles[i])) {
            if (site.isSeparator()) {
                menu->addSeparator();
                continue;
            }
            const QString address = site.address;
            menu->addAction(site.caption, this,
                            [this, address, artist] { m_browsers.openTemplate(address, artist); });
        }
        menu->setEnabled(searchable && !menu->isEmpty());
    }
}

void WebLinkMenus::addCurrentSite()
{
    QString address;
    QString title;
    if (!m_asker(&address, &title) || address.isEmpty()) {
        askOrDefault(m_questions, Msg::WebBrowserUnavailable);
        return;
    }
    TWeblinkForm form(tr("Add WebLink"),
                      tr("Before you add a link to this site, you should verify that the "
                         "following information is correct. You can make necessary changes "
                         "here."),
                      m_player);
    form.setQuestionPort(m_questions);
    form.setPageAsker(m_asker);
    form.setLink(title, address);
    form.setAllArtistEnabled(true);
    m_player->suspendStayOnTop();
    const bool accepted = form.exec() == QDialog::Accepted;
    m_player->resumeStayOnTop();
    if (!accepted || form.address().isEmpty())
        return;
    const QString shownTitle = form.title().isEmpty() ? form.address() : form.title();
    const BusyCursor busy(*m_player->cursorStack());
    storeLink(shownTitle, form.address(), form.allArtist());
}

void WebLinkMenus::storeLink(const QString &title, const QString &address, bool allArtist)
{
    const QString item = address + LinkSeparator + title + LinkSeparator + QLatin1Char('0');
    const CurrentAlbum &current = m_engine->current();
    if (!m_collection || current.disc.id.isEmpty())
        return;
    if (!m_collection->OpenCollectionFile())
        return;
    if (allArtist) {
        const QString artist = current.album.artist;
        for (const AlbumIndexNode *node : m_collection->albums()) {
            if (node->artist.compare(artist, Qt::CaseInsensitive) == 0)
                m_collection->SetAlbumWebLinks(node->id, item, false);
        }
    } else {
        m_collection->SetAlbumWebLinks(current.disc.id, item, false);
    }
    m_collection->CloseCollection();
}

} // namespace Orbisong
