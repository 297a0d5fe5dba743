#pragma once

/// What starting Kestavon on macOS does before the application object exists.
namespace MacStartup {

/// Writes English as the application's preferred language ("AppleLanguages" in its own user
/// defaults), at every launch whatever was stored: the system's texts in our window are English
/// like the rest of it.
void preferEnglish();

} // namespace MacStartup
