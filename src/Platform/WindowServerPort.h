#pragma once

#include <QRectF>
#include <QString>

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

/// One window as the window server knows it, in global coordinates (points, origin at the top
/// left of the main display, y downwards).
struct WindowInfo {
    std::uint32_t number = 0;
    std::int32_t pid = 0;
    /// 0 for an ordinary application window; panels, menus, docks and the desktop are above.
    int layer = 0;
    /// 0 is fully transparent, 1 opaque.
    double opacity = 1.0;
    QRectF bounds;
    /// The owning process's name as the server knows it; nothing when it gives none.
    std::optional<QString> ownerName;
    /// Nothing when the window has no title at all; an empty title stays empty.
    std::optional<QString> title;
    /// Shown now: not minimised, and on a current Space.
    bool isOnscreen = false;
    bool isMinimized = false;
    /// Whether the window list tells the window's Space, as some servers do at no extra cost:
    /// `space` is then that Space (nothing: the window is on none), and spacesOfWindows() need
    /// not be asked about the window.
    bool spaceListed = false;
    std::optional<std::uint64_t> space{};

    bool operator==(const WindowInfo&) const = default;
};

/// One active display.
struct DisplayDescription {
    std::uint32_t id = 0;
    /// Stable while the display is attached; the Space lists name displays by it.
    QString identifier;
    /// The name a user knows the display by.
    QString name;
    QRectF bounds;
    bool isMain = false;

    bool operator==(const DisplayDescription&) const = default;
};

/// What a Space (virtual desktop) is.
enum class SpaceKind {
    /// An ordinary desktop, one of those a user moves between.
    desktop,
    /// The Space of one full-screen window.
    fullScreen,
    /// Any other kind the window server keeps.
    other,
};

struct SpaceInfo {
    std::uint64_t id = 0;
    SpaceKind kind = SpaceKind::desktop;
    bool operator==(const SpaceInfo&) const = default;
};

/// The Spaces of one display, in the display's order.
struct DisplaySpaces {
    /// The display's identifier; nothing when the server does not say which display it is.
    std::optional<QString> displayIdentifier;
    /// The Space shown on the display now.
    std::optional<std::uint64_t> currentSpace;
    std::vector<SpaceInfo> spaces;
    bool operator==(const DisplaySpaces&) const = default;
};

/// The window server: the windows of every application on every Space, the displays, and
/// the Spaces of each display and of each window.
class WindowServerPort {
public:
    virtual ~WindowServerPort() = default;

    /// Every window, front to back, minimised ones and those on other Spaces included;
    /// nothing when the list cannot be read.
    virtual std::optional<std::vector<WindowInfo>> windows() = 0;
    /// The active displays in the server's order; empty when they cannot be read.
    virtual std::vector<DisplayDescription> displays() = 0;
    /// The Spaces of every display; nothing when the server gives no Space information.
    virtual std::optional<std::vector<DisplaySpaces>> spaces() = 0;
    /// The Space of each given window that the server places on one (windows it does not are
    /// left out); nothing when the server gives no Space information.
    virtual std::optional<std::unordered_map<std::uint32_t, std::uint64_t>>
    spacesOfWindows(const std::vector<std::uint32_t>& windows) = 0;
};
