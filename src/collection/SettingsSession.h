#pragma once

#include "collection/Settings.h"
#include "collection/SettingsStore.h"

namespace Orbisong {

// The settings of the current data folder: the store and the record loaded from it with
// the defaults of this user and machine.
class SettingsSession
{
public:
    explicit SettingsSession(const QStringList &driveLetters = {});

    SettingsStore &store() { return m_store; }
    Settings &settings() { return m_settings; }
    bool save();

private:
    SettingsStore m_store;
    Settings m_settings;
};

} // namespace Orbisong
