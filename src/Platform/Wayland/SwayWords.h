#pragma once

#include "Platform/PlatformWords.h"

/// What the window says about the hotkeys in a sway session.
const PlatformWords& swayWords();
