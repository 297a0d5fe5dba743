#pragma once

#include "Platform/MacOS/SkyLightLibrary.h"

/// The private window-server framework opened with dlopen: every function is looked up by
/// name when it is called, so nothing links against it and a missing one is merely absent.
class MacSkyLightLibrary final : public SkyLightLibrary {
public:
    /// Takes over a handle that dlopen gave.
    explicit MacSkyLightLibrary(void* handle) : handle_(handle) {}

    bool hasSymbol(const char* name) override;
    void close() override;
    std::int32_t defaultConnection() override;
    std::optional<QVariantList> copyManagedDisplaySpaces(std::int32_t connection) override;
    std::optional<QVariantList> copySpacesForWindows(std::int32_t connection, std::uint32_t selectorMask,
                                                     const QVariantList& windowNumbers) override;

private:
    void* handle_;
};
