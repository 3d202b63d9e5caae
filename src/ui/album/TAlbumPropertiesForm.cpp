#include "ui/album/TAlbumPropertiesForm.h"

#include "collection/Collection.h"
#include "ui/album/AlbumCustomPage.h"
#include "ui/album/AlbumDatabasePage.h"
#include "ui/album/AlbumGeneralPage.h"
#include "ui/album/AlbumScriptsPage.h"
#include "ui/album/AlbumStatisticsPage.h"
#include "ui/album/AlbumTracksPage.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace Orbisong {

TAlbumPropertiesForm::TAlbumPropertiesForm(Collection &collection, const QString &albumId,
                                           const QStringList &customFields, QWidget *parent)
    : QDialog(parent), m_collection(collection)
{
    setObjectName(QStringLiteral("TAlbumPropertiesForm"));
    setWindowTitle(tr("Album Properties"));
    m_loaded = m_draft.load(m_collection, albumId);

    m_links = new AlbumWebLinksPage;
    m_statistics = new AlbumStatisticsPage;
    m_tabs = new QTabWidget(this);
    const QList<QPair<AlbumPage *, QString>> pages = {
        {new AlbumGeneralPage(&m_collection), tr("General")},
        {new AlbumCustomPage(customFields), tr("Custom")},
        {new AlbumTracksPage, tr("Tracks")},
        {m_links, tr("WebLinks")},
        {m_statistics, tr("Statistics")},
        {new AlbumScriptsPage, tr("Scripts")},
        {new AlbumDatabasePage, tr("Database")},
    };
    for (const auto &[page, title] : pages) {
        m_tabs->addTab(page, title);
        m_pages.append(page);
        connect(page, &AlbumPage::changed, this, &TAlbumPropertiesForm::markChanged);
    }
    connect(m_statistics, &AlbumStatisticsPage::clearAllRequested, this,
            &TAlbumPropertiesForm::clearAll);

    m_ok = new QPushButton(tr("&OK"), this);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_apply = new QPushButton(tr("&Apply"), this);
    m_apply->setObjectName(QStringLiteral("ApplyButton"));
    m_apply->setEnabled(false);
    connect(m_apply, &QPushButton::clicked, this, &TAlbumPropertiesForm::apply);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        apply();
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_apply);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
    resize(540, 480);
    loadPages();
}

TAlbumPropertiesForm::~TAlbumPropertiesForm() = default;

void TAlbumPropertiesForm::setLinkOpener(AlbumWebLinksPage::LinkOpener opener)
{
    m_links->setLinkOpener(std::move(opener));
}

void TAlbumPropertiesForm::setLinkAsker(AlbumWebLinksPage::LinkAsker asker)
{
    m_links->setLinkAsker(std::move(asker));
}

void TAlbumPropertiesForm::loadPages()
{
    m_loading = true;
    for (AlbumPage *page : std::as_const(m_pages))
        page->load(m_draft);
    m_loading = false;
}

void TAlbumPropertiesForm::markChanged()
{
    if (!m_loading)
        m_apply->setEnabled(true);
}

void TAlbumPropertiesForm::clearAll()
{
    for (AlbumPage *page : std::as_const(m_pages))
        page->save(m_draft);
    m_draft.clearStatistics();
    loadPages();
    markChanged();
}

void TAlbumPropertiesForm::apply()
{
    if (!m_apply->isEnabled() || !m_loaded)
        return;
    for (AlbumPage *page : std::as_const(m_pages))
        page->save(m_draft);
    m_applying = true;
    m_draft.apply(m_collection);
    m_applying = false;
    m_apply->setEnabled(false);
}

// A found entry replaces what it describes; the user still decides with "&Apply".
void TAlbumPropertiesForm::takeEntry(const CddbAlbumFields &fields)
{
    for (AlbumPage *page : std::as_const(m_pages))
        page->save(m_draft);
    m_draft.revision = fields.revision;
    m_draft.artist = fields.artist;
    m_draft.title = fields.title;
    m_draft.category = fields.category;
    m_draft.source = fields.source;
    takeTrackList(m_draft.tracks, fields.trackTitles, false);
    takeTrackList(m_draft.tracks, fields.extendedTrackData, true);
    if (!fields.comments.trimmed().isEmpty())
        m_draft.comments = fields.comments;
    for (const QString &item : fields.webLinks.split(QLatin1Char('\r'), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QChar(14));
        const QString address = parts.value(0).trimmed();
        const bool known = std::any_of(
            m_draft.webLinks.cbegin(), m_draft.webLinks.cend(), [&](const WebLinkItem &link) {
                return link.address.compare(address, Qt::CaseInsensitive) == 0;
            });
        if (!address.isEmpty() && !known)
            m_draft.webLinks.append({parts.value(1, address), address, parts.value(2).toInt()});
    }
    loadPages();
    m_apply->setEnabled(true);
}

// Changes made elsewhere show at once unless the user is editing.
void TAlbumPropertiesForm::albumChanged(int code)
{
    Q_UNUSED(code)
    if (m_applying || m_apply->isEnabled())
        return;
    AlbumDraft fresh;
    if (fresh.load(m_collection, m_draft.albumId())) {
        m_draft = fresh;
        loadPages();
    }
}

} // namespace Orbisong
