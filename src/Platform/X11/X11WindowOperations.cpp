#include "X11WindowOperations.h"

#include "Platform/X11/X11Clients.h"
#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11RestoreRequest.h"

std::optional<QRectF> X11WindowOperations::focusedWindowFrame(std::int32_t pid) {
    if (connection_.hasError()) return std::nullopt;
    const X11Clients::Root root = X11Clients::root(connection_);
    if (root.activeWindow) {
        const auto active =
            X11Clients::readOne(connection_, *root.activeWindow, X11Clients::pid | X11Clients::frame);
        if (active && active->process.pid == pid) {
            if (!active->frame) return std::nullopt;
            return QRectF(*active->frame);
        }
    }
    if (!root.frontToBack) return std::nullopt;
    const unsigned fields = X11Clients::pid | X11Clients::state | X11Clients::type | X11Clients::frame;
    for (const X11ClientWindow& w : X11Clients::read(connection_, *root.frontToBack, fields))
        if (w.process.pid == pid && w.layer == 0 && !w.hidden && w.frame) return QRectF(*w.frame);
    return std::nullopt;
}

RestoreOutcome X11WindowOperations::restoreIfMinimized(const WindowTarget& window) {
    if (window.number == 0 || connection_.hasError()) return RestoreOutcome::unchanged;
    // Most windows a jump shows are not minimised: that is told without a connection of
    // the request's own.
    const auto state =
        X11Clients::readOne(connection_, xcb_window_t(window.number), X11Clients::pid | X11Clients::state);
    if (!state || state->process.pid != window.pid || !state->hidden) return RestoreOutcome::unchanged;
    return X11RestoreRequest::run(xcb_window_t(window.number), window.pid, restoreLimit);
}
