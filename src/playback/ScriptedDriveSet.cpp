#include "playback/ScriptedDriveSet.h"

namespace Orbisong {

ScriptedDevice &ScriptedDriveSet::addDrive(QChar letter)
{
    auto device = std::make_shared<ScriptedDevice>();
    m_drives.insert(letter.toUpper(), device);
    return *device;
}

QString ScriptedDriveSet::letters() const
{
    QString result;
    for (auto it = m_drives.cbegin(); it != m_drives.cend(); ++it)
        result += it.key();
    return result;
}

std::shared_ptr<CdDevice> ScriptedDriveSet::open(QChar letter, int *error, QString *errorText)
{
    letter = letter.toUpper();
    const auto device = m_drives.value(letter);
    const int failure = m_openFailures.value(letter, 0);
    if (!device || failure) {
        *error = failure ? failure : CdDevice::ErrorHardware;
        *errorText = device ? device->errorText(*error) : QStringLiteral("There is no such drive.");
        return nullptr;
    }
    ++m_openCounts[letter];
    return device;
}

} // namespace Orbisong
