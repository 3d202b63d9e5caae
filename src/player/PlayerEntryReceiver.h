#pragma once

#include "cddb/CollectionEntryReceiver.h"

namespace Orbisong {

class Collection;
class PlayerEngine;

// Takes found CDDB entries for the player: the album in the drive is updated at once, and
// the stored album through the collection's setters. The lookups are handed it through their
// RunningLookups.
class PlayerEntryReceiver : public CddbEntryReceiver
{
public:
    PlayerEntryReceiver(PlayerEngine *engine, Collection *collection);

    // An open album window for the entry's album takes it instead of the album.
    void setWindowHook(CollectionEntryReceiver::WindowHook hook) { m_windowHook = std::move(hook); }

    bool handToWindow(const QString &albumId, const QString &category, const QStringList &lines,
                      int source) override;
    bool applyToAlbum(const QString &albumId, const CddbAlbumFields &fields) override;
    bool applyRelease(const QString &albumId, const QString &year,
                      const QString &releaseId) override;

private:
    PlayerEngine *m_engine;
    Collection *m_collection;
    CollectionEntryReceiver::WindowHook m_windowHook;
};

} // namespace Orbisong
