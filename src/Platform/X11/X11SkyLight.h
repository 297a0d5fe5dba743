#pragma once

#include "Platform/SkyLightPort.h"

class X11Connection;
class X11Displays;

/// The Space interface over EWMH desktops: opening always succeeds, whatever the path, and
/// yields an X11SkyLightLibrary.
class X11SkyLight final : public SkyLightPort {
public:
    X11SkyLight(X11Connection& connection, X11Displays& displays)
        : connection_(connection), displays_(displays) {}

    std::shared_ptr<SkyLightLibrary> open(const QString& path, int mode) override;

private:
    X11Connection& connection_;
    X11Displays& displays_;
};
