#include "VirtualKeyboard.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

struct VirtualKeyboard::Parts {
    wl_display* display = nullptr;
    wl_seat* seat = nullptr;
    zwp_virtual_keyboard_manager_v1* manager = nullptr;
    zwp_virtual_keyboard_v1* keyboard = nullptr;
    xkb_context* context = nullptr;
    xkb_keymap* keymap = nullptr;
    xkb_state* state = nullptr;
    std::uint32_t time = 0;
};

namespace {

void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    auto* parts = static_cast<VirtualKeyboard::Parts*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !parts->seat)
        parts->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        parts->manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
}
void globalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener registryListener{global, globalRemove};

} // namespace

std::unique_ptr<VirtualKeyboard> VirtualKeyboard::open(const char* xkbOptions) {
    auto parts = std::make_unique<Parts>();
    std::unique_ptr<VirtualKeyboard> keyboard(new VirtualKeyboard(std::move(parts)));
    Parts& p = *keyboard->parts_;
    p.display = wl_display_connect(nullptr);
    if (!p.display) return nullptr;
    wl_registry* registry = wl_display_get_registry(p.display);
    wl_registry_add_listener(registry, &registryListener, &p);
    wl_display_roundtrip(p.display);
    wl_registry_destroy(registry);
    if (!p.seat || !p.manager) return nullptr;
    p.keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(p.manager, p.seat);

    p.context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names names{"evdev", "pc105", "us", "", xkbOptions};
    p.keymap =
        p.context ? xkb_keymap_new_from_names(p.context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
    if (!p.keymap) return nullptr;
    p.state = xkb_state_new(p.keymap);
    char* text = xkb_keymap_get_as_string(p.keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    const std::size_t size = std::strlen(text) + 1;
    const int fd = memfd_create("keymap", MFD_CLOEXEC);
    const bool written = fd >= 0 && ::write(fd, text, size) == ssize_t(size);
    std::free(text);
    if (!written) return nullptr;
    zwp_virtual_keyboard_v1_keymap(p.keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, std::uint32_t(size));
    ::close(fd);
    keyboard->sync();
    return keyboard;
}

VirtualKeyboard::VirtualKeyboard(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

VirtualKeyboard::~VirtualKeyboard() {
    Parts& p = *parts_;
    if (p.keyboard) zwp_virtual_keyboard_v1_destroy(p.keyboard);
    if (p.manager) zwp_virtual_keyboard_manager_v1_destroy(p.manager);
    if (p.seat) wl_seat_destroy(p.seat);
    if (p.state) xkb_state_unref(p.state);
    if (p.keymap) xkb_keymap_unref(p.keymap);
    if (p.context) xkb_context_unref(p.context);
    if (p.display) {
        wl_display_roundtrip(p.display);
        wl_display_disconnect(p.display);
    }
}

void VirtualKeyboard::send(std::uint32_t evdevCode, bool down) {
    Parts& p = *parts_;
    zwp_virtual_keyboard_v1_key(p.keyboard, ++p.time, evdevCode, down ? 1 : 0);
    // The compositor is told the modifiers the key changed, as a real keyboard's driver does.
    xkb_state_update_key(p.state, evdevCode + 8, down ? XKB_KEY_DOWN : XKB_KEY_UP);
    zwp_virtual_keyboard_v1_modifiers(p.keyboard, xkb_state_serialize_mods(p.state, XKB_STATE_MODS_DEPRESSED),
                                      xkb_state_serialize_mods(p.state, XKB_STATE_MODS_LATCHED),
                                      xkb_state_serialize_mods(p.state, XKB_STATE_MODS_LOCKED),
                                      xkb_state_serialize_layout(p.state, XKB_STATE_LAYOUT_EFFECTIVE));
}

void VirtualKeyboard::press(std::uint32_t evdevCode) {
    send(evdevCode, true);
}
void VirtualKeyboard::release(std::uint32_t evdevCode) {
    send(evdevCode, false);
}
void VirtualKeyboard::sync() {
    wl_display_roundtrip(parts_->display);
}
