#pragma once

#include <QString>

#include <optional>

/// The messages the updater sends its delegate while it works. The updater calls them on the
/// main thread. Only the messages the application acts on are here; for everything else the
/// updater does what it does by default.
class UpdaterDelegate {
public:
    virtual ~UpdaterDelegate() = default;

    /// A check found no newer version.
    virtual void noUpdateFound() = 0;
    /// The user chose to install and the download begins.
    virtual void downloadStarting() = 0;
    /// The download is complete.
    virtual void downloadFinished() = 0;
    /// The download failed, with the error's localized description.
    virtual void downloadFailed(const QString& errorDescription) = 0;
    /// A check is over, however it ended; the error's localized description when it ended in
    /// an error (a dismissed offer has none).
    virtual void checkFinished(const std::optional<QString>& errorDescription) = 0;
    /// The feed address to use for this check; nothing for the built-in one.
    virtual std::optional<QString> feedAddress() = 0;
};

/// The update framework: its updater with the standard user driver, which reads the feed,
/// compares versions and offers, downloads and installs an update with its own windows.
class UpdaterPort {
public:
    virtual ~UpdaterPort() = default;

    /// Creates the standard user driver and the updater with `delegate` and starts
    /// it; the error's localized description when it refuses to start (the delegate is then not kept).
    virtual std::optional<QString> startUpdater(UpdaterDelegate& delegate) = 0;
    /// A check the user asked for, answered through the delegate and the driver.
    virtual void checkForUpdates() = 0;
};
