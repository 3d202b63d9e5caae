#include "playback/CdioDriveSet.h"

#include "playback/CdioDevice.h"

#include <QFileInfo>

#include <cdio/cdio.h>

namespace Orbisong {

CdioDriveSet::CdioDriveSet(const QStringList &images, const QString &audioSink)
    : m_audioSink(audioSink)
{
    char **devices = cdio_get_devices(DRIVER_DEVICE);
    for (char **d = devices; d && *d; ++d) {
        const QChar letter(char16_t(u'D' + m_order.size()));
        if (letter > QLatin1Char('Z'))
            break;
        m_order += letter;
        m_sources.insert(letter, QString::fromLocal8Bit(*d));
    }
    if (devices)
        cdio_free_device_list(devices);
    for (const QString &image : images)
        addImage(image);
}

QChar CdioDriveSet::addImage(const QString &path)
{
    if (!CdioDevice::isImagePath(path))
        return {};
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (auto it = m_sources.cbegin(); it != m_sources.cend(); ++it) {
        if (it.value() == absolute)
            return it.key();
    }
    const QChar letter(char16_t(u'D' + m_order.size()));
    if (letter > QLatin1Char('Z'))
        return {};
    m_order += letter;
    m_sources.insert(letter, absolute);
    return letter;
}

QString CdioDriveSet::letters() const
{
    return m_order;
}

std::shared_ptr<CdDevice> CdioDriveSet::open(QChar letter, int *error, QString *errorText)
{
    const QString path = source(letter);
    if (path.isEmpty()) {
        *error = CdDevice::ErrorHardware;
        *errorText = QStringLiteral("There is no drive %1:.").arg(letter);
        return nullptr;
    }
    auto device = std::make_shared<CdioDevice>(path, m_audioSink);
    // Some drives cannot be opened while empty; such a drive is opened again when polled.
    if (device->isImage() && !device->isOpen(errorText)) {
        *error = device->openErrorCode();
        return nullptr;
    }
    return device;
}

} // namespace Orbisong
