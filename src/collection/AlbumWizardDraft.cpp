#include "collection/AlbumWizardDraft.h"

#include "collection/AlbumInfo.h"
#include "collection/AlbumText.h"
#include "collection/Collection.h"
#include "collection/CurrentAlbum.h"

namespace Orbisong {

AlbumWizardDraft::AlbumWizardDraft(const QString &albumId, const QDate &today)
    : year(QString::number(today.year())), owner(defaultOwner()), m_albumId(albumId.toUpper())
{
    const int count = trackCountOf(m_albumId);
    for (int n = 1; n <= count; ++n)
        tracks.append({QStringLiteral("Track ") + QString::number(n), QString(), 0});
}

int AlbumWizardDraft::trackCountOf(const QString &albumId)
{
    bool ok = false;
    const int count = albumId.mid(6, 2).toInt(&ok, 16);
    return ok && albumId.size() >= 8 ? qMin(count, int(AlbumInfo::MaxTracks)) : 0;
}

void AlbumWizardDraft::takeEntry(int entryRevision, const QString &entryArtist,
                                 const QString &entryTitle, const QString &entryCategory,
                                 int entrySource, const QString &trackTitles,
                                 const QString &trackNotes)
{
    revision = entryRevision;
    title = entryTitle;
    artist = entryArtist;
    category = entryCategory;
    source = entrySource;
    takeTrackList(tracks, trackTitles, false);
    takeTrackList(tracks, trackNotes, true);
}

void AlbumWizardDraft::finish(Collection &collection) const
{
    const QString &id = m_albumId;
    collection.OpenCollectionFile();
    int flags = 0;
    const CurrentAlbum *current = collection.currentAlbum();
    if (current && current->disc.id.compare(id, Qt::CaseInsensitive) == 0)
        flags = current->album.flags;
    else if (const AlbumIndexNode *node = collection.FindAlbum(id))
        flags = node->flags;
    collection.SetAlbumTrackTitle(id, -1, trackTitleList(tracks));
    collection.SetAlbumTrackNote(id, -1, trackNoteList(tracks));
    collection.SetAlbumArtist(id, artist);
    collection.SetAlbumBinder(id, binder);
    collection.SetAlbumCategory(id, category);
    collection.SetAlbumCopyright(id, copyright);
    collection.SetAlbumFlags(id, withLastNameFirst(flags, lastNameFirst));
    collection.SetAlbumIndex(id, index);
    collection.SetAlbumOwner(id, owner);
    collection.SetAlbumRevision(id, revision);
    collection.SetAlbumTitle(id, title);
    collection.SetAlbumYear(id, year);
    collection.SetAlbumSource(id, source);
    collection.CloseCollection();
}

} // namespace Orbisong
