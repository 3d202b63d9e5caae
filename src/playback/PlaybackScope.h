#pragma once

namespace Orbisong {

class PlayerListener;
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
    // An option bit of the current context's settings; false without settings.
    static bool option(int bit);
    // The current context's listener, or one that ignores every notice.
    static PlayerListener &listener();

private:
    PlaybackContext *m_previous;
};

} // namespace Orbisong
