#pragma once

#include "Platform/WindowServerPort.h"

class SwayIpc;

/// Windows, displays and Spaces on sway, each answer from one reading of its layout tree:
/// outputs are the displays, workspaces the Spaces (the one an output shows is its current
/// Space), and a window in the scratchpad is minimised.
class SwayWindowServer final : public WindowServerPort {
public:
    explicit SwayWindowServer(SwayIpc& ipc) : ipc_(ipc) {}

    std::optional<std::vector<WindowInfo>> windows() override;
    std::vector<DisplayDescription> displays() override;
    std::optional<std::vector<DisplaySpaces>> spaces() override;
    std::optional<std::unordered_map<std::uint32_t, std::uint64_t>>
    spacesOfWindows(const std::vector<std::uint32_t>& windows) override;

private:
    SwayIpc& ipc_;
};
