#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

/// A running application as the workspace describes it.
struct RunningApplication {
    std::int32_t processIdentifier = 0;
    std::optional<QString> localizedName;
    std::optional<QString> bundleIdentifier;
    /// The path of the application's bundle.
    std::optional<QString> bundleURL;
    bool operator==(const RunningApplication&) const = default;
};

/// How an application is opened.
struct OpenConfiguration {
    /// False: an instance that already runs is activated instead of a second one started.
    bool createsNewApplicationInstance = false;
    bool activates = true;
};

/// Running applications, the frontmost one, activation, and opening applications and URLs.
class WorkspacePort {
public:
    using OpenCompletion =
        std::function<void(std::optional<RunningApplication> application, std::optional<QString> error)>;

    virtual ~WorkspacePort() = default;

    /// Every running application.
    virtual QList<RunningApplication> runningApplications() = 0;
    /// The running application with this process id, if there is one.
    virtual std::optional<RunningApplication> runningApplication(std::int32_t pid) = 0;
    /// The application that receives key events, if any.
    virtual std::optional<RunningApplication> frontmostApplication() = 0;
    /// Opens (launches or activates) the application bundle at `path`. The completion, when
    /// given, may be called on any thread, late, or never.
    virtual void openApplication(const QString& path, const OpenConfiguration& configuration,
                                 OpenCompletion completion) = 0;
    /// Asks the running application to come to the front; false when it cannot be asked.
    virtual bool activate(std::int32_t pid) = 0;
    /// Brings this program itself to the front, so the next activation is allowed.
    virtual void activateIgnoringOtherApps() = 0;
    /// Opens a URL with the system's handler; false when nothing could open it.
    virtual bool openURL(const QString& url) = 0;
};
