#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace Orbisong::Fuzz {

// A folder of this fuzzing process, removed at its exit.
QString scratchFolder();
// Writes the bytes to `name` in the scratch folder and returns its path.
QString writeScratchFile(const QString &name, const QByteArray &bytes);
inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace Orbisong::Fuzz
