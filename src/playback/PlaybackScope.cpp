#include "playback/PlaybackScope.h"

#include "collection/Settings.h"
#include "playback/PlaybackContext.h"
#include "playback/PlayerListener.h"

#include <QtGlobal>

namespace Orbisong {

namespace {
PlaybackContext *installed = nullptr;
} // namespace

PlaybackScope::PlaybackScope(PlaybackContext &context) : m_previous(installed)
{
    installed = &context;
}

PlaybackScope::~PlaybackScope()
{
    installed = m_previous;
}

PlaybackContext &PlaybackScope::current()
{
    if (!installed)
        qFatal("The device layer ran without a PlaybackScope.");
    return *installed;
}

bool PlaybackScope::option(int bit)
{
    const PlaybackContext &context = current();
    return context.settings && context.settings->GetOptionFlag(bit);
}

PlayerListener &PlaybackScope::listener()
{
    static PlayerListener quiet;
    PlaybackContext &context = current();
    return context.listener ? *context.listener : quiet;
}

} // namespace Orbisong
