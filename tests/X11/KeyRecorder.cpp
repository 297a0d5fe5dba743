#include "KeyRecorder.h"

#include "XSession.h"

#include <QDeadlineTimer>

#include <xcb/xcb_icccm.h>

#include <algorithm>
#include <cstdlib>
#include <poll.h>
#include <unistd.h>

std::unique_ptr<KeyRecorder> KeyRecorder::open(const char* title) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return nullptr;
    }
    std::unique_ptr<KeyRecorder> recorder(new KeyRecorder(c));
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    recorder->root_ = screen->root;

    recorder->window_ = xcb_generate_id(c);
    const std::uint32_t values[] = {screen->white_pixel,
                                    XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE |
                                        XCB_EVENT_MASK_FOCUS_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, recorder->window_, screen->root, 100, 100, 320, 200, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    xcb_icccm_set_wm_name(c, recorder->window_, XCB_ATOM_STRING, 8, std::uint32_t(std::strlen(title)), title);
    const char wmClass[] = "kestavon-key-recorder\0KestavonKeyRecorder";
    xcb_icccm_set_wm_class(c, recorder->window_, sizeof wmClass, wmClass);
    // Windows that ask for input get the focus from the window manager.
    xcb_icccm_wm_hints_t hints{};
    xcb_icccm_wm_hints_set_input(&hints, 1);
    xcb_icccm_set_wm_hints(c, recorder->window_, &hints);
    const std::uint32_t pid = std::uint32_t(getpid());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, recorder->window_, internAtom(c, "_NET_WM_PID"),
                        XCB_ATOM_CARDINAL, 32, 1, &pid);
    xcb_map_window(c, recorder->window_);
    xcb_flush(c);
    return recorder;
}

KeyRecorder::~KeyRecorder() {
    xcb_disconnect(connection_);
}

bool KeyRecorder::focus(int timeoutMs) {
    bool asked = false;
    return waitUntil(
        [&] {
            if (!mapped_) return false;
            if (!asked) requestActivation();
            asked = true;
            return hasFocus();
        },
        timeoutMs);
}

bool KeyRecorder::waitForPresses(std::uint8_t xKeyCode, int count, int timeoutMs) {
    return waitUntil([&] { return presses(xKeyCode) >= count; }, timeoutMs);
}

int KeyRecorder::presses(std::uint8_t xKeyCode) const {
    return int(std::count_if(keys_.begin(), keys_.end(),
                             [&](const Key& k) { return k.press && k.code == xKeyCode; }));
}

bool KeyRecorder::waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            take(event);
            std::free(event);
        }
        if (done()) return true;
        if (deadline.hasExpired() || xcb_connection_has_error(connection_)) return false;
        // `done` may wait for a reply, and events that came with it are read already.
        if (xcb_generic_event_t* event = xcb_poll_for_queued_event(connection_)) {
            take(event);
            std::free(event);
            continue;
        }
        pollfd p{xcb_get_file_descriptor(connection_), POLLIN, 0};
        poll(&p, 1, int(std::max<qint64>(deadline.remainingTime(), 1)));
    }
}

void KeyRecorder::take(const xcb_generic_event_t* event) {
    switch (event->response_type & 0x7f) {
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE: {
        const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
        keys_.push_back({key->detail, (event->response_type & 0x7f) == XCB_KEY_PRESS, key->state});
        break;
    }
    case XCB_MAP_NOTIFY:
        mapped_ = true;
        break;
    default:
        break;
    }
}

bool KeyRecorder::hasFocus() {
    auto* reply = xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr);
    const bool focused = reply && reply->focus == window_;
    std::free(reply);
    return focused;
}

void KeyRecorder::requestActivation() {
    // As a pager would ask (source 2), so the window manager does not refuse it as focus
    // stealing.
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window_;
    message.type = internAtom(connection_, "_NET_ACTIVE_WINDOW");
    message.data.data32[0] = 2;
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
}
