#pragma once

#include "Platform/SpaceSwitcherPort.h"
#include "Platform/WindowOperationsPort.h"
#include "Platform/WindowServerPort.h"

class FakeDesktop;

/// The windows, displays and Spaces of a FakeDesktop, switching its Spaces and operating its
/// windows. An untrusted process gets no window operations, as on a real system.
class FakeWindowServer final : public WindowServerPort, public SpaceSwitcherPort, public WindowOperationsPort {
public:
    explicit FakeWindowServer(FakeDesktop& desktop) : desktop_(desktop) {}

    std::optional<std::vector<WindowInfo>> windows() override;
    std::vector<DisplayDescription> displays() override;
    std::optional<std::vector<DisplaySpaces>> spaces() override;
    std::optional<std::unordered_map<std::uint32_t, std::uint64_t>>
    spacesOfWindows(const std::vector<std::uint32_t>& windows) override;

    bool makeCurrent(std::uint64_t space, const QString& displayIdentifier) override;

    bool isTrusted() override;
    void promptForTrust() override;
    std::optional<QRectF> focusedWindowFrame(std::int32_t pid) override;
    RestoreOutcome restoreIfMinimized(const WindowTarget& window) override;

private:
    FakeDesktop& desktop_;
};
