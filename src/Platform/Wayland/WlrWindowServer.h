#pragma once

#include "Platform/WindowServerPort.h"
#include "WlrToplevels.h"

/// Windows and displays from a wlroots compositor's toplevel list. The list names no process,
/// no position and no workspace: a window's process is its application's number
/// (WlrToplevel::application), its bounds those of the output it is shown on, and each output
/// is one Space, always current, on which no window is placed.
class WlrWindowServer final : public WindowServerPort {
public:
    explicit WlrWindowServer(WlrToplevels& toplevels) : toplevels_(toplevels) {}

    std::optional<std::vector<WindowInfo>> windows() override;
    std::vector<DisplayDescription> displays() override;
    std::optional<std::vector<DisplaySpaces>> spaces() override;
    std::optional<std::unordered_map<std::uint32_t, std::uint64_t>>
    spacesOfWindows(const std::vector<std::uint32_t>& windows) override;

    /// The translations, one snapshot at a time.
    static std::vector<WindowInfo> windowsOf(const WlrSnapshot& snapshot);
    static std::vector<DisplayDescription> displaysOf(const WlrSnapshot& snapshot);
    /// One Space per output, numbered as the displays are, always current.
    static std::vector<DisplaySpaces> spacesOf(const WlrSnapshot& snapshot);
    static std::unordered_map<std::uint32_t, std::uint64_t>
    spacesOfWindowsOf(const WlrSnapshot& snapshot, const std::vector<std::uint32_t>& numbers);

private:
    WlrToplevels& toplevels_;
};
