#pragma once

#include <QString>

namespace Orbisong {

// Reserves `bytes` of disk space for the capture file so that a long capture does not run
// out of room half-way. Creates the file when it does not exist.
bool allocateCaptureFile(const QString &path, qint64 bytes);

// Copies the capture file to `target`, replacing it only once the copy is complete.
bool copyCaptureFile(const QString &source, const QString &target);

// Free space in bytes on the disk that holds `path` (or would hold it), -1 when unknown.
qint64 freeSpaceFor(const QString &path);

// The capture file's size in bytes, 0 when it does not exist.
qint64 captureFileSize(const QString &path);

} // namespace Orbisong
