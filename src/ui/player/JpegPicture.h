#pragma once

#include <QImage>
#include <QString>

namespace Orbisong {

// Decodes a JPEG file with libjpeg. At 24 bits per pixel and more the picture keeps full
// colour; at 8 to 23 it is reduced to 256 colours, below 8 to the fewest colours.
QImage DecodeJpegFile(const QString &path, int displayDepth);

} // namespace Orbisong
