#include "SwitchService.h"

#include "Inventory/InventoryService.h"
#include "Inventory/SpaceLayout.h"
#include "Platform/Platform.h"
#include "Platform/SpaceSwitcherPort.h"
#include "Platform/TimePort.h"
#include "Platform/WindowOperationsPort.h"
#include "Platform/WindowServerPort.h"
#include "Platform/WorkspacePort.h"
#include "Support/MainThread.h"
#include "Switching/TargetWindowSelector.h"
#include "Switching/TrustPrompt.h"

#include <QCoreApplication>

namespace SwitchService {

namespace {

WorkspacePort& workspace() {
    return Platform::current().workspace();
}

bool isFrontmost(std::int32_t pid) {
    const auto frontmost = workspace().frontmostApplication();
    return frontmost && frontmost->processIdentifier == pid;
}

bool waitForFrontmost(std::int32_t pid) {
    TimePort& time = Platform::current().time();
    for (int poll = 0; poll < activationPolls; ++poll) {
        if (isFrontmost(pid)) return true;
        time.sleep(activationPollInterval);
    }
    return isFrontmost(pid);
}

bool bringToFront(const RunningApplication& application) {
    const std::int32_t pid = application.processIdentifier;
    // Opening the bundle is the activation the system honours most readily.
    if (application.bundleURL) {
        workspace().openApplication(*application.bundleURL, OpenConfiguration{}, nullptr);
        if (waitForFrontmost(pid)) return true;
    }
    // Activation calls belong on the main thread, and the system lets an active program hand
    // the front on, so this program activates itself first. The poll below sees the effect.
    if (auto* app = QCoreApplication::instance()) {
        MainThread::post(app, [pid] {
            if (!Platform::isInstalled()) return;
            WorkspacePort& ws = Platform::current().workspace();
            ws.activateIgnoringOtherApps();
            ws.activate(pid);
        });
    }
    return waitForFrontmost(pid);
}

// The display is looked up in a fresh Space list: the window server may have moved the
// Space since the inventory was taken.
std::optional<QString> displayOfSpace(const std::optional<std::uint64_t>& spaceID) {
    if (!spaceID) return std::nullopt;
    const auto spaces = Platform::current().windowServer().spaces();
    if (!spaces) return std::nullopt;
    return SpaceLayout::from(*spaces).displayIdentifier(*spaceID);
}

bool switchToSpace(const WindowRecord& window, const std::optional<QString>& display) {
    if (!window.spaceID || !display) return false;
    return Platform::current().spaceSwitcher().makeCurrent(*window.spaceID, *display);
}

std::optional<QRectF> focusedFrame(const AppGroup& group) {
    // An application's only window is the one shown whichever window it says has the focus:
    // the question, a round trip to the window server or to the application, is not asked.
    if (group.windows.size() <= 1) return std::nullopt;
    WindowOperationsPort& windows = Platform::current().windowOperations();
    if (!windows.isTrusted()) return std::nullopt;
    for (const std::int32_t pid : group.pids)
        if (const auto frame = windows.focusedWindowFrame(pid)) return frame;
    return std::nullopt;
}

} // namespace

PresentOutcome present(const AppTarget& target) {
    TrustPrompt::requestOnce();

    Platform& platform = Platform::current();
    const WindowInventory inventory = InventoryService::collect(platform.time().currentDate());
    const auto group = target.findGroup(inventory);
    if (!group) return PresentOutcome::noWindow();

    const auto window = TargetWindowSelector::select(focusedFrame(*group), group->windows);
    if (!window) return PresentOutcome::noWindow();

    std::vector<Degradation> degradations;
    // Space first: activating first could let the system jump to some other Space of the app.
    if (!switchToSpace(*window, displayOfSpace(window->spaceID)))
        degradations.push_back(Degradation::spaceSwitchSkipped);

    const auto application = platform.workspace().runningApplication(window->pid);
    if (!application || !bringToFront(*application)) degradations.push_back(Degradation::activationFailed);

    const WindowTarget shown{window->id, window->pid, window->frame.rect()};
    if (platform.windowOperations().restoreIfMinimized(shown) == RestoreOutcome::failed) {
        degradations.push_back(Degradation::minimizedNotRestored);
        return PresentOutcome::degraded(std::move(degradations));
    }
    return degradations.empty() ? PresentOutcome::presented()
                                : PresentOutcome::degraded(std::move(degradations));
}

} // namespace SwitchService
