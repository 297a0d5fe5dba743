#pragma once

#include "Platform/WindowServerPort.h"

#include <vector>

class MacSystem;

/// The active displays as the window server lists them, each with its screen's name and the
/// text form of its UUID, which is how the Space list names displays.
namespace DisplayCatalog {

/// The active displays in the server's order; empty when the display list cannot be read.
/// A display whose UUID cannot be made has an empty identifier.
std::vector<DisplayDescription> load(MacSystem& system);

} // namespace DisplayCatalog
