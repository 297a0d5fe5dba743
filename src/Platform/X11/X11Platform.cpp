#include "X11Platform.h"

#include "Platform/Linux/AppcastUpdater.h"
#include "Platform/SystemTime.h"
#include "Platform/Linux/DesktopEntryBundles.h"
#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11KeyboardTap.h"
#include "Platform/X11/X11ServerClock.h"
#include "Platform/X11/X11SpaceSwitcher.h"
#include "Platform/X11/X11WindowOperations.h"
#include "Platform/X11/X11WindowServer.h"
#include "Platform/X11/X11Workspace.h"

std::unique_ptr<X11Platform> X11Platform::create(bool wayland, QString* whyNot) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        *whyNot = wayland ? QStringLiteral("This Wayland session has no X server, and Kestavon works in an X11 "
                                           "(Xorg) session or in sway.")
                          : QStringLiteral("No X display: DISPLAY is not set.");
        return nullptr;
    }
    std::unique_ptr<X11Platform> platform(new X11Platform);
    platform->connection_ = X11Connection::open();
    if (!platform->connection_) {
        *whyNot = QStringLiteral("Cannot connect to the X display %1.").arg(qEnvironmentVariable("DISPLAY"));
        return nullptr;
    }
    X11Connection& x = *platform->connection_;
    platform->time_ = std::make_unique<SystemTime>();
    platform->windowServer_ = std::make_unique<X11WindowServer>(x);
    platform->spaceSwitcher_ = std::make_unique<X11SpaceSwitcher>();
    platform->windowOperations_ = std::make_unique<X11WindowOperations>(x);
    // Under a Wayland compositor's X server the windows can be listed, but the keyboard of the
    // whole desktop is out of reach: the tap says so.
    // The tap's key presses are the user actions that the workspace's activations answer.
    auto clock = std::make_shared<X11ServerClock>();
    platform->keyboardTap_ = std::make_unique<X11KeyboardTap>(wayland, clock);
    platform->workspace_ = std::make_unique<X11Workspace>(x, clock);
    platform->bundles_ = std::make_unique<DesktopEntryBundles>();
    platform->updater_ = std::make_unique<AppcastUpdater>(*platform->workspace_);
    return platform;
}

X11Platform::~X11Platform() = default;

TimePort& X11Platform::time() { return *time_; }
WindowServerPort& X11Platform::windowServer() { return *windowServer_; }
SpaceSwitcherPort& X11Platform::spaceSwitcher() { return *spaceSwitcher_; }
WindowOperationsPort& X11Platform::windowOperations() { return *windowOperations_; }
KeyboardTapPort& X11Platform::keyboardTap() { return *keyboardTap_; }
BundlePort& X11Platform::bundles() { return *bundles_; }
WorkspacePort& X11Platform::workspace() { return *workspace_; }
UpdaterPort& X11Platform::updater() { return *updater_; }
