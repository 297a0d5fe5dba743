#include "MacSkyLightLibrary.h"

#include "Platform/MacOS/CFPropertyAccess.h"

#include <Foundation/Foundation.h>

#include <dlfcn.h>

namespace {

// The signatures as the window server's own callers use them; both copies return an owned
// array or null.
using DefaultConnection = std::int32_t (*)();
using CopyManagedDisplaySpaces = CFArrayRef _Nullable (*)(std::int32_t connection);
using CopySpacesForWindows = CFArrayRef _Nullable (*)(std::int32_t connection, std::uint32_t selectorMask,
                                                      CFArrayRef windowNumbers);

// An owned array, converted and released.
std::optional<QVariantList> takeList(CFArrayRef _Nullable list) {
    if (list == nullptr) return std::nullopt;
    const QVariant converted = PropertyList::toVariant(CFPropertyAccess{}, list);
    CFRelease(list);
    return converted.toList();
}

} // namespace

bool MacSkyLightLibrary::hasSymbol(const char* name) {
    return handle_ != nullptr && dlsym(handle_, name) != nullptr;
}

void MacSkyLightLibrary::close() {
    if (handle_ != nullptr) dlclose(handle_);
    handle_ = nullptr;
}

std::int32_t MacSkyLightLibrary::defaultConnection() {
    const auto function = reinterpret_cast<DefaultConnection>(dlsym(handle_, "_CGSDefaultConnection"));
    return function != nullptr ? function() : 0;
}

std::optional<QVariantList> MacSkyLightLibrary::copyManagedDisplaySpaces(std::int32_t connection) {
    const auto function = reinterpret_cast<CopyManagedDisplaySpaces>(dlsym(handle_, "CGSCopyManagedDisplaySpaces"));
    if (function == nullptr) return std::nullopt;
    return takeList(function(connection));
}

std::optional<QVariantList> MacSkyLightLibrary::copySpacesForWindows(std::int32_t connection,
                                                                     std::uint32_t selectorMask,
                                                                     const QVariantList& windowNumbers) {
    const auto function = reinterpret_cast<CopySpacesForWindows>(dlsym(handle_, "SLSCopySpacesForWindows"));
    if (function == nullptr) return std::nullopt;
    NSMutableArray<NSNumber*>* numbers = [NSMutableArray arrayWithCapacity:static_cast<NSUInteger>(windowNumbers.size())];
    for (const QVariant& number : windowNumbers)
        [numbers addObject:@(number.toUInt())];
    return takeList(function(connection, selectorMask, (__bridge CFArrayRef)numbers));
}
