#include "XTestInjector.h"

#include <xcb/xtest.h>

#include <cstdlib>

std::unique_ptr<XTestInjector> XTestInjector::open(const char* display) {
    xcb_connection_t* c = xcb_connect(display, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return nullptr;
    }
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(c, &xcb_test_id);
    if (!xtest || !xtest->present) {
        xcb_disconnect(c);
        return nullptr;
    }
    return std::unique_ptr<XTestInjector>(new XTestInjector(c));
}

XTestInjector::~XTestInjector() {
    xcb_disconnect(connection_);
}

void XTestInjector::press(std::uint8_t xKeyCode) {
    send(XCB_KEY_PRESS, xKeyCode);
}

void XTestInjector::release(std::uint8_t xKeyCode) {
    send(XCB_KEY_RELEASE, xKeyCode);
}

void XTestInjector::type(std::uint8_t xKeyCode) {
    press(xKeyCode);
    release(xKeyCode);
}

void XTestInjector::send(std::uint8_t type, std::uint8_t xKeyCode) {
    xcb_test_fake_input(connection_, type, xKeyCode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
}

void XTestInjector::sync() {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}
