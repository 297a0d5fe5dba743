#pragma once

#include "Platform/DisplayPort.h"
#include "Platform/SkyLightPort.h"
#include "Platform/WindowListPort.h"

class FakeDesktop;

/// The window list, the displays and the private Space interface of a FakeDesktop.
class FakeWindowServer final : public WindowListPort, public DisplayPort, public SkyLightPort {
public:
    explicit FakeWindowServer(FakeDesktop& desktop) : desktop_(desktop) {}

    std::optional<QVariantList> copyWindowInfo(std::uint32_t options, std::uint32_t relativeToWindow) override;

    std::optional<std::vector<std::uint32_t>> activeDisplayList() override;
    QRectF displayBounds(std::uint32_t display) override;
    bool displayIsMain(std::uint32_t display) override;
    std::optional<QString> displayUUIDString(std::uint32_t display) override;
    QList<Screen> screens() override;

    std::shared_ptr<SkyLightLibrary> open(const QString& path, int mode) override;

    /// The managed-display Space list the desktop would report now.
    QVariantList managedDisplaySpaces() const;

private:
    FakeDesktop& desktop_;
};
