#include "export/ExportPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace Orbisong::ExportPaths {

namespace {

// The canonical form of a path that may not exist yet: its folder's canonical path and its
// own name, or the file's canonical path when it exists (following a final link).
QString canonical(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = info.absoluteDir().canonicalPath();
    if (folder.isEmpty())
        return QDir::cleanPath(info.absoluteFilePath());
    return folder + QLatin1Char('/') + info.fileName();
}

} // namespace

QString safeFileName(const QString &name)
{
    QString safe;
    safe.reserve(name.size());
    for (const QChar c : name) {
        const bool bad = c.unicode() < 32 || c.unicode() == 127 || c == QLatin1Char('/') ||
                         c == QLatin1Char('\\') || c == QLatin1Char(':') || c == QLatin1Char('*') ||
                         c == QLatin1Char('?') || c == QLatin1Char('"') || c == QLatin1Char('<') ||
                         c == QLatin1Char('>') || c == QLatin1Char('|');
        safe.append(bad ? QLatin1Char('_') : c);
    }
    if (safe.trimmed().isEmpty() || safe == QLatin1String(".") || safe == QLatin1String(".."))
        return {};
    return safe;
}

QString pathInside(const QString &folder, const QString &name)
{
    const QString root = QFileInfo(folder).canonicalFilePath();
    if (root.isEmpty() || name.isEmpty())
        return {};
    const QString path = root + QLatin1Char('/') + name;
    const QFileInfo info(path);
    if (info.isSymLink() || info.exists()) {
        // Writing replaces the file the link points to, so that one must be inside too.
        const QString target = info.exists() ? info.canonicalFilePath() : QString();
        if (target.isEmpty() || QFileInfo(target).absolutePath() != root)
            return {};
        if (info.isDir())
            return {};
    }
    if (QFileInfo(QDir::cleanPath(path)).absolutePath() != root)
        return {};
    return path;
}

bool isSameFile(const QString &target, const QString &protectedFile)
{
    if (target.isEmpty() || protectedFile.isEmpty())
        return false;
    return canonical(target) == canonical(protectedFile);
}

bool saveWhole(const QString &path, const QByteArray &bytes, const QString &protectedFile,
               QString *error)
{
    if (isSameFile(path, protectedFile)) {
        *error = QStringLiteral("%1 is the collection file itself").arg(path);
        return false;
    }
    if (!QFileInfo(path).absoluteDir().exists()) {
        *error = QStringLiteral("the folder of %1 does not exist").arg(path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace Orbisong::ExportPaths
