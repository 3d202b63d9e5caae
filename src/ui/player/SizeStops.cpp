#include "ui/player/SizeStops.h"

namespace Orbisong {

SizeStops SizeStops::compute(const Metrics &m)
{
    const int base = m.menu + m.caption + m.frame;
    SizeStops s;
    const int miniUpper = m.caption + m.frame + m.mini;
    const int controlsUpper = base + m.controls + m.details / 2;
    const int detailsUpper = base + m.controls + m.details + m.status / 2;
    const int statusUpper = base + m.controls + m.details + m.status + m.status / 2 + m.edit;
    s.stops[Mini] = {-1, miniUpper, miniUpper + 3, m.miniWidth};
    s.stops[Controls] = {miniUpper, controlsUpper, base + m.controls + 4, m.fullWidth};
    s.stops[Details] = {controlsUpper, detailsUpper, base + m.controls + m.details + 4,
                        m.fullWidth};
    s.stops[Status] = {detailsUpper, statusUpper, base + m.controls + m.details + m.status + 4,
                       m.fullWidth};
    s.stops[Playlist] = {statusUpper, -1, -1, m.fullWidth};
    return s;
}

int SizeStops::match(int height) const
{
    for (int i = Playlist; i >= Mini; --i) {
        const Stop &stop = stops[i];
        if ((stop.lower < 0 || height > stop.lower) && (stop.upper < 0 || height <= stop.upper))
            return i;
    }
    return Playlist;
}

int SizeStops::snappedHeight(int height) const
{
    const Stop &stop = stops[match(height)];
    return stop.height < 0 ? height : stop.height;
}

} // namespace Orbisong
