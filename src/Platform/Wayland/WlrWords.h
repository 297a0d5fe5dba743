#pragma once

#include "Platform/PlatformWords.h"

/// What the window says about the hotkeys on a wlroots compositor other than sway.
const PlatformWords& wlrWords();
