#pragma once
// Version numbers of macOS releases, and the range this build may call into.
// https://developer.apple.com/documentation/swift/marking-api-availability-in-objective-c
#define __MAC_10_15 101500
#define __MAC_13_0 130000
#define __MAC_14_0 140000
#define __MAC_OS_X_VERSION_MIN_REQUIRED __ENVIRONMENT_MAC_OS_X_VERSION_MIN_REQUIRED__
#define __MAC_OS_X_VERSION_MAX_ALLOWED __MAC_14_0
