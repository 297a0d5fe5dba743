#pragma once

#include "Platform/WindowServerPort.h"

#include <xcb/xcb.h>

#include <QHash>
#include <QRect>

#include <cstdint>
#include <mutex>
#include <vector>

class X11Connection;

/// The displays as RandR monitors. A monitor's display id is the atom of its name and its
/// identifier a UUID derived from that name, so both stay the same for a monitor while the
/// server runs (the identifier across restarts too). The primary monitor is the main display;
/// with none marked primary, the first one is. A server without RandR monitors has one
/// display, the whole root window.
class X11Displays final {
public:
    explicit X11Displays(X11Connection& connection) : connection_(connection) {}

    /// The active displays in the server's order; read again only after the server announced
    /// a change.
    std::vector<DisplayDescription> displays();
    /// The main display's identifier, as the Space list names its display.
    std::optional<QString> mainIdentifier();

private:
    struct Monitor {
        std::uint32_t id = 0;
        QString name;
        QRect bounds;
        bool isMain = false;
        /// The display's identifier, made from its name once it is read.
        QString uuid;
    };

    std::vector<Monitor> monitors();
    bool hasMonitors();
    std::vector<Monitor> readMonitors();
    std::vector<Monitor> currentMonitors();
    /// The atoms' names, asked of the server once each (an atom never changes its name).
    std::vector<QString> namesOf(const std::vector<xcb_atom_t>& atoms);

    X11Connection& connection_;
    std::once_flag versionOnce_;
    bool hasMonitors_ = false;
    std::mutex namesMutex_;
    QHash<xcb_atom_t, QString> names_;
    std::mutex knownMutex_;
    std::uint64_t knownGeneration_ = 0;
    std::vector<Monitor> known_;
};
