#include "base/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

#ifndef ORBISONG_SHARE_DIR
#define ORBISONG_SHARE_DIR ""
#endif

namespace Orbisong {

namespace {

QString &shareFolderOverride()
{
    static QString folder;
    return folder;
}

QString homeOverride()
{
    return qEnvironmentVariable("ORBISONG_HOME");
}

} // namespace

QString AppPaths::dataFolder()
{
    QString folder = homeOverride();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                 + QStringLiteral("/orbisong");
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    QDir().mkpath(folder);
    return folder;
}

QString AppPaths::settingsFile()
{
    const QString home = homeOverride();
    if (!home.isEmpty())
        return dataFolder() + QStringLiteral("/orbisong.ini");
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/orbisong/orbisong.ini");
}

QString AppPaths::shareFolder()
{
    if (!shareFolderOverride().isEmpty())
        return shareFolderOverride();
    // An installed program finds its files beside itself in ../share/orbisong; a program
    // run from the build tree uses the source tree's data folder.
    const QString installed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/orbisong");
    if (QFileInfo::exists(installed))
        return QDir::cleanPath(installed);
    return QStringLiteral(ORBISONG_SHARE_DIR);
}

void AppPaths::setShareFolder(const QString &folder)
{
    shareFolderOverride() = folder;
}

QString AppPaths::shippedFile(const QString &relativePath)
{
    const QString own = dataFolder() + QLatin1Char('/') + relativePath;
    if (QFileInfo::exists(own))
        return own;
    const QString shipped = shareFolder() + QLatin1Char('/') + relativePath;
    if (QFileInfo::exists(shipped))
        return shipped;
    return own;
}

QString AppPaths::windowsFolder()
{
    return dataFolder();
}

QString sanitizeLoginName(const QString &raw)
{
    QString name;
    for (const QChar c : raw) {
        const ushort u = c.unicode();
        if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z')
            || u == '_' || u == '.')
            name.append(c);
    }
    return name.isEmpty() ? QStringLiteral("Nologin") : name;
}

QString loginName()
{
    QString raw = qEnvironmentVariable("USER");
    if (raw.isEmpty()) {
        if (const passwd *entry = getpwuid(getuid()))
            raw = QString::fromLocal8Bit(entry->pw_name);
    }
    return sanitizeLoginName(raw);
}

} // namespace Orbisong
