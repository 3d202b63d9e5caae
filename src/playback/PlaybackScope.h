#pragma once

namespace Orbisong {

struct PlaybackContext;

// Installs a context for the OB4MCI_ and OB4CTRL_ routines while it lives, and puts back the
// one installed before it when it ends, so scopes nest. The routines keep the design's
// argument lists, so they find their context here rather than in a parameter; running one
// outside every scope is a programming error. Main thread only.
class PlaybackScope
{
public:
    explicit PlaybackScope(PlaybackContext &context);
    ~PlaybackScope();

    PlaybackScope(const PlaybackScope &) = delete;
    PlaybackScope &operator=(const PlaybackScope &) = delete;

    // The context of the innermost scope.
    static PlaybackContext &current();

private:
    PlaybackContext *m_previous;
};

} // namespace Orbisong
