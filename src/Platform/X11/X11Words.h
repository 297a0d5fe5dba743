#pragma once

#include "Platform/PlatformWords.h"

/// What a Linux desktop calls the trigger key, and what the window says when the hotkeys
/// cannot work there. No Mac words: no Command key, no System Settings, no permissions.
const PlatformWords& x11Words();
