#pragma once

#include <QRectF>
#include <QString>

#include <cstdint>
#include <optional>

/// One ordinary window as the window list reports it, before display, Space and application
/// are known.
struct RawWindow {
    std::uint32_t id = 0;
    std::int32_t pid = 0;
    QRectF frame;
    /// False when the list leaves it out.
    bool isOnscreen = false;
    /// "未知进程" when the list gives none.
    QString ownerName;
    /// Absent when the list gives none; an empty title stays empty.
    std::optional<QString> title;

    bool operator==(const RawWindow&) const = default;
};
