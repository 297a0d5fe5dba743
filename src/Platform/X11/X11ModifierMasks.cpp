#include "X11ModifierMasks.h"

#include "Platform/Linux/KeyPositions.h"
#include "Platform/TapEvent.h"
#include "X11Reply.h"

#include <algorithm>

namespace {

constexpr xcb_keysym_t numLockKeysym = 0xff7f; // XK_Num_Lock

} // namespace

X11ModifierMasks X11ModifierMasks::read(xcb_connection_t* c) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_keycode_t first = setup->min_keycode;
    const auto modifierCookie = xcb_get_modifier_mapping(c);
    const auto keyboardCookie =
        xcb_get_keyboard_mapping(c, first, static_cast<std::uint8_t>(setup->max_keycode - first + 1));
    X11Reply<xcb_get_modifier_mapping_reply_t> modifiers(
        xcb_get_modifier_mapping_reply(c, modifierCookie, nullptr));
    X11Reply<xcb_get_keyboard_mapping_reply_t> keyboard(
        xcb_get_keyboard_mapping_reply(c, keyboardCookie, nullptr));
    X11ModifierMasks masks;
    if (!modifiers || !keyboard) return masks;

    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(keyboard.get());
    const int keysymCount = xcb_get_keyboard_mapping_keysyms_length(keyboard.get());
    const int perKey = keyboard->keysyms_per_keycode;
    const auto isNumLock = [&](xcb_keycode_t code) {
        const int at = (code - first) * perKey;
        for (int i = 0; code >= first && i < perKey && at + i < keysymCount; ++i)
            if (keysyms[at + i] == numLockKeysym) return true;
        return false;
    };

    std::uint16_t right = 0, left = 0, numLock = 0;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(modifiers.get());
    const int perModifier = modifiers->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        const auto bit = static_cast<std::uint16_t>(1u << modifier);
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = codes[modifier * perModifier + i];
            if (code == KeyPositions::superRight) right |= bit;
            if (code == KeyPositions::superLeft) left |= bit;
            if (isNumLock(code)) numLock |= bit;
        }
    }
    // A Super key on no modifier cannot be told apart by a grab, and grabbing the bare keys
    // would take them from every client: the other Super key's bits, or Mod4, stand in.
    masks.rightSuper = right ? right : left ? left : masks.rightSuper;
    masks.leftSuper = left ? left : masks.rightSuper;
    masks.locks = (XCB_MOD_MASK_LOCK | numLock) & ~(masks.rightSuper | masks.leftSuper);
    return masks;
}

std::vector<std::uint16_t> X11ModifierMasks::grabStates() const {
    std::vector<std::uint16_t> states;
    for (const std::uint16_t super : {rightSuper, leftSuper}) {
        // Every subset of the lock bits, the empty one first.
        for (std::uint16_t subset = 0;; subset = static_cast<std::uint16_t>((subset - locks) & locks)) {
            const auto state = static_cast<std::uint16_t>(super | subset);
            if (std::find(states.begin(), states.end(), state) == states.end()) states.push_back(state);
            if (subset == locks) break;
        }
    }
    return states;
}

std::uint64_t X11ModifierMasks::flags(std::uint16_t state) const {
    const std::uint16_t super = rightSuper | leftSuper;
    std::uint64_t flags = (state & super) ? EventFlag::command : 0;
    state &= ~super;
    if (state & XCB_MOD_MASK_SHIFT) flags |= EventFlag::shift;
    if (state & XCB_MOD_MASK_LOCK) flags |= EventFlag::capsLock;
    if (state & XCB_MOD_MASK_CONTROL) flags |= EventFlag::control;
    if (state & XCB_MOD_MASK_1) flags |= EventFlag::option;
    return flags;
}
