#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace Orbisong {

// Stored files are 8-bit text: valid UTF-8 sequences are read as UTF-8, every other byte as
// Windows-1252, so files of older versions keep their accented letters.
QString decodeStoredText(QByteArrayView bytes);
bool isValidUtf8(QByteArrayView bytes);
// The bytes as UTF-8: valid UTF-8 is kept, other bytes are converted from Windows-1252.
QByteArray toUtf8Stored(QByteArrayView bytes);

} // namespace Orbisong
