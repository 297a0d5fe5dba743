#pragma once

#include <QString>
#include <QVariantList>

#include <cstdint>
#include <memory>
#include <optional>

/// The private window-server framework once opened: symbol look-up and the calls we make.
/// The copy calls hand back their arrays already converted (dictionaries as QVariantMap,
/// numbers as numeric QVariants); elements of other kinds come back as they are.
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
    /// "SLSCopySpacesForWindows": the Spaces of the given window numbers; nothing for a null result.
    virtual std::optional<QVariantList> copySpacesForWindows(std::int32_t connection, std::uint32_t selectorMask,
                                                             const QVariantList& windowNumbers) = 0;
};

/// Opens the private window-server framework at run time.
class SkyLightPort {
public:
    virtual ~SkyLightPort() = default;

    /// Opens the framework at `path` with the given loader mode; nothing when it cannot be opened.
    virtual std::shared_ptr<SkyLightLibrary> open(const QString& path, int mode) = 0;
};
