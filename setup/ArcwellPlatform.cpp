#include "ArcwellPlatform.h"

#include "ProfileFile.h"
#include "RegistryFile.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace Orbisong {

namespace {

const QString LocalMachine = QStringLiteral("HKEY_LOCAL_MACHINE");
const QString ClassesRoot = QStringLiteral("HKEY_CLASSES_ROOT");

QString registryFile(const QString &folder)
{
    return folder + QStringLiteral("/registry.ini");
}

} // namespace

const char *const ArcwellPlatform::ShellExtensionClassIds[3] = {
    "{6C1B93E2-4F0A-4D57-9B21-0E7A5C3D8F14}",
    "{6C1B93E3-4F0A-4D57-9B21-0E7A5C3D8F14}",
    "{6C1B93E4-4F0A-4D57-9B21-0E7A5C3D8F14}",
};

ArcwellPlatform::ArcwellPlatform(const QString &folder) : m_folder(folder)
{
}

QString ArcwellPlatform::defaultFolder()
{
    const QString configured = qEnvironmentVariable("ARCWELL_PLATFORM_DIR");
    if (!configured.isEmpty())
        return configured;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/arcwell-platform");
}

QString ArcwellPlatform::zipExtensionProgram() const
{
    return ProfileFile(m_folder + QStringLiteral("/win.ini"))
        .readString(QStringLiteral("extensions"), QStringLiteral("zip"), QString());
}

QString ArcwellPlatform::fileManagerExtension() const
{
    const QString profile = m_folder + QStringLiteral("/winfile.ini");
    if (!QFileInfo::exists(profile))
        return {};
    QSettings settings(profile, QSettings::IniFormat);
    return settings.value(QStringLiteral("AddOns/Arcwell")).toString();
}

void ArcwellPlatform::removeFileManagerExtension()
{
    QSettings settings(m_folder + QStringLiteral("/winfile.ini"), QSettings::IniFormat);
    settings.remove(QStringLiteral("AddOns/Arcwell"));
}

void ArcwellPlatform::setAlwaysUnloadDll()
{
    RegistryFile store(registryFile(m_folder), LocalMachine);
    store.writeString(
        QStringLiteral("SOFTWARE/Microsoft/Windows/CurrentVersion/Explorer/AlwaysUnloadDLL"),
        QStringLiteral("Default"), QStringLiteral("1"));
    store.sync();
}

void ArcwellPlatform::removeShellExtensionRegistration()
{
    RegistryFile store(registryFile(m_folder), ClassesRoot);
    for (const char *id : ShellExtensionClassIds)
        store.deleteKey(QStringLiteral("CLSID/") + QLatin1String(id));
    const char *const handlers[] = {
        "Arcwell/shellex/DropHandler",
        "Directory/shellex/DragDropHandlers/Arcwell",
        "Drive/shellex/DragDropHandlers/Arcwell",
        "Folder/shellex/DragDropHandlers/Arcwell",
        "*/shellex/ContextMenuHandlers/Arcwell",
        "Folder/shellex/ContextMenuHandlers/Arcwell",
        "Directory/shellex/ContextMenuHandlers/Arcwell",
    };
    for (const char *key : handlers)
        store.deleteKey(QLatin1String(key));
    store.sync();
}

void ArcwellPlatform::disableShellExtension()
{
    QSettings settings(m_folder + QStringLiteral("/arcwell32.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("fm/shlExt"), QStringLiteral("0"));
}

bool canOpenExclusively(const QString &path)
{
    if (!QFileInfo::exists(path))
        return true;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

} // namespace Orbisong
