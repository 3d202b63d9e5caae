#pragma once

#include "collection/Collection.h"
#include "collection/DiscInfo.h"
#include "collection/SettingsSession.h"

#include <memory>

namespace Orbisong::Cli {

// The collection a lookup or entry command writes to, with its album made when missing.
class CddbAlbumSession
{
public:
    explicit CddbAlbumSession(const QString &collectionPath);
    ~CddbAlbumSession();

    Settings &settings() { return m_session.settings(); }
    Collection &collection() { return *m_collection; }
    // The table of contents new albums get; without it only the track count is known.
    void setDisc(const QList<int> &trackStarts, int leadOut);
    // Adds the album to the collection when it is not there yet.
    bool ensureAlbum(const QString &albumId);
    // Writes the album whole so that a new one keeps everything the lookup gave it.
    void storeAlbum(const QString &albumId);
    bool close();

private:
    DiscInfo discOf(const QString &albumId) const;

    SettingsSession m_session;
    QList<int> m_trackStarts;
    int m_leadOut = 0;
    std::unique_ptr<Collection> m_collection;
};

} // namespace Orbisong::Cli
