#pragma once

#include "collection/WebLinkItem.h"
#include "ui/album/AlbumPage.h"

#include <functional>

class QAction;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace Orbisong {

// "WebLinks": the album's links, the address, title and browser of the selected one, and
// the menu that adds, opens and deletes links.
class AlbumWebLinksPage : public AlbumPage
{
    Q_OBJECT

public:
    // Opens a link in the browser its flags choose.
    using LinkOpener = std::function<void(const WebLinkItem &link)>;
    // Asks the user for a new link's title and address; false when the user cancelled.
    using LinkAsker = std::function<bool(WebLinkItem *link)>;

    explicit AlbumWebLinksPage(QWidget *parent = nullptr);

    void load(const AlbumDraft &draft) override;
    void save(AlbumDraft &draft) override;

    void setLinkOpener(LinkOpener opener) { m_opener = std::move(opener); }
    // Without an asker "&New" adds a link titled "Add WebLink" to be filled in on the page.
    void setLinkAsker(LinkAsker asker) { m_asker = std::move(asker); }
    QAction *newAction() const { return m_new; }
    QAction *openAction() const { return m_open; }
    QAction *deleteAction() const { return m_delete; }

private:
    void fillList(int row);
    void showLink(int row);
    void editLink();
    void addLink();
    void openLink();
    void deleteLink();

    WebLinkList m_links;
    bool m_showing = false;
    LinkOpener m_opener;
    LinkAsker m_asker;
    QListWidget *m_list = nullptr;
    QLineEdit *m_address = nullptr;
    QLineEdit *m_title = nullptr;
    QRadioButton *m_firstBrowser = nullptr;
    QRadioButton *m_secondBrowser = nullptr;
    QRadioButton *m_defaultBrowser = nullptr;
    QAction *m_new = nullptr;
    QAction *m_open = nullptr;
    QAction *m_delete = nullptr;
};

} // namespace Orbisong
