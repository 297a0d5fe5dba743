#pragma once

#include <QRectF>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

/// One window as a wlroots compositor's toplevel list tells it.
struct WlrToplevel {
    /// Ours, counted from 1 in the order the compositor announced the windows.
    std::uint32_t number = 0;
    /// The windows of one app_id are one application, numbered from 1 as first seen (the
    /// compositor names no process); a window without app_id is an application of its own.
    std::int32_t application = 0;
    QString title;
    QString appId;
    bool activated = false;
    bool minimized = false;
    bool maximized = false;
    bool fullscreen = false;
    /// The outputs (by WlrOutput::name) the window is shown on.
    std::vector<QString> outputs;

    bool operator==(const WlrToplevel&) const = default;
};

/// One output as the compositor describes it, in its layout's coordinates.
struct WlrOutput {
    QString name;
    QString description;
    QRectF rect;

    bool operator==(const WlrOutput&) const = default;
};

/// The windows and outputs at one moment: windows most recently activated first, then those
/// never activated in the order they appeared.
struct WlrSnapshot {
    std::vector<WlrToplevel> toplevels;
    std::vector<WlrOutput> outputs;

    const WlrToplevel* toplevel(std::uint32_t number) const;
};

/// What the toplevel state array says, one flag per state known; unknown states are skipped.
struct WlrToplevelState {
    bool activated = false;
    bool minimized = false;
    bool maximized = false;
    bool fullscreen = false;

    static WlrToplevelState from(const std::uint32_t* states, std::size_t count);
    bool operator==(const WlrToplevelState&) const = default;
};

/// The compositor's toplevel list (wlr-foreign-toplevel-management) over a Wayland connection
/// of Kestavon's own, read on a thread of its own so no event waits for a question; every
/// question first makes sure the compositor has answered what was asked before it.
class WlrToplevels final {
public:
    /// Connects to $WAYLAND_DISPLAY; null, with the reason, when it does not answer or does not
    /// offer the toplevel list and a seat.
    static std::unique_ptr<WlrToplevels> connect(QString* whyNot);
    /// Whether the compositor of $WAYLAND_DISPLAY offers the toplevel list: one round trip.
    static bool isOffered();
    ~WlrToplevels();

    /// The windows and outputs now, once the compositor has answered every earlier request;
    /// nothing when the connection is gone.
    std::optional<WlrSnapshot> current();
    /// The windows and outputs as last heard, without asking (safe on the reading thread).
    WlrSnapshot latest();
    /// Asks the compositor to activate the window on Kestavon's seat; false when the window
    /// is gone or the connection is.
    bool activate(std::uint32_t number);
    /// Asks the compositor to bring the window back from the minimised state.
    bool unsetMinimized(std::uint32_t number);
    /// Called on the reading thread after each batch of events that changed the list.
    void setChanged(std::function<void()> changed);

    struct State;

private:
    WlrToplevels();
    void run();

    std::unique_ptr<State> state_;
    std::mutex mutex_;
    std::condition_variable answered_;
    std::function<void()> changed_;
    int wake_[2] = {-1, -1};
    std::thread reader_;
};
