#pragma once

#include <array>

namespace Orbisong {

// The heights the player window snaps to while its border is dragged, from mini mode to the
// full window with its playlist.
struct SizeStops
{
    struct Metrics
    {
        int menu = 0;    // menu bar height
        int caption = 0; // title bar height
        int frame = 0;   // frame height
        int mini = 0;    // panel heights
        int controls = 0;
        int details = 0;
        int status = 0;
        int edit = 0;
        int miniWidth = 0;
        int fullWidth = 0;
    };
    struct Stop
    {
        int lower;  // exclusive; -1: open
        int upper;  // inclusive; -1: open
        int height; // -1: free
        int width;
    };
    enum { Mini = 0, Controls, Details, Status, Playlist, Count };

    static SizeStops compute(const Metrics &m);
    // The stop whose range holds a dragged height (checked from the largest down).
    int match(int height) const;
    // The window height to use for a dragged height.
    int snappedHeight(int height) const;

    std::array<Stop, Count> stops{};
};

} // namespace Orbisong
