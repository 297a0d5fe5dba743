#pragma once

#include "Platform/PlatformWords.h"

namespace MacWords {

/// The words of macOS: the right Command key, and the System Settings panes that grant the
/// two permissions the keyboard tap needs.
PlatformWords words();

} // namespace MacWords
