#pragma once

#include <QString>

namespace Orbisong {

// The style sheet of the player window and its panels, which it finds by object name.
QString PlayerStyleSheet();

} // namespace Orbisong
