#include "CaptureFileOps.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <fcntl.h>

namespace Orbisong {

bool allocateCaptureFile(const QString &path, qint64 bytes)
{
    if (path.isEmpty() || bytes < 0)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    if (bytes == 0)
        return file.resize(0);
    // A real reservation where the file system supports one; a sparse size otherwise.
    if (posix_fallocate(file.handle(), 0, bytes) == 0)
        return true;
    return file.resize(bytes);
}

bool copyCaptureFile(const QString &source, const QString &target)
{
    if (source.isEmpty() || target.isEmpty())
        return false;
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        return QFileInfo::exists(source);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return false;
        }
    }
    return out.commit();
}

qint64 freeSpaceFor(const QString &path)
{
    QString folder = QFileInfo(path).absolutePath();
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            return -1;
        folder = parent;
    }
    const QStorageInfo storage(folder);
    if (!storage.isValid())
        return -1;
    return storage.bytesAvailable();
}

qint64 captureFileSize(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? info.size() : 0;
}

} // namespace Orbisong
