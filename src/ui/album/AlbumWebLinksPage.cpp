#include "ui/album/AlbumWebLinksPage.h"

#include "collection/AlbumDraft.h"
#include "player/TBrowserControl.h"

#include <QAction>
#include <QDesktopServices>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

constexpr int BrowserFlags = WebLinkFirstBrowser | WebLinkSecondBrowser;

} // namespace

AlbumWebLinksPage::AlbumWebLinksPage(QWidget *parent)
    : AlbumPage(parent), m_opener([](const WebLinkItem &link) {
          // Only web addresses: a stored link may come from an imported file.
          const QUrl url = TBrowserControl::openableUrl(link.address);
          if (url.isValid())
              QDesktopServices::openUrl(url);
      })
{
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LinkList"));
    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("URLEdit"));
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("LinkTitleEdit"));
    m_firstBrowser = new QRadioButton(tr("Open with Netscape &Navigator."), this);
    m_firstBrowser->setObjectName(QStringLiteral("FirstBrowserRadio"));
    m_secondBrowser = new QRadioButton(tr("Open with Microsoft Internet &Explorer."), this);
    m_secondBrowser->setObjectName(QStringLiteral("SecondBrowserRadio"));
    m_defaultBrowser = new QRadioButton(tr("Open with &default browser."), this);
    m_defaultBrowser->setObjectName(QStringLiteral("DefaultBrowserRadio"));

    auto *menu = new QMenu(this);
    m_new = menu->addAction(tr("&New"), this, &AlbumWebLinksPage::addLink);
    m_open = menu->addAction(tr("&Open"), this, &AlbumWebLinksPage::openLink);
    m_delete = menu->addAction(tr("&Delete"), this, &AlbumWebLinksPage::deleteLink);
    auto *menuButton = new QToolButton(this);
    menuButton->setObjectName(QStringLiteral("WebLinkMenuButton"));
    menuButton->setText(tr("WebLink"));
    menuButton->setMenu(menu);
    menuButton->setPopupMode(QToolButton::InstantPopup);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint &at) { menu->popup(m_list->mapToGlobal(at)); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &AlbumWebLinksPage::openLink);

    auto *form = new QFormLayout;
    form->addRow(tr("&URL:"), m_address);
    form->addRow(tr("&Title:"), m_title);
    auto *top = new QHBoxLayout;
    top->addStretch(1);
    top->addWidget(menuButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addLayout(form);
    for (QRadioButton *radio : {m_firstBrowser, m_secondBrowser, m_defaultBrowser}) {
        layout->addWidget(radio);
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                editLink();
        });
    }

    connect(m_list, &QListWidget::currentRowChanged, this, &AlbumWebLinksPage::showLink);
    connect(m_address, &QLineEdit::textEdited, this, &AlbumWebLinksPage::editLink);
    connect(m_title, &QLineEdit::textEdited, this, &AlbumWebLinksPage::editLink);
}

void AlbumWebLinksPage::load(const AlbumDraft &draft)
{
    m_links = draft.webLinks;
    fillList(qMax(0, m_list->currentRow()));
}

void AlbumWebLinksPage::save(AlbumDraft &draft)
{
    draft.webLinks = m_links;
}

void AlbumWebLinksPage::fillList(int row)
{
    m_list->clear();
    for (const WebLinkItem &link : std::as_const(m_links))
        m_list->addItem(link.title);
    m_list->setCurrentRow(qMin(row, int(m_links.size()) - 1));
    showLink(m_list->currentRow());
}

void AlbumWebLinksPage::showLink(int row)
{
    m_showing = true;
    const bool valid = row >= 0 && row < m_links.size();
    const WebLinkItem link = valid ? m_links.at(row) : WebLinkItem();
    m_address->setText(link.address);
    m_title->setText(link.title);
    if (link.flags & WebLinkFirstBrowser)
        m_firstBrowser->setChecked(true);
    else if (link.flags & WebLinkSecondBrowser)
        m_secondBrowser->setChecked(true);
    else
        m_defaultBrowser->setChecked(true);
    for (QWidget *widget :
         {static_cast<QWidget *>(m_address), static_cast<QWidget *>(m_title),
          static_cast<QWidget *>(m_firstBrowser), static_cast<QWidget *>(m_secondBrowser),
          static_cast<QWidget *>(m_defaultBrowser)})
        widget->setEnabled(valid);
    m_open->setEnabled(valid);
    m_delete->setEnabled(valid);
    m_showing = false;
}

void AlbumWebLinksPage::editLink()
{
    const int row = m_list->currentRow();
    if (m_showing || row < 0 || row >= m_links.size())
        return;
    WebLinkItem &link = m_links[row];
    link.address = m_address->text();
    link.title = m_title->text();
    int browser = 0;
    if (m_firstBrowser->isChecked())
        browser = WebLinkFirstBrowser;
    else if (m_secondBrowser->isChecked())
        browser = WebLinkSecondBrowser;
    link.flags = (link.flags & ~BrowserFlags) | browser;
    m_list->item(row)->setText(link.title);
    emit changed();
}

void AlbumWebLinksPage::addLink()
{
    WebLinkItem link;
    if (m_asker) {
        // A link is added only with an address; its title falls back to the address.
        if (!m_asker(&link) || link.address.trimmed().isEmpty())
            return;
        if (link.title.trimmed().isEmpty())
            link.title = link.address;
    } else {
        link.title = tr("Add WebLink");
    }
    m_links.append(link);
    fillList(int(m_links.size()) - 1);
    m_address->setFocus();
    emit changed();
}

void AlbumWebLinksPage::openLink()
{
    const int row = m_list->currentRow();
    if (row >= 0 && row < m_links.size() && !m_links.at(row).address.trimmed().isEmpty())
        m_opener(m_links.at(row));
}

void AlbumWebLinksPage::deleteLink()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_links.size())
        return;
    m_links.removeAt(row);
    fillList(row);
    emit changed();
}

} // namespace Orbisong
