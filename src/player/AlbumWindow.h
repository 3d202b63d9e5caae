#pragma once

#include "cddb/CddbEntry.h"

namespace Orbisong {

// What an open album wizard or album properties window takes from the rest of the program:
// a database entry found for its album, and the change codes of its stored album.
class AlbumWindow
{
public:
    virtual ~AlbumWindow() = default;
    virtual void takeEntry(const CddbAlbumFields &fields) = 0;
    virtual void albumChanged(int code) { Q_UNUSED(code) }
};

} // namespace Orbisong
