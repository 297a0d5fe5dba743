#include "WaylandActivation.h"

#include "xdg-activation-v1-client-protocol.h"

#include <wayland-client.h>

#include <poll.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace WaylandActivation {

namespace {

struct Request {
    xdg_activation_v1* activation = nullptr;
    bool globalsKnown = false;
    bool answered = false;
    std::optional<QByteArray> token;
};

void registryGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* request = static_cast<Request*>(data);
    if (!request->activation && std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
        request->activation = static_cast<xdg_activation_v1*>(
            wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
}
void registryGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registryListener = {registryGlobal, registryGlobalRemove};

void syncDone(void* data, wl_callback* callback, uint32_t) {
    static_cast<Request*>(data)->globalsKnown = true;
    wl_callback_destroy(callback);
}
const wl_callback_listener syncListener = {syncDone};

void tokenDone(void* data, xdg_activation_token_v1*, const char* token) {
    auto* request = static_cast<Request*>(data);
    request->answered = true;
    if (token && *token) request->token = QByteArray(token);
}
const xdg_activation_token_v1_listener tokenListener = {tokenDone};

// Reads and handles the display's events until `answered` or the deadline; false past the
// deadline or when the connection fails.
template <typename Answered>
bool dispatchUntil(wl_display* display, std::chrono::steady_clock::time_point deadline, Answered answered) {
    while (!answered()) {
        while (wl_display_prepare_read(display) != 0)
            if (wl_display_dispatch_pending(display) < 0) return false;
        if (answered()) {
            wl_display_cancel_read(display);
            return true;
        }
        if (wl_display_flush(display) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display);
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{wl_display_get_fd(display), POLLIN, 0};
        int ready = 0;
        if (left.count() > 0) {
            do
                ready = ::poll(&p, 1, int(left.count()));
            while (ready < 0 && errno == EINTR);
        }
        if (ready <= 0 || !(p.revents & POLLIN)) {
            wl_display_cancel_read(display);
            return false;
        }
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0) return false;
    }
    return true;
}

} // namespace

std::optional<QByteArray> token(const QString& appId, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::unique_ptr<wl_display, decltype(&wl_display_disconnect)> display(wl_display_connect(nullptr),
                                                                          &wl_display_disconnect);
    if (!display) return std::nullopt;
    Request request;
    wl_registry* registry = wl_display_get_registry(display.get());
    wl_registry_add_listener(registry, &registryListener, &request);
    wl_callback_add_listener(wl_display_sync(display.get()), &syncListener, &request);
    xdg_activation_token_v1* asked = nullptr;
    if (dispatchUntil(display.get(), deadline, [&] { return request.globalsKnown; }) && request.activation) {
        // No seat nor serial: the token stands for a launch, not for an input event of ours.
        asked = xdg_activation_v1_get_activation_token(request.activation);
        xdg_activation_token_v1_add_listener(asked, &tokenListener, &request);
        if (!appId.isEmpty()) xdg_activation_token_v1_set_app_id(asked, appId.toUtf8().constData());
        xdg_activation_token_v1_commit(asked);
        dispatchUntil(display.get(), deadline, [&] { return request.answered; });
    }
    if (asked) xdg_activation_token_v1_destroy(asked);
    if (request.activation) xdg_activation_v1_destroy(request.activation);
    wl_registry_destroy(registry);
    return request.token;
}

} // namespace WaylandActivation
