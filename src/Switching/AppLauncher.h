#pragma once

#include "Keyboard/AppEntry.h"

#include <QString>

#include <chrono>

/// Opens the application bundle of a bound entry (launching it, or activating the instance
/// that already runs) and waits a bounded time for the system to say whether it worked.
namespace AppLauncher {

/// How long a launch may take before it counts as failed.
inline constexpr std::chrono::milliseconds deadline{30'000};

struct Outcome {
    enum class Kind {
        /// The system refused, gave no application, or did not answer in time.
        failed,
        /// The system reported a running instance.
        started,
        /// Nothing exists at the entry's path.
        pathMissing,
    };
    Kind kind = Kind::failed;
    /// The reason, for `failed` only.
    QString reason;

    static Outcome failed(QString reason) { return {Kind::failed, std::move(reason)}; }
    static Outcome started() { return {Kind::started, {}}; }
    static Outcome pathMissing() { return {Kind::pathMissing, {}}; }

    bool operator==(const Outcome&) const = default;
};

/// Opens the bundle at `entry.path` and blocks until the system answers or the deadline
/// passes. Only the path is used.
Outcome launch(const AppEntry& entry);

} // namespace AppLauncher
