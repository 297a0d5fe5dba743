#pragma once

#include <QString>

#include <optional>

/// The messages the updater sends its delegate while it works. The updater calls them on the
/// main thread. Only the messages the application acts on are here; for everything else the
/// updater does what it does by default.
class UpdaterDelegate {
public:
    virtual ~UpdaterDelegate() = default;

    /// updaterDidNotFindUpdate: a check found no newer version.
    virtual void updaterDidNotFindUpdate() = 0;
    /// updater:willDownloadUpdate:withRequest: the user chose to install and the download begins.
    virtual void updaterWillDownloadUpdate() = 0;
    /// updater:didDownloadUpdate: the download is complete.
    virtual void updaterDidDownloadUpdate() = 0;
    /// updater:failedToDownloadUpdate:error: the download failed; the error's localized description.
    virtual void updaterFailedToDownloadUpdate(const QString& errorDescription) = 0;
    /// updater:didFinishUpdateCycleForUpdateCheck:error: a check is over, however it ended; the
    /// error's localized description when it ended in an error (a dismissed offer has none).
    virtual void updaterDidFinishUpdateCycle(const std::optional<QString>& errorDescription) = 0;
    /// feedURLStringForUpdater: the feed address to use for this check; nothing for the built-in one.
    virtual std::optional<QString> feedURLStringForUpdater() = 0;
};

/// The update framework: its updater with the standard user driver, which reads the feed,
/// compares versions and offers, downloads and installs an update with its own windows.
class UpdaterPort {
public:
    virtual ~UpdaterPort() = default;

    /// startUpdater: creates the standard user driver and the updater with `delegate` and starts
    /// it; the error's localized description when it refuses to start (the delegate is then not kept).
    virtual std::optional<QString> startUpdater(UpdaterDelegate& delegate) = 0;
    /// checkForUpdates: a check the user asked for, answered through the delegate and the driver.
    virtual void checkForUpdates() = 0;
};
