#include "LocalDriveSet.h"

#include "CdioDevice.h"

#include <QDir>
#include <QFileInfo>

namespace Orbisong {

LocalDriveSet::LocalDriveSet(const QStringList &discImages, bool realDrives)
{
    QStringList sources;
    if (realDrives) {
        const QDir dev(QStringLiteral("/dev"));
        for (const QString &name : dev.entryList({QStringLiteral("sr*")}, QDir::System,
                                                 QDir::Name))
            sources.append(dev.filePath(name));
    }
    for (const QString &image : discImages)
        sources.append(QFileInfo(image).absoluteFilePath());
    QChar letter(u'D');
    for (const QString &source : std::as_const(sources)) {
        if (letter > u'Z')
            break;
        m_sources.append({letter, source});
        letter = QChar(letter.unicode() + 1);
    }
}

QString LocalDriveSet::letters() const
{
    QString out;
    for (const auto &entry : m_sources)
        out += entry.first;
    return out;
}

QChar LocalDriveSet::letterOf(const QString &source) const
{
    const QString path = QFileInfo(source).absoluteFilePath();
    for (const auto &entry : m_sources) {
        if (entry.second == path)
            return entry.first;
    }
    return {};
}

std::shared_ptr<CdDevice> LocalDriveSet::open(QChar letter, int *error, QString *errorText)
{
    for (const auto &entry : m_sources) {
        if (entry.first != letter.toUpper())
            continue;
        auto device = std::make_shared<CdioDevice>(entry.second);
        QString why;
        if (device->isOpen(&why))
            return device;
        if (error)
            *error = CdDevice::ErrorHardware;
        if (errorText)
            *errorText = why;
        return nullptr;
    }
    if (error)
        *error = CdDevice::ErrorHardware;
    if (errorText)
        *errorText = QStringLiteral("no such drive");
    return nullptr;
}

} // namespace Orbisong
