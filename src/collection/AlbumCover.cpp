#include "collection/AlbumCover.h"

#include "base/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace Orbisong {

namespace {

const char *const Kinds[] = {"jpg", "png"};

bool safeId(const QString &albumId)
{
    if (albumId.isEmpty())
        return false;
    for (QChar c : albumId) {
        if (!c.isLetterOrNumber())
            return false;
    }
    return true;
}

} // namespace

QString AlbumCover::folder()
{
    return AppPaths::dataFolder() + QStringLiteral("/covers");
}

QString AlbumCover::path(const QString &albumId)
{
    if (!safeId(albumId))
        return {};
    for (const char *kind : Kinds) {
        const QString file = folder() + QLatin1Char('/') + albumId.toUpper() + QLatin1Char('.') +
                             QLatin1String(kind);
        if (QFile::exists(file))
            return file;
    }
    return {};
}

QString AlbumCover::pictureKind(const QByteArray &picture)
{
    if (picture.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("jpg");
    if (picture.startsWith("\x89PNG\r\n\x1A\n"))
        return QStringLiteral("png");
    return {};
}

bool AlbumCover::store(const QString &albumId, const QByteArray &picture, QString *stored,
                       QString *error)
{
    auto failWith = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    const QString kind = pictureKind(picture);
    if (kind.isEmpty())
        return failWith(QStringLiteral("not a JPEG or PNG picture"));
    if (!safeId(albumId))
        return failWith(QStringLiteral("not an album ID: %1").arg(albumId));
    if (!QDir().mkpath(folder()))
        return failWith(QStringLiteral("cannot make %1").arg(folder()));
    const QString base = folder() + QLatin1Char('/') + albumId.toUpper() + QLatin1Char('.');
    QSaveFile file(base + kind);
    if (!file.open(QIODevice::WriteOnly) || file.write(picture) != picture.size() || !file.commit())
        return failWith(file.errorString());
    for (const char *other : Kinds) {
        if (QLatin1String(other) != kind)
            QFile::remove(base + QLatin1String(other));
    }
    if (stored)
        *stored = base + kind;
    return true;
}

} // namespace Orbisong
