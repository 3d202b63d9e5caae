#include "collection/SettingsSession.h"

#include "base/AppPaths.h"

namespace Orbisong {

SettingsSession::SettingsSession(const QStringList &driveLetters)
    : m_store(AppPaths::settingsFile(), SettingsStore::defaultRootKey())
    , m_settings(Settings::defaults(AppPaths::dataFolder(), loginName(), driveLetters.value(0)))
{
    LoadSettings(m_store, m_settings);
}

bool SettingsSession::save()
{
    SaveSettings(m_store, m_settings);
    return m_store.sync();
}

} // namespace Orbisong
