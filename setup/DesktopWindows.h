#pragma once

#include <QString>

namespace Orbisong {

// Whether a top-level window whose class (or instance) name is `className` is on the
// desktop. Without a window system nothing is found.
bool desktopWindowExists(const QString &className);

} // namespace Orbisong
