#include "playback/PlaybackScope.h"

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

} // namespace Orbisong
