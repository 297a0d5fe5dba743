#pragma once

#include "Platform/WorkspacePort.h"

#include <QHash>
#include <QPointF>
#include <QRectF>
#include <QSet>
#include <QString>
#include <QVariantList>

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

class FakeTime;

/// A small, believable desktop held in memory: displays with their Spaces, windows, running
/// applications, the frontmost application, the pointer and the permissions. The Fake port
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
        /// The screen object's name; none: no screen object for this display.
        std::optional<QString> screenName;
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
    QPointF pointer{5, 5};

    // --- scripted behaviour ---------------------------------------------------------------
    bool windowListFails = false;
    /// Served instead of the windows above, for tests of malformed entries.
    std::optional<QVariantList> windowListOverride;
    bool displayListFails = false;
    bool skyLightPresent = true;
    QSet<QString> skyLightMissingSymbols;
    bool managedDisplaySpacesReturnsNull = false;
    /// Served by the managed-display call instead of the list built from `displays`, for tests
    /// of malformed Space lists.
    std::optional<QVariantList> managedDisplaySpacesOverride;
    /// Window number -> what the per-window Space call answers instead of the window's Space.
    std::map<std::uint32_t, QVariantList> spacesForWindowOverride;
    /// The per-window Space call answers null.
    bool spacesForWindowsReturnsNull = false;
    bool trusted = true;
    bool tapRefused = false;
    /// pid -> window id the application reports under "AXFocusedWindow" / "AXMainWindow".
    /// Without an entry, the focused window is the application's front-most unminimised one.
    QHash<std::int32_t, std::uint32_t> focusedWindowOf;
    QHash<std::int32_t, std::uint32_t> mainWindowOf;
    bool minimizeWriteRefused = false;
    Activation activation = Activation::immediate;
    std::chrono::milliseconds activationDelay{0};
    bool gesturesIgnored = false;
    Launch launch = Launch::succeed;
    QString launchFailure = QStringLiteral("The application could not be opened.");
    /// Bundle path -> (bundle identifier, name) of an application that launching starts.
    QHash<QString, std::pair<QString, QString>> installed;

    // --- what was asked -------------------------------------------------------------------
    int trustPrompts = 0;
    int skyLightOpens = 0;
    int skyLightCloses = 0;
    int spacesForWindowsCalls = 0;
    /// Each framework open: the path and the loader mode.
    std::vector<std::pair<QString, int>> skyLightOpenRequests;
    /// Each per-window Space call: the selector mask and the window numbers.
    std::vector<std::pair<std::uint32_t, QVariantList>> spacesForWindowsRequests;
    /// The options of each window-list call.
    std::vector<std::uint32_t> windowListRequests;
    int tapAttempts = 0;
    int tapsCreated = 0;
    std::vector<std::int32_t> activationRequests;
    int selfActivations = 0;
    std::vector<QString> openedPaths;
    std::vector<QString> openedURLs;
    std::vector<QPointF> warps;
    int swipes = 0;
    std::vector<QVariantList> postedEvents;
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
    /// One dock-swipe step on the display under the pointer.
    void swipe(double direction);

private:
    /// Window number -> position in `windows`; `windows` is scripted directly, so an entry is
    /// trusted only while it still points at that number, and the index is rebuilt otherwise.
    std::unordered_map<std::uint32_t, std::size_t> windowIndex_;
    std::optional<std::int32_t> pendingActivation_;
    double activationDue_ = 0;
    std::uint32_t nextWindow_ = 100;
    std::int32_t nextPid_ = 500;
};
