#pragma once

#include "Platform/AccessibilityPort.h"

#include <xcb/xcb.h>

#include <chrono>

class X11Connection;

/// Accessibility over EWMH: an application is its process id, its windows are the managed
/// clients carrying that `_NET_WM_PID`. X11 needs no trust, so the process is always trusted.
/// Frames are the client area in root coordinates, as in the window list; minimised is
/// `_NET_WM_STATE_HIDDEN` (not WM_STATE Iconic, which some managers also set on windows of
/// other desktops).
class X11Accessibility final : public AccessibilityPort {
public:
    /// How long a minimise or restore may take the manager before it counts as refused.
    static constexpr std::chrono::milliseconds stateChangeLimit{1500};

    explicit X11Accessibility(X11Connection& connection) : connection_(connection) {}

    bool isProcessTrusted() override { return true; }
    bool isProcessTrustedWithPrompt() override { return true; }
    AXElement applicationElement(std::int32_t pid) override { return AXElement{pid, 0}; }
    std::optional<QVariant> copyAttributeValue(const AXElement& element, const QString& attribute) override;
    bool setAttributeValue(const AXElement& element, const QString& attribute,
                           const QVariant& value) override;

private:
    std::optional<QVariant> applicationAttribute(std::int32_t pid, const QString& attribute);
    std::optional<QVariant> windowAttribute(const AXElement& element, const QString& attribute);

    X11Connection& connection_;
};
