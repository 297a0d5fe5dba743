#pragma once

#include "Platform/DisplayPort.h"
#include "Platform/SkyLightPort.h"
#include "Platform/WindowListPort.h"
#include "Platform/X11/X11Displays.h"
#include "Platform/X11/X11SkyLight.h"
#include "Platform/X11/X11WindowList.h"

class X11Connection;

/// The window server of an X11 session: the window list, the displays and the desktops as
/// Spaces, all answered over one shared connection.
class X11WindowServer final : public WindowListPort, public DisplayPort, public SkyLightPort {
public:
    explicit X11WindowServer(X11Connection& connection)
        : windows_(connection), displays_(connection), spaces_(connection, displays_) {}

    std::optional<QVariantList> copyWindowInfo(std::uint32_t options,
                                               std::uint32_t relativeToWindow) override {
        return windows_.copyWindowInfo(options, relativeToWindow);
    }

    std::optional<std::vector<std::uint32_t>> activeDisplayList() override {
        return displays_.activeDisplayList();
    }
    QRectF displayBounds(std::uint32_t display) override { return displays_.displayBounds(display); }
    bool displayIsMain(std::uint32_t display) override { return displays_.displayIsMain(display); }
    std::optional<QString> displayUUIDString(std::uint32_t display) override {
        return displays_.displayUUIDString(display);
    }
    QList<Screen> screens() override { return displays_.screens(); }

    std::shared_ptr<SkyLightLibrary> open(const QString& path, int mode) override {
        return spaces_.open(path, mode);
    }

private:
    X11WindowList windows_;
    X11Displays displays_;
    X11SkyLight spaces_;
};
