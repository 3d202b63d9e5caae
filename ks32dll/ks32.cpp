#include "ks32.h"

#include "KeySender.h"

using Orbisong::KeySender;

#define KS32_EXPORT extern "C" __attribute__((visibility("default")))

KS32_EXPORT int SendKeys(const char *text)
{
    return KeySender::instance().sendKeys(text);
}

KS32_EXPORT int PauseKeys(int flag)
{
    return KeySender::instance().pauseKeys(flag);
}

KS32_EXPORT void QuitSendKeys(void)
{
    KeySender::instance().quitSendKeys();
}

KS32_EXPORT int KeysPlaying(void)
{
    return KeySender::instance().playing() ? 1 : 0;
}
