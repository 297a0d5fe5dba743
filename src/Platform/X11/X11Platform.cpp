#include "X11Platform.h"

#include "Platform/Linux/AppcastUpdater.h"
#include "Platform/SystemTime.h"
#include "Platform/X11/X11Accessibility.h"
#include "Platform/X11/X11Bundles.h"
#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11EventInput.h"
#include "Platform/X11/X11WindowServer.h"
#include "Platform/X11/X11Workspace.h"

std::unique_ptr<X11Platform> X11Platform::create(QString* whyNot) {
    const bool wayland = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
                         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        *whyNot = wayland ? QStringLiteral("This is a Wayland session: Kestavon's hotkeys need an X11 session.")
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
    platform->accessibility_ = std::make_unique<X11Accessibility>(x);
    platform->workspace_ = std::make_unique<X11Workspace>(x);
    platform->bundles_ = std::make_unique<X11Bundles>();
    platform->eventInput_ = std::make_unique<X11EventInput>(x);
    platform->updater_ = std::make_unique<AppcastUpdater>(*platform->workspace_);
    return platform;
}

X11Platform::~X11Platform() = default;

TimePort& X11Platform::time() { return *time_; }
WindowListPort& X11Platform::windowList() { return *windowServer_; }
DisplayPort& X11Platform::displays() { return *windowServer_; }
SkyLightPort& X11Platform::skyLight() { return *windowServer_; }
AccessibilityPort& X11Platform::accessibility() { return *accessibility_; }
EventTapPort& X11Platform::eventTap() { return *eventInput_; }
BundlePort& X11Platform::bundles() { return *bundles_; }
WorkspacePort& X11Platform::workspace() { return *workspace_; }
UpdaterPort& X11Platform::updater() { return *updater_; }
