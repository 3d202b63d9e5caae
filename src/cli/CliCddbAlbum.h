#pragma once

#include "collection/Collection.h"
#include "collection/DiscInfo.h"
#include "collection/SettingsSession.h"

#include <memory>

namespace Orbisong {
struct FoundAlbum;
}

namespace Orbisong::Cli {

// The collection a lookup or entry command writes to, with its album made when missing.
class CddbAlbumSession
{
public:
    // The collection's questions and errors go to `questions`.
    CddbAlbumSession(const QString &collectionPath, QuestionPort &questions);
    ~CddbAlbumSession();

    Settings &settings() { return m_session.settings(); }
    Collection &collection() { return *m_collection; }
    // The table of contents new albums get; without it only the track count is known.
    void setDisc(const QList<int> &trackStarts, int leadOut);
    // Maps a found entry onto the album, made first when it is missing, and writes the album
    // whole so that a new one keeps everything the entry gave it. False when the entry was
    // not applied.
    bool applyEntry(const QString &albumId, const QString &category, int source,
                    const QString &entry);
    // The same for an album found elsewhere (CD-Text, MusicBrainz), with its year and
    // release id.
    bool applyFound(const QString &albumId, int source, const FoundAlbum &album);
    bool close();
    // Makes the album when the collection does not have it yet; false when it cannot.
    bool ensureAlbum(const QString &albumId);

private:
    DiscInfo discOf(const QString &albumId) const;
    void storeAlbum(const QString &albumId);

    SettingsSession m_session;
    QList<int> m_trackStarts;
    int m_leadOut = 0;
    std::unique_ptr<Collection> m_collection;
};

} // namespace Orbisong::Cli
