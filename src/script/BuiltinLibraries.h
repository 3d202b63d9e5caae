#pragma once

namespace Orbisong {

class TQuillan;

// Attaches the built-in libraries in their fixed order: math, string, file, variable, table,
// date, directory, system and interactive.
void attachBuiltinLibraries(TQuillan &engine);

} // namespace Orbisong
