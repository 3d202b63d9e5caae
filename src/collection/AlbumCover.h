#pragma once

#include <QByteArray>
#include <QString>

namespace Orbisong {

// Album covers live beside the collection in the data folder's "covers" folder, one picture
// (JPEG or PNG) a file, named by album ID.
class AlbumCover
{
public:
    // The stored picture of `albumId`, empty when there is none.
    static QString path(const QString &albumId);
    // Stores `picture` as the cover of `albumId`, replacing any other; false (with `error`)
    // when it is not a JPEG or PNG picture or cannot be written. `stored` gets the file.
    static bool store(const QString &albumId, const QByteArray &picture, QString *stored = nullptr,
                      QString *error = nullptr);
    // The file suffix for a picture's bytes ("jpg", "png"), empty for anything else.
    static QString pictureKind(const QByteArray &picture);

private:
    static QString folder();
};

} // namespace Orbisong
