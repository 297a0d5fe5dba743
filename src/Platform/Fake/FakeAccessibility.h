#pragma once

#include "Platform/AccessibilityPort.h"

class FakeDesktop;

/// Accessibility over a FakeDesktop: trust, focused and main windows, frames, minimising.
/// An untrusted process gets no answers, as on the real system.
class FakeAccessibility final : public AccessibilityPort {
public:
    explicit FakeAccessibility(FakeDesktop& desktop) : desktop_(desktop) {}

    bool isProcessTrusted() override;
    bool isProcessTrustedWithPrompt() override;
    AXElement applicationElement(std::int32_t pid) override;
    std::optional<QVariant> copyAttributeValue(const AXElement& element, const QString& attribute) override;
    bool setAttributeValue(const AXElement& element, const QString& attribute, const QVariant& value) override;

private:
    FakeDesktop& desktop_;
};
