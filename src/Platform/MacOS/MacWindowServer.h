#pragma once

#include "Platform/WindowServerPort.h"

class MacSystem;

/// The window server on macOS: the public window list, the display list, and the Spaces
/// through the private framework, which may be missing.
class MacWindowServer final : public WindowServerPort {
public:
    explicit MacWindowServer(MacSystem& system) : system_(system) {}

    std::optional<std::vector<WindowInfo>> windows() override;
    std::vector<DisplayDescription> displays() override;
    std::optional<std::vector<DisplaySpaces>> spaces() override;
    std::optional<std::unordered_map<std::uint32_t, std::uint64_t>>
    spacesOfWindows(const std::vector<std::uint32_t>& windows) override;

private:
    MacSystem& system_;
};
