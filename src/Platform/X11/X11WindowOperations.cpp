#include "X11WindowOperations.h"

#include "Platform/X11/X11Clients.h"
#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11RestoreRequest.h"

#include <algorithm>
#include <vector>

std::optional<QRectF> X11WindowOperations::focusedWindowFrame(std::int32_t pid) {
    if (connection_.hasError()) return std::nullopt;
    // One read of the clients answers for the active window too, which is nearly always one
    // of them: a jump waits for one round trip here, not two.
    const unsigned fields = X11Clients::pid | X11Clients::state | X11Clients::type | X11Clients::frame;
    const X11Clients::Listing listing = X11Clients::rootAndClients(connection_, fields);
    const X11Clients::Root& root = listing.root;
    const std::vector<X11ClientWindow>& clients = listing.clients;
    if (root.activeWindow) {
        std::optional<X11ClientWindow> active;
        const auto listed = std::find_if(clients.begin(), clients.end(), [&](const X11ClientWindow& w) {
            return w.id == *root.activeWindow;
        });
        if (listed != clients.end())
            active = *listed;
        else
            active =
                X11Clients::readOne(connection_, *root.activeWindow, X11Clients::pid | X11Clients::frame);
        if (active && active->process.pid == pid) {
            if (!active->frame) return std::nullopt;
            return QRectF(*active->frame);
        }
    }
    for (const X11ClientWindow& w : clients)
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
