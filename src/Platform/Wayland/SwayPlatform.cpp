#include "SwayPlatform.h"

#include "Platform/Linux/AppcastUpdater.h"
#include "Platform/Linux/DesktopEntryBundles.h"
#include "Platform/SystemTime.h"
#include "SwayIpc.h"
#include "SwayKeyboardTap.h"
#include "SwaySpaceSwitcher.h"
#include "SwayWindowOperations.h"
#include "SwayWindowServer.h"
#include "SwayWords.h"
#include "SwayWorkspace.h"

std::unique_ptr<SwayPlatform> SwayPlatform::create(QString* whyNot) {
    auto ipc = SwayIpc::open();
    if (!ipc || !ipc->request(SwayIpc::getVersion)) {
        *whyNot = QStringLiteral("sway does not answer on its IPC socket %1.").arg(SwayIpc::socketPath());
        return nullptr;
    }
    std::unique_ptr<SwayPlatform> platform(new SwayPlatform);
    platform->ipc_ = std::make_unique<SwayIpc>(std::move(*ipc));
    SwayIpc& sway = *platform->ipc_;
    platform->time_ = std::make_unique<SystemTime>();
    platform->windowServer_ = std::make_unique<SwayWindowServer>(sway);
    platform->spaceSwitcher_ = std::make_unique<SwaySpaceSwitcher>(sway);
    platform->windowOperations_ = std::make_unique<SwayWindowOperations>(sway);
    platform->keyboardTap_ = std::make_unique<SwayKeyboardTap>(sway);
    platform->workspace_ = std::make_unique<SwayWorkspace>(sway);
    platform->bundles_ = std::make_unique<DesktopEntryBundles>();
    platform->updater_ = std::make_unique<AppcastUpdater>(*platform->workspace_);
    return platform;
}

SwayPlatform::~SwayPlatform() = default;

TimePort& SwayPlatform::time() {
    return *time_;
}
WindowServerPort& SwayPlatform::windowServer() {
    return *windowServer_;
}
SpaceSwitcherPort& SwayPlatform::spaceSwitcher() {
    return *spaceSwitcher_;
}
WindowOperationsPort& SwayPlatform::windowOperations() {
    return *windowOperations_;
}
KeyboardTapPort& SwayPlatform::keyboardTap() {
    return *keyboardTap_;
}
BundlePort& SwayPlatform::bundles() {
    return *bundles_;
}
WorkspacePort& SwayPlatform::workspace() {
    return *workspace_;
}
UpdaterPort& SwayPlatform::updater() {
    return *updater_;
}
const PlatformWords& SwayPlatform::words() {
    return swayWords();
}
