#pragma once

#include <QString>

namespace Orbisong::ExportPaths {

// A name that stays one path component inside a folder: / \ : * ? " < > | and control
// characters become "_"; empty text, "." and ".." give an empty name (nothing to write).
QString safeFileName(const QString &name);
// The path of `name` inside `folder` when writing there cannot land outside it (a symbolic
// link in the folder pointing elsewhere included); empty otherwise.
QString pathInside(const QString &folder, const QString &name);
// Whether `target` is the file `protectedFile`, compared as canonical paths, so that
// symbolic links to either and links to their folders count as the same file.
bool isSameFile(const QString &target, const QString &protectedFile);
// Writes `bytes` as the whole file `path` through a temporary file renamed over it; refuses
// (false, with `error`) when `path` is `protectedFile` or its folder does not exist.
bool saveWhole(const QString &path, const QByteArray &bytes, const QString &protectedFile,
               QString *error);

} // namespace Orbisong::ExportPaths
