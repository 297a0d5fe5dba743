#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

/// The modifier bits that the server's modifier mapping gives the keys behind the grabs: the
/// two Super key positions, and Num Lock, which xmodmap or a layout may put on any modifier.
/// A grab matches the modifier state exactly, so these decide which states are grabbed.
struct X11ModifierMasks {
    /// Set while the right or the left Super key is held.
    std::uint16_t rightSuper = XCB_MOD_MASK_4;
    std::uint16_t leftSuper = XCB_MOD_MASK_4;
    /// Set by a locked Caps Lock or Num Lock; never a Super bit.
    std::uint16_t locks = XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2;

    /// The masks as the server maps the keys now; these defaults when it does not answer.
    static X11ModifierMasks read(xcb_connection_t* connection);

    /// Every state of a Super + key press: each Super mask with each combination of the lock
    /// bits, the right Super mask alone first.
    std::vector<std::uint16_t> grabStates() const;
    /// The tap's event flags of an X key event's modifier state. The Super bits mean
    /// Command, whichever modifier carries them.
    std::uint64_t flags(std::uint16_t state) const;

    bool operator==(const X11ModifierMasks&) const = default;
};
