#pragma once

#include <QList>
#include <QVariantMap>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class MacSystem;
class SkyLightLibrary;

/// The private window-server framework, bound at run time: the one place that opens it and
/// resolves its functions. Space information has no public interface, so everything that
/// uses this must cope with `load()` yielding nothing.
///
/// An instance holds only what it resolved and never changes; its operations may be called
/// from any thread. Callers load one per piece of work and drop it afterwards.
class SkyLightAPI final {
public:
    /// The framework's location.
    static constexpr const char* frameworkPath =
        "/System/Library/PrivateFrameworks/SkyLight.framework/SkyLight";
    /// The loader mode: lazy binding.
    static constexpr int loaderMode = 1;
    /// The selector mask passed with every Space-of-windows call.
    static constexpr std::uint32_t spaceSelectorMask = 7;

    /// Opens the framework afresh and resolves its functions; nothing when the framework or
    /// a required function is missing (the handle is then closed).
    static std::optional<SkyLightAPI> load(MacSystem& system);

    /// The connection id; asked anew before every private call, never cached.
    std::int32_t defaultConnection() const;
    /// The managed-display Space list, one dictionary per display (elements that are not
    /// dictionaries are left out); nothing when the window server answered null.
    std::optional<QList<QVariantMap>> managedDisplaySpaces() const;
    /// The Space ids the window server lists for the given window numbers (elements that are
    /// not numbers are left out); nothing when it answered null. An empty input yields an
    /// empty list without asking the window server.
    std::optional<std::vector<std::uint64_t>> spaceIDs(const std::vector<std::uint32_t>& windows) const;

    /// Whether the optional "CGSGetActiveSpace" was found.
    bool hasGetActiveSpace() const { return hasGetActiveSpace_; }
    /// Whether the optional "CGSManagedDisplaySetCurrentSpace" was found.
    bool hasSetManagedDisplaySpace() const { return hasSetManagedDisplaySpace_; }

private:
    SkyLightAPI(std::shared_ptr<SkyLightLibrary> library, bool hasGetActiveSpace,
                bool hasSetManagedDisplaySpace)
        : library_(std::move(library)), hasGetActiveSpace_(hasGetActiveSpace),
          hasSetManagedDisplaySpace_(hasSetManagedDisplaySpace) {}

    std::shared_ptr<SkyLightLibrary> library_;
    bool hasGetActiveSpace_ = false;
    bool hasSetManagedDisplaySpace_ = false;
};
