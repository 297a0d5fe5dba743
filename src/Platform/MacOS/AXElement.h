#pragma once

#include <QMetaType>

#include <cstdint>

/// An Accessibility element: an application (by process id) or one of its windows.
struct AXElement {
    std::int32_t pid = 0;
    /// 0 for the application itself; otherwise a handle the system layer gives out.
    std::uint64_t window = 0;
    bool operator==(const AXElement&) const = default;
};
Q_DECLARE_METATYPE(AXElement)
