#pragma once
// API_AVAILABLE(macos(x)) and API_DEPRECATED("why", macos(from, to)), the availability
// attributes the SDK puts on declarations; clang's -Wunguarded-availability reads them.
// https://developer.apple.com/documentation/swift/marking-api-availability-in-objective-c
#define __kestavon_available_macos(v) __attribute__((availability(macos, introduced = v)))
#define __kestavon_deprecated_macos(v, d) __attribute__((availability(macos, introduced = v, deprecated = d)))
#define API_AVAILABLE(platform) __kestavon_available_##platform
#define API_DEPRECATED(message, platform) __kestavon_deprecated_##platform
