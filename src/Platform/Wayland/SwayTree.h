#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

/// What sway's layout tree (its GET_TREE answer) says, read strictly: a node that is not what
/// it should be is left out with what hangs below it, and nothing in the answer can crash the
/// reader (it keeps to a depth, and to the types it expects).
struct SwayTree {
    struct Window {
        /// sway's container id: the window's number, and what commands name it by.
        std::uint32_t id = 0;
        std::int32_t pid = 0;
        /// The Wayland app_id; empty for an Xwayland window.
        QString appId;
        /// An Xwayland window's WM_CLASS class and instance.
        QString wmClass;
        QString wmInstance;
        std::optional<QString> title;
        /// The workspace it is on; empty for one in the scratchpad.
        QString workspace;
        std::uint64_t workspaceId = 0;
        QRectF rect;
        bool focused = false;
        bool visible = false;
        /// Hidden in the scratchpad: the minimised state.
        bool inScratchpad = false;
        bool floating = false;

        bool operator==(const Window&) const = default;
    };
    struct Workspace {
        std::uint64_t id = 0;
        QString name;
        QString output;
        bool operator==(const Workspace&) const = default;
    };
    struct Output {
        QString name;
        /// Maker, model and serial number, as a name people know the display by.
        QString description;
        QRectF rect;
        QString currentWorkspace;
        bool focused = false;
        bool operator==(const Output&) const = default;
    };

    /// Most recently focused first, the scratchpad's last.
    std::vector<Window> windows;
    /// In the tree's order: by output, then as sway orders them.
    std::vector<Workspace> workspaces;
    /// The active outputs in the tree's order.
    std::vector<Output> outputs;

    /// The tree in `json`; nothing when it is not a sway tree at all.
    static std::optional<SwayTree> parse(const QByteArray& json);

    const Window* window(std::uint32_t id) const;
    const Workspace* workspace(std::uint64_t id) const;
    const Output* output(const QString& name) const;
    /// The focused window, if a window has the focus.
    const Window* focusedWindow() const;
};
