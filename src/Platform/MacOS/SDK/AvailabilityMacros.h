#pragma once
// https://developer.apple.com/documentation/swift/marking-api-availability-in-objective-c
#include <Availability.h>
#define MAC_OS_X_VERSION_MIN_REQUIRED __MAC_OS_X_VERSION_MIN_REQUIRED
#define MAC_OS_X_VERSION_MAX_ALLOWED __MAC_OS_X_VERSION_MAX_ALLOWED
