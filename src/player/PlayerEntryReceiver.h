#pragma once

#include "cddb/CddbApply.h"

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

    bool applyToAlbum(const QString &albumId, const CddbAlbumFields &fields) override;

private:
    PlayerEngine *m_engine;
    Collection *m_collection;
};

} // namespace Orbisong
