#pragma once

#include <QString>
#include <QStringList>

namespace Orbisong {

// The demo disc: a short CUE/BIN album of synthesized music that lets the player be tried on
// a machine without a CD drive, with its xmcd entry for the local CDDB folder.
struct DemoDisc
{
    static QString artist();
    static QString title();
    static QStringList trackTitles();

    // The image's path inside `folder` ("demo.cue").
    static QString cuePath(const QString &folder);
    // Writes the image into `folder` unless it is already there, and the xmcd entry under
    // `folder`/cddb/misc; returns the .cue path, or an empty text with `error` set.
    static QString ensure(const QString &folder, QString *error = nullptr);
    // Writes the image and the entry unconditionally.
    static bool write(const QString &folder, QString *error = nullptr);
    // The local CDDB folder that holds the entry ("cddb" inside `folder`).
    static QString cddbFolder(const QString &folder);
};

// The function `orbisong --demo` calls: see DemoDisc::ensure.
QString ensureDemoDisc(const QString &folder, QString *error = nullptr);

} // namespace Orbisong
