#pragma once

#include <QVariantList>

#include <cstdint>
#include <optional>

/// The private window-server framework once opened: its symbol look-up and the calls made
/// through it. The copy calls hand back their arrays already converted (dictionaries as
/// QVariantMap, numbers as numeric QVariants) and released; elements of other kinds come back
/// as they are.
class SkyLightLibrary {
public:
    virtual ~SkyLightLibrary() = default;

    /// Whether the framework exports the symbol.
    virtual bool hasSymbol(const char* name) = 0;
    /// Closes the handle (done only when a required symbol is missing).
    virtual void close() = 0;

    /// "_CGSDefaultConnection".
    virtual std::int32_t defaultConnection() = 0;
    /// "CGSCopyManagedDisplaySpaces": the Space list per display; nothing for a null result.
    virtual std::optional<QVariantList> copyManagedDisplaySpaces(std::int32_t connection) = 0;
    /// "SLSCopySpacesForWindows": the Spaces of the given window numbers (unsigned 32-bit
    /// number objects); nothing for a null result.
    virtual std::optional<QVariantList> copySpacesForWindows(std::int32_t connection,
                                                             std::uint32_t selectorMask,
                                                             const QVariantList& windowNumbers) = 0;
};
