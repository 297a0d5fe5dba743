#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>

/// An accessibility element: an application (by process id) or one of its windows.
struct AXElement {
    std::int32_t pid = 0;
    /// 0 for the application itself.
    std::uint64_t window = 0;
    bool operator==(const AXElement&) const = default;
};
Q_DECLARE_METATYPE(AXElement)

/// Accessibility attribute names.
namespace AXAttribute {
inline const QString focusedWindow = QStringLiteral("AXFocusedWindow");
inline const QString mainWindow = QStringLiteral("AXMainWindow");
inline const QString windows = QStringLiteral("AXWindows");
inline const QString position = QStringLiteral("AXPosition");
inline const QString size = QStringLiteral("AXSize");
inline const QString minimized = QStringLiteral("AXMinimized");
} // namespace AXAttribute

/// The Accessibility interface: trust, and attributes of other applications' windows.
/// Attribute values come as QVariant: an element as AXElement, a list of elements as
/// QVariantList, a position as QPointF, a size as QSizeF, a flag as bool.
class AccessibilityPort {
public:
    virtual ~AccessibilityPort() = default;

    /// Whether this process is trusted for Accessibility.
    virtual bool isProcessTrusted() = 0;
    /// The same, asking the system to show its trust prompt when the process is not trusted.
    virtual bool isProcessTrustedWithPrompt() = 0;
    /// The element of the application with this process id.
    virtual AXElement applicationElement(std::int32_t pid) = 0;
    /// The attribute's value; nothing when it is missing or the call fails.
    virtual std::optional<QVariant> copyAttributeValue(const AXElement& element, const QString& attribute) = 0;
    /// Sets the attribute; false when the call is refused.
    virtual bool setAttributeValue(const AXElement& element, const QString& attribute, const QVariant& value) = 0;
};
