#pragma once

#include "Platform/MacOS/MacSystem.h"

#include <memory>

/// The operating-system calls of the macOS path, made for real (Objective-C++, MacSystemCalls.mm):
/// the window list, displays and screens, the private framework, Accessibility, synthetic
/// events and the pointer. It converts answers and decides nothing.
class MacSystemCalls final : public MacSystem {
public:
    MacSystemCalls();
    ~MacSystemCalls() override;

    std::optional<QVariantList> copyWindowInfo(std::uint32_t options, std::uint32_t relativeToWindow) override;
    std::optional<std::vector<std::uint32_t>> activeDisplayList() override;
    QRectF displayBounds(std::uint32_t display) override;
    bool displayIsMain(std::uint32_t display) override;
    std::optional<QString> displayUUIDString(std::uint32_t display) override;
    QList<MacScreen> screens() override;
    std::shared_ptr<SkyLightLibrary> openFramework(const QString& path, int mode) override;
    bool isProcessTrusted() override;
    bool isProcessTrustedWithPrompt() override;
    AXElement applicationElement(std::int32_t pid) override;
    std::optional<QVariant> copyAttributeValue(const AXElement& element, const QString& attribute) override;
    bool setAttributeValue(const AXElement& element, const QString& attribute, const QVariant& value) override;
    bool postEvent(const SyntheticEvent& event) override;
    void warpPointer(QPointF location) override;
    std::optional<QPointF> pointerLocation() override;

    /// The window elements handed out as AXElement handles (Objective-C objects, hence opaque).
    struct Elements;

private:
    std::unique_ptr<Elements> elements_;
};
