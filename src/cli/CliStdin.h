#pragma once

#include <QString>

namespace Orbisong::Cli {

// One line typed on standard input, without its line end (LF or CR LF); false at the end of
// input with nothing read. Scripts' questions and READ are answered this way.
bool readStdinLine(QString *line);

} // namespace Orbisong::Cli
