#include "WlrPlatform.h"

#include "Platform/Linux/AppcastUpdater.h"
#include "Platform/Linux/DesktopEntryBundles.h"
#include "Platform/SystemTime.h"
#include "WlrKeyboardTap.h"
#include "WlrSpaceSwitcher.h"
#include "WlrToplevels.h"
#include "WlrWindowOperations.h"
#include "WlrWindowServer.h"
#include "WlrWords.h"
#include "WlrWorkspace.h"

std::unique_ptr<WlrPlatform> WlrPlatform::create(QString* whyNot) {
    auto toplevels = WlrToplevels::connect(whyNot);
    if (!toplevels) return nullptr;
    std::unique_ptr<WlrPlatform> platform(new WlrPlatform);
    platform->toplevels_ = std::move(toplevels);
    WlrToplevels& list = *platform->toplevels_;
    platform->time_ = std::make_unique<SystemTime>();
    platform->windowServer_ = std::make_unique<WlrWindowServer>(list);
    platform->spaceSwitcher_ = std::make_unique<WlrSpaceSwitcher>(list);
    platform->windowOperations_ = std::make_unique<WlrWindowOperations>(list);
    platform->keyboardTap_ = std::make_unique<WlrKeyboardTap>();
    platform->workspace_ = std::make_unique<WlrWorkspace>(list);
    platform->bundles_ = std::make_unique<DesktopEntryBundles>();
    platform->updater_ = std::make_unique<AppcastUpdater>(*platform->workspace_);
    return platform;
}

// The list's reader stops first, so it calls into no workspace being destroyed.
WlrPlatform::~WlrPlatform() {
    toplevels_.reset();
}

TimePort& WlrPlatform::time() {
    return *time_;
}
WindowServerPort& WlrPlatform::windowServer() {
    return *windowServer_;
}
SpaceSwitcherPort& WlrPlatform::spaceSwitcher() {
    return *spaceSwitcher_;
}
WindowOperationsPort& WlrPlatform::windowOperations() {
    return *windowOperations_;
}
KeyboardTapPort& WlrPlatform::keyboardTap() {
    return *keyboardTap_;
}
BundlePort& WlrPlatform::bundles() {
    return *bundles_;
}
WorkspacePort& WlrPlatform::workspace() {
    return *workspace_;
}
UpdaterPort& WlrPlatform::updater() {
    return *updater_;
}
const PlatformWords& WlrPlatform::words() {
    return wlrWords();
}
