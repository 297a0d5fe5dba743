#pragma once

#include "Platform/SpaceSwitcherPort.h"

class SwayIpc;

/// Makes a workspace current with sway's `workspace` command, which has done so by the time
/// sway answers; the layout tree read after it confirms it.
class SwaySpaceSwitcher final : public SpaceSwitcherPort {
public:
    explicit SwaySpaceSwitcher(SwayIpc& ipc) : ipc_(ipc) {}

    /// False for a workspace sway does not have, or one on another output than the one named.
    bool makeCurrent(std::uint64_t space, const QString& displayIdentifier) override;

private:
    SwayIpc& ipc_;
};
