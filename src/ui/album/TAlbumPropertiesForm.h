#pragma once

#include "collection/AlbumDraft.h"
#include "player/AlbumWindow.h"
#include "ui/album/AlbumWebLinksPage.h"

#include <QDialog>
#include <QList>

class QPushButton;
class QTabWidget;

namespace Orbisong {

class AlbumPage;
class AlbumStatisticsPage;
class Collection;

// "Album Properties": every field of one album on seven pages, written back with the
// collection's setters on "&Apply" and "&OK".
class TAlbumPropertiesForm : public QDialog, public AlbumWindow
{
    Q_OBJECT

public:
    // `customFields` are the custom field names of the settings.
    TAlbumPropertiesForm(Collection &collection, const QString &albumId,
                         const QStringList &customFields, QWidget *parent = nullptr);
    ~TAlbumPropertiesForm() override;

    QString albumId() const { return m_draft.albumId(); }
    // False when the collection does not know the album.
    bool isLoaded() const { return m_loaded; }

    void setLinkOpener(AlbumWebLinksPage::LinkOpener opener);
    void setLinkAsker(AlbumWebLinksPage::LinkAsker asker);
    QTabWidget *pages() const { return m_tabs; }
    QPushButton *applyButton() const { return m_apply; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // Writes the edits when "&Apply" is enabled, then disables it.
    void apply();

    void takeEntry(const CddbAlbumFields &fields) override;
    void albumChanged(int code) override;

private:
    void loadPages();
    void markChanged();
    void clearAll();

    Collection &m_collection;
    AlbumDraft m_draft;
    bool m_loaded = false;
    bool m_loading = false;
    bool m_applying = false;
    QList<AlbumPage *> m_pages;
    AlbumWebLinksPage *m_links = nullptr;
    AlbumStatisticsPage *m_statistics = nullptr;
    QTabWidget *m_tabs = nullptr;
    QPushButton *m_apply = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace Orbisong
