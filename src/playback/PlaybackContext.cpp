#include "playback/PlaybackContext.h"

namespace Orbisong {

PlaybackContext &playback()
{
    static PlaybackContext context;
    return context;
}

void resetPlayback()
{
    PlaybackContext &c = playback();
    PlaybackContext fresh;
    fresh.drives = c.drives;
    fresh.settings = c.settings;
    fresh.collection = c.collection;
    fresh.listener = c.listener;
    c = std::move(fresh);
}

} // namespace Orbisong
