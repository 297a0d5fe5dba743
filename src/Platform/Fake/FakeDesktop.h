#pragma once

#include "Platform/KeyboardTapPort.h"
#include "Platform/WorkspacePort.h"

#include <QHash>
#include <QRectF>
#include <QString>

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

class FakeTime;

/// A small, believable desktop held in memory: displays with their Spaces, windows, running
/// applications, the frontmost application and the permissions. The Fake port
/// implementations read and change it; tests script it and inspect what was asked of it.
/// Every member is guarded by `mutex`; tests script the desktop before the logic runs and
/// inspect it after, or take the lock.
class FakeDesktop {
public:
    explicit FakeDesktop(FakeTime& time) : time(time) {}

    struct Space {
        std::uint64_t id = 0;
        /// 0 an ordinary desktop, 4 a full-screen Space.
        int type = 0;
    };
    struct Display {
        std::uint32_t id = 0;
        QString uuid;
        QRectF bounds;
        bool isMain = false;
        QString name;
        std::vector<Space> spaces;
        std::uint64_t currentSpace = 0;
    };
    struct Window {
        std::uint32_t id = 0;
        std::int32_t pid = 0;
        /// The owner name the window list reports; none: the list leaves it out.
        std::optional<QString> ownerName;
        std::optional<QString> title;
        QRectF frame;
        int layer = 0;
        double alpha = 1.0;
        /// 0: the window server lists no Space for it.
        std::uint64_t space = 0;
        bool minimized = false;
    };
    enum class Activation { immediate, delayed, never };
    enum class Launch { succeed, fail, noInstance, never };

    // --- scripted state -------------------------------------------------------------------
    std::vector<Display> displays;
    /// Front to back.
    std::vector<Window> windows;
    std::vector<RunningApplication> apps;
    std::optional<std::int32_t> frontmostPid;

    // --- scripted behaviour ---------------------------------------------------------------
    bool windowListFails = false;
    bool displayListFails = false;
    /// The window server gives no Space list.
    bool spaceListFails = false;
    /// The window server gives no Space for any window.
    bool windowSpacesFail = false;
    /// The window list tells each window's Space itself.
    bool spacesListedWithWindows = false;
    /// Switching Space goes nowhere.
    bool spaceSwitchIgnored = false;
    bool trusted = true;
    /// The keyboard tap cannot be installed, for this reason.
    std::optional<TapFailure> tapFailure;
    /// Key codes another program holds; the tap reports them.
    std::vector<std::int64_t> keysTaken;
    /// Another program holds the trigger key alone; the tap reports it.
    bool triggerKeyTaken = false;
    /// pid -> window the application reports as focused / as its main window. Without an
    /// entry, the focused window is the application's front-most unminimised one.
    QHash<std::int32_t, std::uint32_t> focusedWindowOf;
    QHash<std::int32_t, std::uint32_t> mainWindowOf;
    bool minimizeWriteRefused = false;
    Activation activation = Activation::immediate;
    std::chrono::milliseconds activationDelay{0};
    Launch launch = Launch::succeed;
    QString launchFailure = QStringLiteral("The application could not be opened.");
    /// Bundle path -> (bundle identifier, name) of an application that launching starts.
    QHash<QString, std::pair<QString, QString>> installed;

    // --- what was asked -------------------------------------------------------------------
    int trustPrompts = 0;
    int tapAttempts = 0;
    int tapsCreated = 0;
    /// Each Space switch asked for: the Space and the display.
    std::vector<std::pair<std::uint64_t, QString>> spaceSwitches;
    std::vector<std::int32_t> activationRequests;
    int selfActivations = 0;
    std::vector<QString> openedPaths;
    std::vector<QString> openedURLs;
    /// The bound keys the tap was told of, and those each set-up was made for.
    std::vector<std::vector<std::int64_t>> keysBound;
    std::vector<std::vector<std::int64_t>> setUps;
    std::vector<std::uint32_t> minimizeWrites;
    /// Completions of launches that were never answered, to answer late.
    std::vector<WorkspacePort::OpenCompletion> pendingLaunches;

    // --- helpers for tests and the Fake ports ---------------------------------------------
    mutable std::recursive_mutex mutex;
    FakeTime& time;

    /// Adds a running application and returns its pid.
    std::int32_t addApp(const QString& name, const std::optional<QString>& bundleId,
                        const std::optional<QString>& bundlePath = std::nullopt);
    /// Adds a window of `pid` on `space` (0: none) and returns its number; it goes to the back.
    std::uint32_t addWindow(std::int32_t pid, QRectF frame, std::uint64_t space, bool minimized = false);
    /// The display owning the Space, or null.
    Display* displayOfSpace(std::uint64_t space);
    /// The window with that number (window numbers are unique), or null. Answered from an
    /// index, so a per-window call over a large desktop stays cheap.
    Window* window(std::uint32_t id);
    std::optional<RunningApplication> app(std::int32_t pid) const;
    /// On screen: not minimised, and on its display's current Space (or on no Space).
    bool isOnscreen(const Window& window) const;
    /// The frontmost pid now, applying an activation whose delay has passed.
    std::optional<std::int32_t> currentFrontmost();
    /// Asks for `pid` to become frontmost, as the scripted activation behaviour says.
    void requestActivation(std::int32_t pid);

private:
    /// Window number -> position in `windows`; `windows` is scripted directly, so an entry is
    /// trusted only while it still points at that number, and the index is rebuilt otherwise.
    std::unordered_map<std::uint32_t, std::size_t> windowIndex_;
    std::optional<std::int32_t> pendingActivation_;
    double activationDue_ = 0;
    std::uint32_t nextWindow_ = 100;
    std::int32_t nextPid_ = 500;
};
