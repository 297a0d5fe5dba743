#pragma once

#include "Platform/MacOS/AXElement.h"
#include "Platform/MacOS/MacScreen.h"
#include "Platform/MacOS/SyntheticEvent.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class SkyLightLibrary;

/// The operating-system calls the macOS path makes, one method per call, answers already
/// converted to Qt values. Everything above this layer is plain C++ and runs anywhere; only
/// the implementation of this interface talks to the system. Coordinates are the window
/// server's global ones (points, origin at the top left of the main display, y downwards).
class MacSystem {
public:
    virtual ~MacSystem() = default;

    /// CGWindowListCopyWindowInfo: one dictionary per window under the kCGWindow* keys (the
    /// bounds as a dictionary of "X", "Y", "Width", "Height"), values the server does not know
    /// left out; nothing when the call returns null.
    virtual std::optional<QVariantList> copyWindowInfo(std::uint32_t options,
                                                       std::uint32_t relativeToWindow) = 0;

    /// CGGetActiveDisplayList: the active display ids in the server's order; nothing when the
    /// call fails.
    virtual std::optional<std::vector<std::uint32_t>> activeDisplayList() = 0;
    /// CGDisplayBounds.
    virtual QRectF displayBounds(std::uint32_t display) = 0;
    /// CGDisplayIsMain.
    virtual bool displayIsMain(std::uint32_t display) = 0;
    /// The text form of CGDisplayCreateUUIDFromDisplayID; nothing when it cannot be made.
    virtual std::optional<QString> displayUUIDString(std::uint32_t display) = 0;
    /// NSScreen.screens.
    virtual QList<MacScreen> screens() = 0;

    /// dlopen of the private framework at `path` with the loader `mode`; nothing when it
    /// cannot be opened.
    virtual std::shared_ptr<SkyLightLibrary> openFramework(const QString& path, int mode) = 0;

    /// AXIsProcessTrusted.
    virtual bool isProcessTrusted() = 0;
    /// AXIsProcessTrustedWithOptions with the prompt option: the system shows its trust
    /// prompt when the process is not trusted.
    virtual bool isProcessTrustedWithPrompt() = 0;
    /// AXUIElementCreateApplication.
    virtual AXElement applicationElement(std::int32_t pid) = 0;
    /// AXUIElementCopyAttributeValue: an element as AXElement, a list as QVariantList, a
    /// position as QPointF, a size as QSizeF, a flag as bool; nothing when it fails.
    virtual std::optional<QVariant> copyAttributeValue(const AXElement& element,
                                                       const QString& attribute) = 0;
    /// AXUIElementSetAttributeValue; false when the call is refused.
    virtual bool setAttributeValue(const AXElement& element, const QString& attribute,
                                   const QVariant& value) = 0;

    /// CGEventCreate, the fields set in order, CGEventPost at the session tap; false when the
    /// event cannot be created.
    virtual bool postEvent(const SyntheticEvent& event) = 0;
    /// CGWarpMouseCursorPosition.
    virtual void warpPointer(QPointF location) = 0;
    /// The location of a new null event; nothing when that event cannot be made.
    virtual std::optional<QPointF> pointerLocation() = 0;
};
