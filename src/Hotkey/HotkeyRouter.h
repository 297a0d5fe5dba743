#pragma once

#include "Inventory/AppTarget.h"
#include "Keyboard/AppEntry.h"

#include <functional>
#include <optional>
#include <variant>

/// What a stroke does with the application bound to its key.
namespace HotkeyRouter {

/// Not running, its bundle exists on disk: launch it.
struct Launch {
    AppEntry entry;
    bool operator==(const Launch&) const = default;
};
/// Running: bring its best window forward, or launch the entry when it has none.
struct PresentThenLaunch {
    AppTarget target;
    AppEntry entry;
    bool operator==(const PresentThenLaunch&) const = default;
};
/// Not running and nothing exists at its path.
struct ReportMissing {
    AppEntry entry;
    bool operator==(const ReportMissing&) const = default;
};
/// No application is bound.
struct Ignore {
    bool operator==(const Ignore&) const = default;
};

using Route = std::variant<Launch, PresentThenLaunch, ReportMissing, Ignore>;

/// Running state is decided by bundle identifier only; an empty identifier never runs.
Route route(const std::optional<AppEntry>& entry, const std::function<bool(const QString&)>& isRunning);

} // namespace HotkeyRouter
